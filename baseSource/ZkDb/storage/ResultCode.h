#ifndef ZKDB_STORAGE_RESULTCODE_H
#define ZKDB_STORAGE_RESULTCODE_H

// The result codes of the `int` operations of DataBase and of the table
// access classes. Their values are part of the exported interface: hosts
// compare against the numbers, so none may change. Internal: the public
// headers state the numbers themselves.

namespace zkdb {

enum ResultCode : int {
    /// The operation did what was asked.
    kOk = 0,
    /// Any failure without a code of its own: a null argument, an object
    /// never opened, a statement SQLite refused, a file an access class
    /// could not open, no row found by a one-record query.
    kFailed = -1,
    /// DataBase::open only: no connection object could be had for the
    /// calling thread.
    kNoConnection = -3,
    /// The calling thread's connection could not open the database file:
    /// from open, and from create, insert, remove and update, which then run
    /// nothing.
    kCannotOpen = -4,
};

}  // namespace zkdb

#endif  // ZKDB_STORAGE_RESULTCODE_H
