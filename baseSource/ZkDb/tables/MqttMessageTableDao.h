#ifndef ZKDB_TABLES_MQTTMESSAGETABLEDAO_H
#define ZKDB_TABLES_MQTTMESSAGETABLEDAO_H

/// @file
/// Access to the MQTT message table "tb_mqtt_message".

#include <list>
#include <string>

#include "ZkDb/Export.h"
#include "ZkDb/tables/MqttMessageTablePo.h"

class DataBase;

/// Adds, deletes, updates and reads rows of "tb_mqtt_message" in
/// "harbor.db", the database file in the SQLite library's directory. The
/// table must exist; the library creates none.
///
/// Results: 0 for success, -1 for any failure (a null record or empty item
/// id, a database file that cannot be opened, a failed statement, no
/// matching row). Nothing is thrown by the class itself.
///
/// The access object creates its own database object at its first
/// operation that gets past its argument checks and deletes it when it is
/// destroyed; the file is opened and closed around every operation. Records
/// passed in are only read (or, for the one-record query, filled); they are
/// never kept or deleted.
///
/// Text values reach the table unchanged, quotes included, up to their
/// first NUL character.
///
/// Threads: use one access object from one thread at a time; several
/// access objects may work in several threads at once.
class ZKDB_API MqttMessageTableDao {
public:
    /// An access object without a database object yet; nothing is opened
    /// before its first operation.
    MqttMessageTableDao();
    /// A copy starts without a database object of its own.
    MqttMessageTableDao(const MqttMessageTableDao& other);
    /// Keeps this object's own database object; nothing is shared.
    MqttMessageTableDao& operator=(const MqttMessageTableDao& other);
    /// Deletes the database object this access object created, if any.
    ~MqttMessageTableDao();

    /// Inserts a row made from all six fields. @return 0, or -1 (null
    /// record included).
    int add(MqttMessageTablePo* po);

    /// Deletes the rows whose "item_id" equals the record's; no other field
    /// is read. @return 0 (also when no row matched), or -1.
    int del(MqttMessageTablePo* po);

    /// Rewrites "cno", "code", "url", "type" and "arq_times" of the rows
    /// whose "item_id" equals the record's. @return 0 (also when no row
    /// matched), or -1.
    int update(MqttMessageTablePo* po);

    /// Fills `*po` from the rows whose "item_id" equals `itemId`, one after
    /// the other, so the last row's texts stand; an integer whose column is
    /// NULL keeps the value it had.
    /// @return 0 when at least one row was found; -1 for an empty `itemId`,
    ///         a null `po`, no matching row or a failure, leaving `*po`
    ///         untouched.
    int query(std::string itemId, MqttMessageTablePo* po);

    /// Every row of the table as new records (defaults where a column is
    /// NULL). The caller owns the records and deletes each of them. Empty
    /// on failure.
    std::list<MqttMessageTablePo*> query();

    /// Runs the SELECT `sql` and appends one new record per row to
    /// `records` (which is not cleared); the caller owns them. A null or
    /// empty statement, or a failure, leaves the list unchanged.
    void query(char* sql, std::list<MqttMessageTablePo*>& records);

private:
    // Makes the database handle usable (creates it when null, then opens
    // "harbor.db"): 0 or -1. Every operation does the same through the shared
    // frame, so nothing calls it; it stays because it is part of the class's
    // exported symbols, which hosts' import tables may name.
    int init();

    DataBase* m_dataBase;
};

#endif  // ZKDB_TABLES_MQTTMESSAGETABLEDAO_H
