#ifndef ZKDB_TABLES_TABLEFRAME_H
#define ZKDB_TABLES_TABLEFRAME_H

// What every table access class shares: the lazily created database handle,
// execution with the shared result codes, and the query workers that map
// result rows into records. Statement forming and row mapping have their own
// headers, included here because every access class uses them. Internal: not
// installed, not exported.

#include <cstddef>
#include <list>
#include <memory>
#include <string>

#include "ZkDb/storage/DataBase.h"
#include "ZkDb/storage/ResultCode.h"
#include "ZkDb/tables/RowMapping.h"
#include "ZkDb/tables/SqlStatement.h"

namespace zkdb {
namespace frame {

/// The database file every access class works on, in the directory of the
/// SQLite library.
constexpr const char* kDatabaseFile = "harbor.db";

/// Which database operation runs a statement. The operation is part of each
/// access class's fixed contract, not a free choice: `add` goes through
/// insert, and so does every `del` but the device table's, which marks the
/// row with an UPDATE and so goes through update. The SQLite back end runs
/// all of them alike, but another DataBase implementation may not.
enum class Write { Insert, Update };

/// Makes the handle usable: creates the database object when the handle is
/// null, then opens kDatabaseFile on it, at every call. The handle stays set
/// whatever the outcome. @return kOk, or kFailed when the file cannot be
/// opened (the database's own code is not passed on).
int prepare(DataBase*& handle);

/// Makes the handle usable and runs `sql` through `write`.
/// @return kOk when the statement ran, else kFailed (nothing runs when the
///         handle cannot be made usable).
int execute(DataBase*& handle, Write write, const std::string& sql);

/// Makes the handle usable and runs the query. @return false when the
/// handle cannot be made usable; `rows` then stays empty.
bool query(DataBase*& handle, const char* sql, ResultRows& rows);

/// Deletes the database object the handle owns, if any, and clears it.
void release(DataBase*& handle);

/// The one-record query: runs `sql` and maps every row, in order, into
/// `record`. @return kOk when at least one row was found; kFailed when none was or
///         the handle cannot be made usable, leaving `record` untouched.
template <class Po, std::size_t N>
int queryOne(DataBase*& handle, const std::string& sql, Po& record,
             const Column<Po> (&columns)[N]) {
    ResultRows rows;
    if (!query(handle, sql.c_str(), rows) || rows.empty()) {
        return kFailed;
    }
    const RowMapper<Po, N> mapper(columns);
    for (auto& row : rows) {
        mapper.consume(row, record);
        row.clear();  // its memory serves what comes next
    }
    return kOk;
}

/// Runs a list statement and hands every row, in order, to `append`
/// together with the mapper for Po. A null or empty statement, or a handle
/// that cannot be made usable, runs nothing.
template <class Po, std::size_t N, class Append>
void queryEach(DataBase*& handle, const char* sql, const Column<Po> (&columns)[N], Append append) {
    ResultRows rows;
    if (sql == nullptr || *sql == '\0' || !query(handle, sql, rows)) {
        return;
    }
    const RowMapper<Po, N> mapper(columns);
    for (auto& row : rows) {
        append(mapper, row);
        row.clear();  // mapped and not read again: its memory goes back at once
    }
}

/// The list worker: runs `sql` and appends one new record per row, in
/// order, to `records`, which is not cleared. The records are created with
/// `new` and belong to the caller. A null or empty statement, or a handle
/// that cannot be made usable, leaves the list unchanged.
template <class Po, std::size_t N>
void queryNew(DataBase*& handle, const char* sql, std::list<Po*>& records,
              const Column<Po> (&columns)[N]) {
    queryEach(handle, sql, columns, [&records](const auto& mapper, auto& row) {
        std::unique_ptr<Po> record(new Po());
        mapper.consume(row, *record);
        records.push_back(record.get());
        record.release();
    });
}

/// The list worker for lists of records held by value: as queryNew(), each
/// record default-constructed in place and then mapped.
template <class Po, std::size_t N>
void queryValues(DataBase*& handle, const char* sql, std::list<Po>& records,
                 const Column<Po> (&columns)[N]) {
    queryEach(handle, sql, columns, [&records](const auto& mapper, auto& row) {
        records.emplace_back();
        mapper.consume(row, records.back());
    });
}

}  // namespace frame
}  // namespace zkdb

#endif  // ZKDB_TABLES_TABLEFRAME_H
