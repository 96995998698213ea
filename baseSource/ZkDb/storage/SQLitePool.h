#ifndef ZKDB_STORAGE_SQLITEPOOL_H
#define ZKDB_STORAGE_SQLITEPOOL_H

/// @file
/// A pool that lends connection objects for one database file.

#include <string>

#include "ZkDb/Export.h"

class SQLiteHelper;

/// Lends SQLiteHelper objects for one database file to any thread that asks,
/// up to a maximum number of objects, and takes them back for reuse.
///
/// Reuse is last in, first out: the most recently returned object is lent
/// first, so objects in steady use stay warm and the others age. When the
/// idle time-out is not 0, a background thread (the reaper) wakes about once
/// a second and destroys every object that has lain idle in the pool for the
/// time-out or longer, in whole seconds; a negative time-out destroys every
/// idle object at the reaper's next pass. Each destroyed object frees its
/// place under the maximum, so a later getConnect() may create a new one.
///
/// The pool neither opens nor closes connections: a new object is lent
/// closed, and a returned object keeps the state its borrower left it in.
/// A borrower therefore calls SQLiteHelper::openDatabase() (which does
/// nothing on an open object) before running statements.
///
/// Ownership: the pool owns every object it creates. A borrower gives an
/// object back with returnConnect() and never deletes it, except for the
/// objects still on loan when the pool is destroyed (see ~SQLitePool()).
///
/// Threads: getConnect() and returnConnect() may be called from any number
/// of threads at once, beside the reaper. Each lent object belongs to one
/// borrower at a time. Destruction must not overlap any other call.
///
/// Not copyable and not assignable.
class ZKDB_API SQLitePool {
public:
    /// An empty pool for one database file.
    ///
    /// @param path        the database file, handed unchanged to every
    ///                    connection object the pool creates.
    /// @param maximum     the most objects the pool holds at once (idle and
    ///                    on loan together). A value below 1 gives a pool
    ///                    that never creates an object.
    /// @param idleSeconds the idle time-out in seconds; 0 for none, in which
    ///                    case no reaper thread is started. When it is not
    ///                    0 the reaper is running when the constructor
    ///                    returns.
    SQLitePool(const std::string& path, int maximum, int idleSeconds);

    /// Stops the reaper (promptly, without waiting out its sleep) and
    /// destroys the idle objects, closing their connections. Objects on
    /// loan are not touched: they stay valid and from then on belong to
    /// their borrowers, who delete them.
    ~SQLitePool();

    SQLitePool(const SQLitePool&) = delete;
    SQLitePool& operator=(const SQLitePool&) = delete;

    /// Lends an object: the most recently returned idle one, or else a new,
    /// closed one while fewer than the maximum exist.
    ///
    /// @return an object now on loan to the caller; never null. When every
    ///         place is taken the call blocks, without limit, until another
    ///         borrower returns an object (which then reaches it at once) or
    ///         a place under the maximum is free again.
    SQLiteHelper* getConnect();

    /// Takes back an object lent by getConnect(); it becomes idle and is
    /// the next one lent.
    ///
    /// @return true when `connection` was on loan from this pool; false,
    ///         with nothing changed, for null, for an object this pool did
    ///         not lend, and for an object returned already.
    bool returnConnect(SQLiteHelper* connection);

private:
    // The idle and busy lists, their locks and the reaper thread; the
    // exported layout is this one pointer.
    struct State;
    State* m_state;
};

#endif  // ZKDB_STORAGE_SQLITEPOOL_H
