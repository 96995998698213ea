#ifndef ZKDB_TABLES_DEVICESTATEDAO_H
#define ZKDB_TABLES_DEVICESTATEDAO_H

/// @file
/// Access to the device state table "tb_device_state".

#include <list>
#include <string>

#include "ZkDb/Export.h"
#include "ZkDb/tables/DeviceStatePo.h"

class DataBase;

/// Adds, deletes, updates and reads rows of "tb_device_state" in
/// "harbor.db", the database file in the SQLite library's directory. The
/// table must exist; the library creates none.
///
/// Results: 0 for success, -1 for any failure (a null record or empty key,
/// a database file that cannot be opened, a failed statement, no matching
/// row). Nothing is thrown by the class itself.
///
/// The access object creates its own database object at its first
/// operation that gets past its argument checks and deletes it when it is
/// destroyed; the file is opened and closed around every operation. Records
/// passed in are only read (or, for the one-record query, filled); they are
/// never kept or deleted.
///
/// Text values reach the table unchanged, quotes included.
///
/// Threads: use one access object from one thread at a time; several
/// access objects may work in several threads at once.
class ZKDB_API DeviceStateDao {
public:
    /// An access object without a database object yet; nothing is opened
    /// before its first operation.
    DeviceStateDao();
    /// A copy starts without a database object of its own.
    DeviceStateDao(const DeviceStateDao& other);
    /// Keeps this object's own database object; nothing is shared.
    DeviceStateDao& operator=(const DeviceStateDao& other);
    /// Deletes the database object this access object created, if any.
    ~DeviceStateDao();

    /// Inserts the record's row. @return 0, or -1 (null record included).
    int add(DeviceStatePo* po);

    /// Deletes the rows whose "device_id" equals the record's; no other
    /// field is read. @return 0 (also when no row matched), or -1.
    int del(DeviceStatePo* po);

    /// Rewrites "media_id", "product_type" and "is_online" of the rows
    /// whose "device_id" equals the record's. @return 0 (also when no row
    /// matched), or -1.
    int update(DeviceStatePo* po);

    /// Fills `po` from the rows whose "media_id" equals `mediaId`, one after
    /// the other, so the last row's texts stand.
    /// @return 0 when at least one row was found; -1 for an empty `mediaId`,
    ///         no matching row or a failure, leaving `po` untouched.
    int query(std::string mediaId, DeviceStatePo& po);

    /// Every row of the table as new records. The caller owns the records
    /// and deletes each of them. Empty on failure.
    std::list<DeviceStatePo*> query();

    /// Runs the SELECT `sql` and appends one new record per row to
    /// `records` (which is not cleared); the caller owns them. A null or
    /// empty statement, or a failure, leaves the list unchanged.
    void query(char* sql, std::list<DeviceStatePo*>& records);

private:
    // Makes the database handle usable (creates it when null, then opens
    // "harbor.db"): 0 or -1. Every operation does the same through the shared
    // frame, so nothing calls it; it stays because it is part of the class's
    // exported symbols, which hosts' import tables may name.
    int init();

    DataBase* m_dataBase;
};

#endif  // ZKDB_TABLES_DEVICESTATEDAO_H
