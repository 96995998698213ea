#include "ZkDb/tables/SipDeviceTablePo.h"

#include <utility>

SipDeviceTablePo::SipDeviceTablePo() = default;
SipDeviceTablePo::SipDeviceTablePo(const SipDeviceTablePo& other) = default;
SipDeviceTablePo& SipDeviceTablePo::operator=(const SipDeviceTablePo& other) = default;
SipDeviceTablePo::~SipDeviceTablePo() = default;

void SipDeviceTablePo::setSipAccount(std::string sipAccount) {
    m_sipAccount = std::move(sipAccount);
}
std::string SipDeviceTablePo::getSipAccount() { return m_sipAccount; }

void SipDeviceTablePo::setSipPwd(std::string sipPwd) { m_sipPwd = std::move(sipPwd); }
std::string SipDeviceTablePo::getSipPwd() { return m_sipPwd; }

void SipDeviceTablePo::setSipDomain(std::string sipDomain) { m_sipDomain = std::move(sipDomain); }
std::string SipDeviceTablePo::getSipDomain() { return m_sipDomain; }

void SipDeviceTablePo::setSipDstAccount1(std::string sipDstAccount1) {
    m_sipDstAccount1 = std::move(sipDstAccount1);
}
std::string SipDeviceTablePo::getSipDstAccount1() { return m_sipDstAccount1; }

void SipDeviceTablePo::setSipDstAccount2(std::string sipDstAccount2) {
    m_sipDstAccount2 = std::move(sipDstAccount2);
}
std::string SipDeviceTablePo::getSipDstAccount2() { return m_sipDstAccount2; }

void SipDeviceTablePo::setDevId(std::string devId) { m_devId = std::move(devId); }
std::string SipDeviceTablePo::getDevId() { return m_devId; }
