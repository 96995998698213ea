#ifndef ZKDB_TABLES_CHANNELTABLEDAO_H
#define ZKDB_TABLES_CHANNELTABLEDAO_H

/// @file
/// Access to the channel table "tb_channel".

#include <list>
#include <string>

#include "ZkDb/Export.h"
#include "ZkDb/tables/ChannelTablePo.h"

/// The access class of "tb_channel". The channel table is not stored by
/// this library yet: every operation checks its argument and forms its
/// statement, but runs none, and no database object or file is ever
/// created or opened. Callers can rely on the results below and nothing
/// more: add(), del() and update() change no row, and query() finds none.
///
/// Records passed in are only read; they are never kept or deleted. The
/// object holds nothing, so any number of them may be used from any
/// threads.
class ZKDB_API ChannelTableDao {
public:
    /// An access object; it holds nothing and opens nothing.
    ChannelTableDao();
    /// Nothing to copy: the object holds no state.
    ChannelTableDao(const ChannelTableDao& other);
    /// Nothing to copy: returns this object.
    ChannelTableDao& operator=(const ChannelTableDao& other);
    ~ChannelTableDao();

    /// @return -1 for a null record, else 0.
    int add(ChannelTablePo* po);

    /// @return -1 for a null record, else 0.
    int del(ChannelTablePo* po);

    /// @return -1 for a null record, else 0.
    int update(ChannelTablePo* po);

    /// The channels of the device `devId`: always an empty list.
    std::list<ChannelTablePo*> query(std::string devId);
};

#endif  // ZKDB_TABLES_CHANNELTABLEDAO_H
