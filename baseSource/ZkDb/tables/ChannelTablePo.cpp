#include "ZkDb/tables/ChannelTablePo.h"

#include <utility>

ChannelTablePo::ChannelTablePo() : m_channelNo(0), m_lastAccessTime(0) {}
ChannelTablePo::ChannelTablePo(const ChannelTablePo& other) = default;
ChannelTablePo& ChannelTablePo::operator=(const ChannelTablePo& other) = default;
ChannelTablePo::~ChannelTablePo() = default;

void ChannelTablePo::setChannelId(std::string channelId) { m_channelId = std::move(channelId); }
std::string ChannelTablePo::getChannelId() { return m_channelId; }

void ChannelTablePo::setDevId(std::string devId) { m_devId = std::move(devId); }
std::string ChannelTablePo::getDevId() { return m_devId; }

void ChannelTablePo::setEquipType(std::string equipType) { m_equipType = std::move(equipType); }
std::string ChannelTablePo::getEquipType() { return m_equipType; }

void ChannelTablePo::setChannelNo(int channelNo) { m_channelNo = channelNo; }
int ChannelTablePo::getChannelNo() { return m_channelNo; }

void ChannelTablePo::setChannelName(std::string channelName) {
    m_channelName = std::move(channelName);
}
std::string ChannelTablePo::getChannelName() { return m_channelName; }

void ChannelTablePo::setChannelStatus(std::string channelStatus) {
    m_channelStatus = std::move(channelStatus);
}
std::string ChannelTablePo::getChannelStatus() { return m_channelStatus; }

void ChannelTablePo::setUpdateFlag(std::string updateFlag) { m_updateFlag = std::move(updateFlag); }
std::string ChannelTablePo::getUpdateFlag() { return m_updateFlag; }

void ChannelTablePo::setLastAccessTime(int lastAccessTime) { m_lastAccessTime = lastAccessTime; }
int ChannelTablePo::getLastAccessTime() { return m_lastAccessTime; }
