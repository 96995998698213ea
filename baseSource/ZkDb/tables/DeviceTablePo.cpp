#include "ZkDb/tables/DeviceTablePo.h"

#include <ctime>
#include <utility>

#include "ZkDb/tables/PasswordCodec.h"

DeviceTablePo::DeviceTablePo()
    : m_devPort(0),
      m_devInter(0),
      m_sipServerPort(0),
      m_isUseNvr(0),
      m_nvrPort(0),
      m_ipcChannel(0),
      m_isIpcRecord(1),
      m_ipcRecordStream(0),
      m_channelNum(0),
      m_channelStartNo(0),
      m_reservedNumber1(0),
      m_reservedNumber2(-1),
      m_reservedNumber3(0),
      m_reservedFlag(0),
      m_createdClock(static_cast<long>(std::clock())),
      m_devIsOnline(true),
      m_devNvrIsOnline(true) {}

DeviceTablePo::DeviceTablePo(const DeviceTablePo& other) = default;

DeviceTablePo& DeviceTablePo::operator=(DeviceTablePo& other) {
    if (this == &other) {
        return *this;
    }
    m_devId = other.m_devId;
    m_devType = other.m_devType;
    m_devIp = other.m_devIp;
    m_devPort = other.m_devPort;
    m_devMfrs = other.m_devMfrs;
    m_devInter = other.m_devInter;
    m_pluginName = other.m_pluginName;
    m_devEdition = other.m_devEdition;
    m_devLoginUser = other.m_devLoginUser;
    m_devLoginPwd = other.m_devLoginPwd;
    m_sipServerIP = other.m_sipServerIP;
    m_sipServerPort = other.m_sipServerPort;
    m_sipAccount = other.m_sipAccount;
    m_sipPwd = other.m_sipPwd;
    m_devStatus = other.m_devStatus;
    m_isUseNvr = other.m_isUseNvr;
    m_nvrIP = other.m_nvrIP;
    m_nvrPort = other.m_nvrPort;
    m_nvrUserName = other.m_nvrUserName;
    m_nvrPwd = other.m_nvrPwd;
    m_ipcChannel = other.m_ipcChannel;
    m_isIpcRecord = other.m_isIpcRecord;
    m_ipcRecordStream = other.m_ipcRecordStream;
    m_channelNum = other.m_channelNum;
    m_channelStartNo = other.m_channelStartNo;
    m_equipType = other.m_equipType;
    m_updateFlag = other.m_updateFlag;
    m_mainRtspUri = other.m_mainRtspUri;
    m_subRtspUri = other.m_subRtspUri;
    m_snapshotUrl = other.m_snapshotUrl;
    m_macAddr = other.m_macAddr;
    m_reservedText1 = other.m_reservedText1;
    m_reservedText2 = other.m_reservedText2;
    m_reservedText3 = other.m_reservedText3;
    m_reservedText4 = other.m_reservedText4;
    m_reservedText5 = other.m_reservedText5;
    m_reservedNumber1 = other.m_reservedNumber1;
    m_reservedNumber2 = other.m_reservedNumber2;
    m_reservedNumber3 = other.m_reservedNumber3;
    m_reservedFlag = other.m_reservedFlag;
    m_reservedText6 = other.m_reservedText6;
    m_createdClock = other.m_createdClock;
    m_devIsOnline = other.m_devIsOnline;
    m_devNvrIsOnline = other.m_devNvrIsOnline;
    m_localIP = other.m_localIP;
    return *this;
}

DeviceTablePo::~DeviceTablePo() = default;

void DeviceTablePo::setDevId(std::string value) { m_devId = std::move(value); }
std::string DeviceTablePo::getDevId() const { return m_devId; }

void DeviceTablePo::setDevType(std::string value) { m_devType = std::move(value); }
std::string DeviceTablePo::getDevType() const { return m_devType; }

void DeviceTablePo::setDevIp(std::string value) { m_devIp = std::move(value); }
std::string DeviceTablePo::getDevIp() const { return m_devIp; }

void DeviceTablePo::setDevPort(int value) { m_devPort = value; }
int DeviceTablePo::getDevPort() const { return m_devPort; }

void DeviceTablePo::setDevMfrs(std::string value) { m_devMfrs = std::move(value); }
std::string DeviceTablePo::getDevMfrs() const { return m_devMfrs; }

void DeviceTablePo::setDevInter(int value) { m_devInter = value; }
int DeviceTablePo::getDevInter() const { return m_devInter; }

void DeviceTablePo::setPluginName(std::string value) { m_pluginName = std::move(value); }
std::string DeviceTablePo::getPluginName() const { return m_pluginName; }

void DeviceTablePo::setDevEdition(std::string value) { m_devEdition = std::move(value); }
std::string DeviceTablePo::getDevEdition() const { return m_devEdition; }

void DeviceTablePo::setDevLoginUser(std::string value) { m_devLoginUser = std::move(value); }
std::string DeviceTablePo::getDevLoginUser() const { return m_devLoginUser; }

