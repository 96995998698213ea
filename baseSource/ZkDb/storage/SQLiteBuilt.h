#ifndef ZKDB_STORAGE_SQLITEBUILT_H
#define ZKDB_STORAGE_SQLITEBUILT_H

/// @file
/// One connection object per thread for one database file.

#include <string>

#include "ZkDb/Export.h"

class SQLiteHelper;

/// Gives every thread that asks its own SQLiteHelper for one database file,
/// so that no connection is ever shared between threads.
///
/// A thread's object is created, closed, on its first request and filed
/// under the operating system's id of that thread; it is never removed while
/// the registry lives, so a later thread that is given the same id receives
/// the same object in whatever state it was left.
///
/// Threads: getSQLiteHelper() may be called from any number of threads at
/// once; a mutex guards only the look-up and insertion, never the use of a
/// connection. Destruction must not overlap any other call, nor any use of
/// the objects handed out.
///
/// Not copyable and not assignable.
class ZKDB_API SQLiteBuilt {
public:
    /// An empty registry for `path`, which is handed unchanged to every
    /// connection object it creates.
    explicit SQLiteBuilt(const std::string& path);

    /// Destroys every connection object it created; each closes its
    /// connection if it is open.
    ~SQLiteBuilt();

    SQLiteBuilt(const SQLiteBuilt&) = delete;
    SQLiteBuilt& operator=(const SQLiteBuilt&) = delete;

    /// The calling thread's connection object; never null. The registry
    /// keeps ownership: the caller opens, uses and closes it but never
    /// deletes it. It stays valid until the registry is destroyed.
    SQLiteHelper* getSQLiteHelper();

private:
    // The map from thread id to connection object and its mutex; the
    // exported layout is this one pointer.
    struct State;
    State* m_state;
};

#endif  // ZKDB_STORAGE_SQLITEBUILT_H
