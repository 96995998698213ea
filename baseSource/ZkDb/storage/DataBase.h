#ifndef ZKDB_STORAGE_DATABASE_H
#define ZKDB_STORAGE_DATABASE_H

/// @file
/// The abstract database interface and its factory.

#include "ZkDb/Export.h"
#include "ZkDb/storage/ResultRows.h"

/// The abstract interface through which every table access class reaches
/// storage: open a database file, run a statement that returns nothing, run
/// a query that returns rows.
///
/// Result codes: 0 for success, a negative number for failure. The reason of
/// a failure stays with the connection that met it and is not passed on.
/// Nothing is thrown by the library itself.
///
/// Which file an object works on, and which threads may call it at once,
/// are stated by the implementation (SqliteDataBase).
class ZKDB_API DataBase {
public:
    virtual ~DataBase();

    /// Binds the object to a database file and proves that it can be opened.
    /// @return 0 when the file can be opened; -1 when `path` is null (or
    ///         cannot be converted); -3 when no connection object can be had
    ///         for the calling thread; -4 when the file cannot be opened.
    virtual int open(const char* path) = 0;

    /// Runs a statement that creates something. @return 0 when it ran to
    /// completion; -1 on any failure (null `sql`, never opened, statement
    /// failed); -4 when the thread's connection cannot be opened.
    virtual int create(const char* sql) = 0;

    /// Runs a statement that inserts rows. Results as for create().
    virtual int insert(const char* sql) = 0;

    /// Runs a statement that removes rows. Results as for create().
    virtual int remove(const char* sql) = 0;

    /// Runs a query. @return the rows gathered, owned by the caller; empty
    ///         when `sql` is null, the object was never opened, no connection
    ///         can be had or nothing matched. A statement that fails part-way
    ///         yields the rows delivered before the failure.
    virtual ResultRows query(const char* sql) = 0;

    /// Runs a statement that updates rows. Results as for create().
    virtual int update(const char* sql) = 0;
};

extern "C" {

/// Creates a new SQLite database object, not yet opened. The caller owns it
/// and destroys it through DataBase's virtual destructor.
ZKDB_API DataBase* createDatabase();
}

#endif  // ZKDB_STORAGE_DATABASE_H
