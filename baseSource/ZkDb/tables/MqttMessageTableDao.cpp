#include "ZkDb/tables/MqttMessageTableDao.h"

#include "ZkDb/tables/TableColumns.h"
#include "ZkDb/tables/TableFrame.h"

namespace {

using namespace zkdb::frame;
using zkdb::kFailed;

constexpr const auto& kColumns = zkdb::columns::kMqttMessage;

}  // namespace

MqttMessageTableDao::MqttMessageTableDao() : m_dataBase(nullptr) {}

MqttMessageTableDao::MqttMessageTableDao(const MqttMessageTableDao& /*other*/)
    : m_dataBase(nullptr) {}

MqttMessageTableDao& MqttMessageTableDao::operator=(const MqttMessageTableDao& /*other*/) {
    return *this;
}

MqttMessageTableDao::~MqttMessageTableDao() { release(m_dataBase); }

int MqttMessageTableDao::init() { return prepare(m_dataBase); }

int MqttMessageTableDao::add(MqttMessageTablePo* po) {
    if (po == nullptr) {
        return kFailed;
    }
    // Both integers stand between quotes here, like the texts.
    const std::string sql = formStatement(
        "insert into tb_mqtt_message(item_id, cno, code, url,type,arq_times) "
        "values('%s', '%s', '%d', '%s', '%s','%d');",
        {po->getItemId(), po->getCno(), po->getCode(), po->getUrl(), po->getType(),
         po->getArqTimes()});
    return execute(m_dataBase, Write::Insert, sql);
}

int MqttMessageTableDao::del(MqttMessageTablePo* po) {
    if (po == nullptr) {
        return kFailed;
    }
    const std::string sql =
        formStatement("DELETE from tb_mqtt_message WHERE item_id = '%s';", {po->getItemId()});
    return execute(m_dataBase, Write::Insert, sql);
}

int MqttMessageTableDao::update(MqttMessageTablePo* po) {
    if (po == nullptr) {
        return kFailed;
    }
    const std::string sql = formStatement(
        "UPDATE tb_mqtt_message set cno = '%s', code = %d, url = '%s',type='%s',arq_times=%d "
        "where item_id = '%s';",
        {po->getCno(), po->getCode(), po->getUrl(), po->getType(), po->getArqTimes(),
         po->getItemId()});
    return execute(m_dataBase, Write::Update, sql);
}

int MqttMessageTableDao::query(std::string itemId, MqttMessageTablePo* po) {
    if (itemId.empty() || po == nullptr) {
        return kFailed;
    }
    const std::string sql =
        formStatement("select * from tb_mqtt_message where item_id = '%s';", {itemId});
    return queryOne(m_dataBase, sql, *po, kColumns);
}

std::list<MqttMessageTablePo*> MqttMessageTableDao::query() {
    std::list<MqttMessageTablePo*> records;
    queryNew(m_dataBase, "select * from tb_mqtt_message;", records, kColumns);
    return records;
}

void MqttMessageTableDao::query(char* sql, std::list<MqttMessageTablePo*>& records) {
    queryNew(m_dataBase, sql, records, kColumns);
}
