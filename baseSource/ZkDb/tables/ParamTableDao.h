#ifndef ZKDB_TABLES_PARAMTABLEDAO_H
#define ZKDB_TABLES_PARAMTABLEDAO_H

/// @file
/// Access to the node parameter table "tb_param".

#include "ZkDb/Export.h"
#include "ZkDb/tables/ParamTablePo.h"

class DataBase;

/// Adds, deletes, updates and reads rows of "tb_param" in "harbor.db", the
/// database file in the SQLite library's directory. The table must exist;
/// the library creates none. The table is read as a whole: its one query
/// fills one record from all of its rows.
///
/// Results: 0 for success, -1 for any failure (a null record, a database
/// file that cannot be opened, a failed statement, an empty table). Nothing
/// is thrown by the class itself.
///
/// The access object creates its own database object at its first
/// operation that gets past its argument check and deletes it when it is
/// destroyed; the file is opened and closed around every operation. Records
/// passed in are only read (or, for the query, filled); they are never kept
/// or deleted. The WAN address and port of a record are never written nor
/// read.
///
/// Text values reach the table unchanged, quotes included, up to their
/// first NUL character; no value is refused or cut for its length.
///
/// Threads: use one access object from one thread at a time; several
/// access objects may work in several threads at once.
class ZKDB_API ParamTableDao {
public:
    /// An access object without a database object yet; nothing is opened
    /// before its first operation.
    ParamTableDao();
    /// A copy starts without a database object of its own.
    ParamTableDao(const ParamTableDao& other);
    /// Keeps this object's own database object; nothing is shared.
    ParamTableDao& operator=(const ParamTableDao& other);
    /// Deletes the database object this access object created, if any.
    ~ParamTableDao();

    /// Inserts a row made from the record's twelve column fields.
    /// @return 0, or -1 (null record included).
    int add(ParamTablePo* po);

    /// Deletes the rows whose "node_id" equals the record's; no other field
    /// is read. @return 0 (also when no row matched), or -1.
    int del(ParamTablePo* po);

    /// Rewrites the eleven other columns of the rows whose "node_id" equals
    /// the record's. @return 0 (also when no row matched), or -1.
    int update(ParamTablePo* po);

    /// Fills `po` from every row of the table, one after the other: the
    /// last row's texts stand, and each port holds the value of the last
    /// row that has one. The rows come in the database's order.
    /// @return 0 when the table has at least one row; -1 for a null `po`,
    ///         an empty table or a failure, leaving `po` untouched.
    int query(ParamTablePo* po);

private:
    // Makes the database handle usable (creates it when null, then opens
    // "harbor.db"): 0 or -1. Every operation does the same through the shared
    // frame, so nothing calls it; it stays because it is part of the class's
    // exported symbols, which hosts' import tables may name.
    int init();

    DataBase* m_dataBase;
};

#endif  // ZKDB_TABLES_PARAMTABLEDAO_H
