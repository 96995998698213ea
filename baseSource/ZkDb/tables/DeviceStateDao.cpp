#include "ZkDb/tables/DeviceStateDao.h"

#include "ZkDb/tables/TableColumns.h"
#include "ZkDb/tables/TableFrame.h"

namespace {

using namespace zkdb::frame;
using zkdb::kFailed;

constexpr const auto& kColumns = zkdb::columns::kDeviceState;

}  // namespace

DeviceStateDao::DeviceStateDao() : m_dataBase(nullptr) {}

DeviceStateDao::DeviceStateDao(const DeviceStateDao& /*other*/) : m_dataBase(nullptr) {}

DeviceStateDao& DeviceStateDao::operator=(const DeviceStateDao& /*other*/) { return *this; }

DeviceStateDao::~DeviceStateDao() { release(m_dataBase); }

int DeviceStateDao::init() { return prepare(m_dataBase); }

int DeviceStateDao::add(DeviceStatePo* po) {
    if (po == nullptr) {
        return kFailed;
    }
    const std::string sql = formStatement(
        "insert into tb_device_state(device_id, media_id, product_type, is_online) "
        "values('%s', '%s', '%s', '%d');",
        {po->getDeviceId(), po->getMediaId(), po->getProductType(), po->getIsOnline()});
    return execute(m_dataBase, Write::Insert, sql);
}

int DeviceStateDao::del(DeviceStatePo* po) {
    if (po == nullptr) {
        return kFailed;
    }
    const std::string sql =
        formStatement("DELETE from tb_device_state WHERE device_id = '%s';", {po->getDeviceId()});
    return execute(m_dataBase, Write::Insert, sql);
}

int DeviceStateDao::update(DeviceStatePo* po) {
    if (po == nullptr) {
        return kFailed;
    }
    const std::string sql = formStatement(
        "UPDATE tb_device_state set media_id = '%s', product_type = '%s',is_online=%d "
        "where device_id = '%s';",
        {po->getMediaId(), po->getProductType(), po->getIsOnline(), po->getDeviceId()});
    return execute(m_dataBase, Write::Update, sql);
}

int DeviceStateDao::query(std::string mediaId, DeviceStatePo& po) {
    if (mediaId.empty()) {
        return kFailed;
    }
    const std::string sql =
        formStatement("select * from tb_device_state where media_id = '%s';", {mediaId});
    return queryOne(m_dataBase, sql, po, kColumns);
}

std::list<DeviceStatePo*> DeviceStateDao::query() {
    std::list<DeviceStatePo*> records;
    queryNew(m_dataBase, "select * from tb_device_state;", records, kColumns);
    return records;
}

void DeviceStateDao::query(char* sql, std::list<DeviceStatePo*>& records) {
    queryNew(m_dataBase, sql, records, kColumns);
}
