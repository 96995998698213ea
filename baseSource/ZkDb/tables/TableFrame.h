#ifndef ZKDB_TABLES_TABLEFRAME_H
#define ZKDB_TABLES_TABLEFRAME_H

// What every table access class shares: the lazily created database handle,
// statement forming, execution with the shared result codes, and the mapping
// of result rows to records by column name. Internal: not installed, not
// exported.

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstring>
#include <initializer_list>
#include <list>
#include <memory>
#include <string>
#include <utility>

#include "ZkDb/storage/DataBase.h"

namespace zkdb {
namespace frame {

/// The database file every access class works on, in the directory of the
/// SQLite library.
constexpr const char* kDatabaseFile = "harbor.db";

// ---------------------------------------------------------------------------
// Statements

/// One value for a statement template: a text or an integer.
class SqlValue {
public:
    SqlValue(const std::string& text) : m_text(&text), m_number(0) {}  // NOLINT: implicit by design
    SqlValue(int number) : m_text(nullptr), m_number(number) {}        // NOLINT: implicit by design

    const std::string* text() const { return m_text; }
    int number() const { return m_number; }

private:
    const std::string* m_text;
    int m_number;
};

/// Forms a statement from `pattern`, in which each "%s" or "%d" takes the
/// next value, in order, and "%%" stands for one '%'.
///
/// A text value contributes its characters up to its first NUL, with every
/// single quote doubled, so that it stands unchanged inside the quotes that
/// the pattern puts around it. An integer is written in decimal with a
/// leading '-' when negative. The result grows to fit: no value is refused
/// or cut for its length. A placeholder without a value writes nothing.
std::string formStatement(const char* pattern, std::initializer_list<SqlValue> values);

// ---------------------------------------------------------------------------
// Execution

/// Which database operation runs a statement.
enum class Write { Insert, Update };

/// Makes the handle usable: creates the database object when the handle is
/// null, then opens kDatabaseFile on it, at every call. The handle stays set
/// whatever the outcome. @return 0, or -1 when the file cannot be opened.
int prepare(DataBase*& handle);

/// Makes the handle usable and runs `sql` through `write`.
/// @return 0 when the statement ran, else -1 (nothing runs when the handle
///         cannot be made usable).
int execute(DataBase*& handle, Write write, const std::string& sql);

/// Makes the handle usable and runs the query. @return false when the
/// handle cannot be made usable; `rows` then stays empty.
bool query(DataBase*& handle, const char* sql, ResultRows& rows);

/// Deletes the database object the handle owns, if any, and clears it.
void release(DataBase*& handle);

// ---------------------------------------------------------------------------
// Row mapping

/// Reads an integer column's text the way a string stream's `int`
/// extraction does: leading white space skipped, an optional sign, decimal
/// digits up to the first other character; text that does not begin with a
/// number gives 0, and a number out of range gives the nearest bound.
int parseInt(const std::string& text);

/// How one column of a row reaches a record of type Po.
template <class Po>
struct Column {
    const char* name;
    void (Po::*setText)(std::string);  // text column, or null
    void (Po::*setInt)(int);           // integer column, or null
    const char* whenEmpty;             // text stored instead of empty text, or null
};

/// A text column: set through its setter, empty text included.
template <class Po>
constexpr Column<Po> text(const char* name, void (Po::*setter)(std::string)) {
    return Column<Po>{name, setter, nullptr, nullptr};
}

/// A text column whose empty (or missing) text is read as `whenEmpty`.
template <class Po>
constexpr Column<Po> textOr(const char* name, void (Po::*setter)(std::string),
                            const char* whenEmpty) {
    return Column<Po>{name, setter, nullptr, whenEmpty};
}

/// An integer column: set only from non-empty text, by parseInt().
template <class Po>
constexpr Column<Po> integer(const char* name, void (Po::*setter)(int)) {
    return Column<Po>{name, nullptr, setter, nullptr};
}

/// Maps rows into records of type Po by column name.
///
/// A row's map keeps its keys in name order, so the mapper sorts the
/// columns by name once and then matches a whole row in one ordered walk,
/// instead of one tree look-up per column. The fields are then set in the
/// order the columns are given. A column missing from the row reads as empty
/// text: a text field is set to "" (or to the column's `whenEmpty` text), an
/// integer field is left as it was.
template <class Po, std::size_t N>
class RowMapper {
public:
    using Row = ResultRows::value_type;

