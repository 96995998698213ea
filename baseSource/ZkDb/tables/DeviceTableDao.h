#ifndef ZKDB_TABLES_DEVICETABLEDAO_H
#define ZKDB_TABLES_DEVICETABLEDAO_H

/// @file
/// Access to the device inventory table "tb_device".

#include <list>
#include <string>

#include "ZkDb/Export.h"
#include "ZkDb/tables/DeviceTablePo.h"

class DataBase;

/// Keeps the device inventory in "tb_device" of "harbor.db", the database
/// file in the SQLite library's directory; one row per device, each row the
/// 31 column fields of a DeviceTablePo. The table must exist; the library
/// creates none.
///
/// Devices are never removed: del() marks a device's rows "delete" in
/// "dev_status", every query still returns them, and an update() whose
/// record carries another status lifts the mark. A row whose "dev_status"
/// is empty (or NULL) reads as "normal". Passwords are stored as the record
/// holds them (base64 text when the encoding setters were used).
///
/// Results: 0 for success, -1 for any failure (a null record or empty id, a
/// database file that cannot be opened, a failed statement, no matching
/// row). List queries return an empty list on failure. Nothing is thrown by
/// the class itself. Text values reach the table unchanged, quotes included,
/// and no value is refused for its length.
///
/// The access object creates its own database object at its first operation
/// that gets past its argument checks and deletes it when it is destroyed;
/// the file is opened and closed around every operation.
///
/// Threads: use one access object from one thread at a time; several access
/// objects may work in several threads at once.
class ZKDB_API DeviceTableDao {
public:
    /// An access object without a database object yet; nothing is opened
    /// before its first operation.
    DeviceTableDao();
    /// A copy starts without a database object of its own.
    DeviceTableDao(const DeviceTableDao& other);
    /// Keeps this object's own database object; nothing is shared.
    DeviceTableDao& operator=(const DeviceTableDao& other);
    /// Deletes the database object this access object created, if any.
    ~DeviceTableDao();

    /// Inserts one row made from the record's 31 column fields; whether a
    /// second row with the same id is accepted is the table's decision.
    /// @return 0, or -1.
    int add(DeviceTablePo* po);

    /// Sets "dev_status" to "delete" in the rows whose "dev_id" equals the
    /// record's; no other field is read. @return 0 (also when no row
    /// matched), or -1.
    int del(DeviceTablePo* po);

    /// Rewrites the 30 other columns of the rows whose "dev_id" equals the
    /// record's, "dev_status" included. @return 0 (also when no row
    /// matched), or -1.
    int update(DeviceTablePo* po);

    /// Every device, in the order the database returns them. Records hold
    /// their run-time fields at their defaults.
    std::list<DeviceTablePo> query();

    /// The devices whose "dev_type" equals `devType` (empty text included).
    std::list<DeviceTablePo> query(std::string devType);

    /// Fills `po` from the rows whose "dev_id" equals `devId`, one after the
    /// other, so the last row's texts stand. Fields without a column, and
    /// integers whose column is empty, keep the caller's values.
    /// @return 0 when at least one row was found; -1 for an empty `devId`,
    ///         no matching row or a failure, leaving `po` untouched.
    int query(std::string devId, DeviceTablePo& po);

private:
    // The list worker behind both public list queries: runs the SELECT `sql`
    // and appends one record per row to `records`. Private here, unlike in
    // the other access classes, because the device table's lists are queried
    // only by type or whole; the signature (a non-const text) is the
    // exported one and stays.
    void query(char* sql, std::list<DeviceTablePo>& records);
    // Makes the database handle usable (creates it when null, then opens
    // "harbor.db"): 0 or -1. Every operation does the same through the shared
    // frame, so nothing calls it; it stays because it is part of the class's
    // exported symbols, which hosts' import tables may name.
    int init();

    DataBase* m_dataBase;
};

#endif  // ZKDB_TABLES_DEVICETABLEDAO_H
