#ifndef ZKDB_STORAGE_SQLITEHELPER_H
#define ZKDB_STORAGE_SQLITEHELPER_H

/// @file
/// One connection to one SQLite database file.

#include <string>

#include "ZkDb/Export.h"
#include "ZkDb/storage/ResultRows.h"

/// One connection to one SQLite database file, with the text of its last
/// failure.
///
/// The path is given once, at construction, and handed to SQLite unchanged
/// (SQLite reads it as UTF-8). Nothing is opened until openDatabase() is
/// called; the connection may be opened and closed any number of times.
/// Every statement runs through SQLite's one-shot execution call; nothing is
/// prepared or cached.
///
/// Failures are reported by a `false` result, with the reason kept for
/// getLastError(): SQLite's own message, "database not open" or
/// "open database error (m_db == 0)". Nothing is thrown by the class itself.
///
/// Threads: the object takes no lock; use one object from one thread at a
/// time. Different objects may work on one file at once; SQLite's file
/// locking settles their contention, with no busy time-out, so a statement
/// that meets another connection's lock fails at once.
///
/// Not copyable and not assignable.
class ZKDB_API SQLiteHelper {
public:
    /// Keeps a copy of `path`. Opens nothing; the last error is empty.
    explicit SQLiteHelper(const std::string& path);

    /// Closes the connection if it is open.
    ~SQLiteHelper();

    SQLiteHelper(const SQLiteHelper&) = delete;
    SQLiteHelper& operator=(const SQLiteHelper&) = delete;

    /// Opens the file (creating it when it is missing).
    /// @return true when the connection is open on return, also when it was
    ///         open already. On failure no handle is left behind and the last
    ///         error holds SQLite's message, or
    ///         "open database error (m_db == 0)" when SQLite gave no handle.
    ///         A successful open leaves the last error as it was.
    bool openDatabase();

    /// Closes the connection if it is open. @return true, always.
    bool closeDatabase();

    /// Runs `sql` (one or more statements) on the open connection.
    ///
    /// @param sql  SQL text; empty text succeeds and yields no row.
    /// @param rows where the rows of every statement are appended, in order,
    ///             after what the vector already holds; null discards them.
    ///             Rows delivered before a failure stay appended.
    /// @return true when SQLite reports success for the whole text. The last
    ///         error is set on every call: empty on success, SQLite's text (or
    ///         empty) on failure, and "database not open" when the connection
    ///         is closed, in which case `rows` is not touched.
    bool execSql(const std::string& sql, ResultRows* rows);

    /// Text of the last failure. The reference stays valid while the object
    /// lives; its value changes with later calls.
    const std::string& getLastError();

private:
    // The connection handle, the path and the last error. The exported
    // layout is this one pointer, so the state can change without breaking
    // hosts built against an earlier version.
    struct State;
    State* m_state;
};

#endif  // ZKDB_STORAGE_SQLITEHELPER_H