    explicit RowMapper(const Column<Po> (&columns)[N]) : m_columns(columns) {
        for (std::size_t i = 0; i < N; ++i) {
            m_byName[i] = i;
            m_length[i] = std::strlen(columns[i].name);
        }
        // Ties keep the order given, so the last of several columns with
        // one name is the last to read its text.
        std::sort(m_byName.begin(), m_byName.end(), [&columns](std::size_t a, std::size_t b) {
            const int order = std::strcmp(columns[a].name, columns[b].name);
            return order < 0 || (order == 0 && a < b);
        });
        for (std::size_t k = 0; k < N; ++k) {
            m_lastReader[m_byName[k]] =
                k + 1 == N ||
                std::strcmp(columns[m_byName[k]].name, columns[m_byName[k + 1]].name) != 0;
        }
    }

    /// Maps `row` into `record`; `row` is only read.
    void copy(const Row& row, Po& record) const {
        const std::string* values[N] = {};
        locate(row, values);
        apply(values, record);
    }

    /// Maps `row` into `record`, moving texts out of `row` instead of
    /// copying them; use it for a row that is not read again.
    void consume(Row& row, Po& record) const {
        std::string* values[N] = {};
        locate(row, values);
        apply(values, record);
    }

private:
    // values[i] becomes the row's text for column i, or stays null when the
    // row has no such column. compare() orders like the map.
    template <class RowType, class Text>
    void locate(RowType& row, Text* (&values)[N]) const {
        auto entry = row.begin();
        const auto end = row.end();
        std::size_t k = 0;
        while (entry != end && k < N) {
            const std::size_t column = m_byName[k];
            const int order = compare(entry->first, m_columns[column].name, m_length[column]);
            if (order < 0) {
                ++entry;
            } else {
                if (order == 0) values[column] = &entry->second;
                ++k;
            }
        }
    }

    // std::string::compare() against a name whose length is known.
    static int compare(const std::string& key, const char* name, std::size_t length) {
        const std::size_t common = key.size() < length ? key.size() : length;
        const int order = std::char_traits<char>::compare(key.data(), name, common);
        if (order != 0) return order;
        return key.size() < length ? -1 : (key.size() > length ? 1 : 0);
    }

    template <class Text>
    void apply(Text* const (&values)[N], Po& record) const {
        for (std::size_t i = 0; i < N; ++i) {
            const Column<Po>& column = m_columns[i];
            Text* value = values[i];
            const bool empty = value == nullptr || value->empty();
            if (column.setText != nullptr) {
                if (empty && column.whenEmpty != nullptr) {
                    (record.*column.setText)(column.whenEmpty);
                } else if (value == nullptr) {
                    (record.*column.setText)(std::string());
                } else if (m_lastReader[i]) {
                    (record.*column.setText)(std::move(*value));  // a copy when Text is const
                } else {
                    (record.*column.setText)(*value);
                }
            } else if (!empty) {
                (record.*column.setInt)(parseInt(*value));
            }
        }
    }

    const Column<Po> (&m_columns)[N];
    std::array<std::size_t, N> m_length;  // of each column's name
    std::array<std::size_t, N> m_byName;  // column indexes in name order
    std::array<bool, N> m_lastReader;     // no later column reads the same name
};

/// Maps one row into `record`, column by column in the order given. A column
/// missing from the row reads as empty text.
template <class Po, std::size_t N>
void mapRow(const ResultRows::value_type& row, Po& record, const Column<Po> (&columns)[N]) {
    RowMapper<Po, N>(columns).copy(row, record);
}

/// The one-record query: runs `sql` and maps every row, in order, into
/// `record`. @return 0 when at least one row was found; -1 when none was or
///         the handle cannot be made usable, leaving `record` untouched.
template <class Po, std::size_t N>
int queryOne(DataBase*& handle, const std::string& sql, Po& record,
             const Column<Po> (&columns)[N]) {
    ResultRows rows;
    if (!query(handle, sql.c_str(), rows) || rows.empty()) {
        return -1;
    }
    const RowMapper<Po, N> mapper(columns);
    for (auto& row : rows) {
        mapper.consume(row, record);
        row.clear();  // its memory serves what comes next
    }
    return 0;
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