void DeviceTablePo::setDevLoginPwd(std::string value) { m_devLoginPwd = std::move(value); }
std::string DeviceTablePo::getDevLoginPwd() const { return m_devLoginPwd; }

void DeviceTablePo::setSipServerIP(std::string value) { m_sipServerIP = std::move(value); }
std::string DeviceTablePo::getSipServerIP() const { return m_sipServerIP; }

void DeviceTablePo::setSipServerPort(int value) { m_sipServerPort = value; }
int DeviceTablePo::getSipServerPort() const { return m_sipServerPort; }

void DeviceTablePo::setSipAccount(std::string value) { m_sipAccount = std::move(value); }
std::string DeviceTablePo::getSipAccount() const { return m_sipAccount; }

void DeviceTablePo::setSipPwd(std::string value) { m_sipPwd = std::move(value); }
std::string DeviceTablePo::getSipPwd() const { return m_sipPwd; }

void DeviceTablePo::setDevStatus(std::string value) { m_devStatus = std::move(value); }
std::string DeviceTablePo::getDevStatus() const { return m_devStatus; }

void DeviceTablePo::setIsUseNvr(int value) { m_isUseNvr = value; }
int DeviceTablePo::getIsUseNvr() const { return m_isUseNvr; }

void DeviceTablePo::setNvrIP(std::string value) { m_nvrIP = std::move(value); }
std::string DeviceTablePo::getNvrIP() const { return m_nvrIP; }

void DeviceTablePo::setNvrPort(int value) { m_nvrPort = value; }
int DeviceTablePo::getNvrPort() const { return m_nvrPort; }

void DeviceTablePo::setNvrUserName(std::string value) { m_nvrUserName = std::move(value); }
std::string DeviceTablePo::getNvrUserName() const { return m_nvrUserName; }

void DeviceTablePo::setNvrPwd(std::string value) { m_nvrPwd = std::move(value); }
std::string DeviceTablePo::getNvrPwd() const { return m_nvrPwd; }

void DeviceTablePo::setIpcChannel(int value) { m_ipcChannel = value; }
int DeviceTablePo::getIpcChannel() const { return m_ipcChannel; }

void DeviceTablePo::setIsIpcRecord(int value) { m_isIpcRecord = value; }
int DeviceTablePo::getIsIpcRecord() const { return m_isIpcRecord; }

void DeviceTablePo::setIpcRecordStream(int value) { m_ipcRecordStream = value; }
int DeviceTablePo::getIpcRecordStream() const { return m_ipcRecordStream; }

void DeviceTablePo::setChannelNum(int value) { m_channelNum = value; }
int DeviceTablePo::getChannelNum() const { return m_channelNum; }

void DeviceTablePo::setChannelStartNo(int value) { m_channelStartNo = value; }
int DeviceTablePo::getChannelStartNo() const { return m_channelStartNo; }

void DeviceTablePo::setEquipType(std::string value) { m_equipType = std::move(value); }
std::string DeviceTablePo::getEquipType() const { return m_equipType; }

void DeviceTablePo::setUpdateFlag(std::string value) { m_updateFlag = std::move(value); }
std::string DeviceTablePo::getUpdateFlag() const { return m_updateFlag; }

void DeviceTablePo::setMainRtspUri(std::string value) { m_mainRtspUri = std::move(value); }
std::string DeviceTablePo::getMainRtspUri() const { return m_mainRtspUri; }

void DeviceTablePo::setSubRtspUri(std::string value) { m_subRtspUri = std::move(value); }
std::string DeviceTablePo::getSubRtspUri() const { return m_subRtspUri; }

void DeviceTablePo::setSnapshotUrl(std::string value) { m_snapshotUrl = std::move(value); }
std::string DeviceTablePo::getSnapshotUrl() const { return m_snapshotUrl; }

void DeviceTablePo::setMacAddr(std::string value) { m_macAddr = std::move(value); }
std::string DeviceTablePo::getMacAddr() const { return m_macAddr; }

void DeviceTablePo::setEncodeDevLoginPwd(std::string plain) {
    m_devLoginPwd = zkdb::password::encode(plain);
}
std::string DeviceTablePo::getDecodeDevLoginPwd() const {
    return zkdb::password::decode(m_devLoginPwd);
}

void DeviceTablePo::setEncodeNvrPwd(std::string plain) { m_nvrPwd = zkdb::password::encode(plain); }
std::string DeviceTablePo::getDecodeNvrPwd() const { return zkdb::password::decode(m_nvrPwd); }

void DeviceTablePo::setDevIsOnline(bool online) { m_devIsOnline = online; }
bool DeviceTablePo::getDevIsOnline() const { return m_devIsOnline; }

void DeviceTablePo::setDevNvrIsOnline(bool online) { m_devNvrIsOnline = online; }
bool DeviceTablePo::getDevNvrIsOnline() const { return m_devNvrIsOnline; }

void DeviceTablePo::setLocalIP(std::string localIp) { m_localIP = std::move(localIp); }
std::string DeviceTablePo::getLocalIP() const { return m_localIP; }
