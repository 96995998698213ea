#ifndef ZKDB_STORAGE_SQLITEDATABASE_H
#define ZKDB_STORAGE_SQLITEDATABASE_H

/// @file
/// The SQLite implementation of DataBase.

#include "ZkDb/Export.h"
#include "ZkDb/storage/DataBase.h"

class SQLiteBuilt;

/// The SQLite back end of DataBase.
///
/// The first open() with a non-null path resolves that path against the
/// directory from which the SQLite library was loaded (the directory is
/// always prefixed, also to an absolute path), converts it to UTF-8 and binds
/// the object to it for good; later paths are ignored.
///
/// Data directory: when the environment variable `ZKDB_DATA_DIR` is set and
/// not empty at that first open(), the path is resolved against that
/// directory instead (a missing separator at its end is supplied), and the
/// SQLite library's location and its 127-character bound play no part. It is
/// what a host installed in a system location sets, e.g. a service run from
/// a Debian package (`Environment=ZKDB_DATA_DIR=/var/lib/myhost` with
/// `StateDirectory=myhost` in its systemd unit). On Windows it is read in
/// UTF-16 from the process environment, so a directory whose name the ANSI
/// code page cannot hold works. Rules for a host:
/// - set it before the process starts its threads (changing the environment
///   while other threads read it is not safe);
/// - the directory must exist and be writable by the host's user; nothing
///   creates it;
/// - a host that starts using it must move its existing `harbor.db` there
///   first, or it silently starts with a new, empty file.
///
/// Each calling thread works on its own connection object, and every
/// operation opens the file, does its work and closes it again: no
/// connection stays open between operations and no lock is held while a
/// statement runs.
///
/// Threads: once the first open() has returned, any number of threads may
/// call any operation at once; their statements run on separate connections
/// and SQLite's file locking (no busy time-out) settles contention, so a
/// statement that meets another connection's lock fails at once. The first
/// open() and destruction must not overlap any other call.
///
/// Not copyable.
class ZKDB_API SqliteDataBase : public DataBase {
public:
    /// An unopened object.
    SqliteDataBase();

    /// Destroys the connection objects of every thread that used it.
    ~SqliteDataBase() override;

    SqliteDataBase(const SqliteDataBase&) = delete;
    SqliteDataBase& operator=(const SqliteDataBase&) = delete;

    int open(const char* path) override;
    int create(const char* sql) override;
    int insert(const char* sql) override;
    int remove(const char* sql) override;
    ResultRows query(const char* sql) override;
    int update(const char* sql) override;

private:
    int execute(const char* sql);

    SQLiteBuilt* m_built;
};

#endif  // ZKDB_STORAGE_SQLITEDATABASE_H
