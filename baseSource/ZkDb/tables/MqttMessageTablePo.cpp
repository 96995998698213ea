#include "ZkDb/tables/MqttMessageTablePo.h"

#include <utility>

MqttMessageTablePo::MqttMessageTablePo() : m_code(0), m_arqTimes(5) {}
MqttMessageTablePo::MqttMessageTablePo(const MqttMessageTablePo& other) = default;
MqttMessageTablePo& MqttMessageTablePo::operator=(const MqttMessageTablePo& other) = default;
MqttMessageTablePo::~MqttMessageTablePo() = default;

void MqttMessageTablePo::setItemId(std::string itemId) { m_itemId = std::move(itemId); }
std::string MqttMessageTablePo::getItemId() { return m_itemId; }

void MqttMessageTablePo::setCno(std::string cno) { m_cno = std::move(cno); }
std::string MqttMessageTablePo::getCno() { return m_cno; }

void MqttMessageTablePo::setCode(int code) { m_code = code; }
int MqttMessageTablePo::getCode() { return m_code; }

void MqttMessageTablePo::setUrl(std::string url) { m_url = std::move(url); }
std::string MqttMessageTablePo::getUrl() { return m_url; }

void MqttMessageTablePo::setType(std::string type) { m_type = std::move(type); }
std::string MqttMessageTablePo::getType() { return m_type; }

void MqttMessageTablePo::setArqTimes(int arqTimes) { m_arqTimes = arqTimes; }
int MqttMessageTablePo::getArqTimes() { return m_arqTimes; }
