#include "ZkDb/tables/ChannelTableDao.h"

#include "ZkDb/storage/ResultCode.h"
#include "ZkDb/tables/SqlStatement.h"

// The channel table is not stored by this library yet. Each operation forms
// the statement that will store or read the row, so the statements stay
// written and checked by the compiler, and runs none of them: the results
// callers get are exactly those of the interface (-1 for a null record,
// else 0; no rows).

using zkdb::kFailed;
using zkdb::kOk;
using zkdb::frame::formStatement;

ChannelTableDao::ChannelTableDao() = default;
ChannelTableDao::ChannelTableDao(const ChannelTableDao& other) = default;
ChannelTableDao& ChannelTableDao::operator=(const ChannelTableDao& /*other*/) { return *this; }
ChannelTableDao::~ChannelTableDao() = default;

int ChannelTableDao::add(ChannelTablePo* po) {
    if (po == nullptr) {
        return kFailed;
    }
    static_cast<void>(formStatement(
        "insert into tb_channel( channel_id, dev_id, equip_type, channel_no, channel_name, "
        "channel_status, update_flag,last_access_time ) "
        "values('%s', '%s', '%s', %d, '%s', '%s', '%s', %d);",
        {po->getChannelId(), po->getDevId(), po->getEquipType(), po->getChannelNo(),
         po->getChannelName(), po->getChannelStatus(), po->getUpdateFlag(),
         po->getLastAccessTime()}));
    return kOk;
}

int ChannelTableDao::del(ChannelTablePo* po) {
    if (po == nullptr) {
        return kFailed;
    }
    static_cast<void>(
        formStatement("DELETE from tb_channel WHERE channel_id = '%s';", {po->getChannelId()}));
    return kOk;
}

int ChannelTableDao::update(ChannelTablePo* po) {
    if (po == nullptr) {
        return kFailed;
    }
    static_cast<void>(
        formStatement("UPDATE tb_channel set dev_id = '%s', equip_type = '%s', channel_no = %d, "
                      "channel_name = '%s', channel_status = '%s', update_flag = '%s',"
                      "last_access_time = '%d' where channel_id = '%s';",
                      {po->getDevId(), po->getEquipType(), po->getChannelNo(), po->getChannelName(),
                       po->getChannelStatus(), po->getUpdateFlag(), po->getLastAccessTime(),
                       po->getChannelId()}));
    return kOk;
}

std::list<ChannelTablePo*> ChannelTableDao::query(std::string devId) {
    std::list<ChannelTablePo*> records;
    static_cast<void>(formStatement("select * from tb_channel where dev_id = '%s';", {devId}));
    return records;
}
