#ifndef ZKDB_TABLES_SIPDEVICETABLEDAO_H
#define ZKDB_TABLES_SIPDEVICETABLEDAO_H

/// @file
/// Access to the SIP device table "tb_sip_device".

#include <list>

#include "ZkDb/Export.h"
#include "ZkDb/tables/SipDeviceTablePo.h"

class DataBase;

/// Adds, deletes, updates and lists rows of "tb_sip_device" in "harbor.db",
/// the database file in the SQLite library's directory. The table must
/// exist; the library creates none.
///
/// The two keys differ: del() finds rows by their SIP account, update() by
/// their device id, and update() rewrites the SIP account with the other
/// columns.
///
/// Results: 0 for success, -1 for any failure (a null record, a database
/// file that cannot be opened, a failed statement). Nothing is thrown by the
/// class itself.
///
/// The access object creates its own database object at its first
/// operation that gets past its argument check and deletes it when it is
/// destroyed; the file is opened and closed around every operation. Records
/// passed in are only read; they are never kept or deleted.
///
/// Text values reach the table unchanged, quotes included, up to their
/// first NUL character; no value is refused or cut for its length.
///
/// Threads: use one access object from one thread at a time; several
/// access objects may work in several threads at once.
class ZKDB_API SipDeviceTableDao {
public:
    /// An access object without a database object yet; nothing is opened
    /// before its first operation.
    SipDeviceTableDao();
    /// A copy starts without a database object of its own.
    SipDeviceTableDao(const SipDeviceTableDao& other);
    /// Keeps this object's own database object; nothing is shared.
    SipDeviceTableDao& operator=(const SipDeviceTableDao& other);
    /// Deletes the database object this access object created, if any.
    ~SipDeviceTableDao();

    /// Inserts a row made from all six fields. @return 0, or -1 (null
    /// record included).
    int add(SipDeviceTablePo* po);

    /// Deletes the rows whose "sip_account" equals the record's, whatever
    /// their device id; no other field is read. @return 0 (also when no row
    /// matched), or -1.
    int del(SipDeviceTablePo* po);

    /// Rewrites "sip_account", "sip_pwd", "sip_domain", "sip_dst_account_1"
    /// and "sip_dst_account_2" of the rows whose "dev_id" equals the
    /// record's. @return 0 (also when no row matched), or -1.
    int update(SipDeviceTablePo* po);

    /// Every row of the table as new records, in the database's order. The
    /// caller owns the records and deletes each of them. Empty on failure.
    std::list<SipDeviceTablePo*> query();

private:
    DataBase* m_dataBase;
};

#endif  // ZKDB_TABLES_SIPDEVICETABLEDAO_H
