#include "ZkDb/tables/ParamTablePo.h"

#include <cstdint>
#include <cstdio>
#include <utility>

namespace {

/// The low 32 bits of an address, as the trace lines show it.
unsigned lowBits(const void* address) {
    return static_cast<unsigned>(reinterpret_cast<std::uintptr_t>(address) & 0xffffffffu);
}

}  // namespace

ParamTablePo::ParamTablePo()
    : m_signalServerPort(0), m_peerServerPort(0), m_zkdsCommPort(0), m_wanPort(0) {}
ParamTablePo::ParamTablePo(const ParamTablePo& other) = default;
ParamTablePo& ParamTablePo::operator=(const ParamTablePo& other) = default;
ParamTablePo::~ParamTablePo() = default;

void ParamTablePo::setNodeId(std::string nodeId) { m_nodeId = std::move(nodeId); }
std::string ParamTablePo::getNodeId() { return m_nodeId; }

void ParamTablePo::setNodeType(std::string nodeType) { m_nodeType = std::move(nodeType); }
std::string ParamTablePo::getNodeType() { return m_nodeType; }

void ParamTablePo::setSignalServerIP(std::string signalServerIp) {
    m_signalServerIp = std::move(signalServerIp);
}
std::string ParamTablePo::getSignalServerIP() { return m_signalServerIp; }

void ParamTablePo::setSignalServerPort(int signalServerPort) {
    m_signalServerPort = signalServerPort;
}
int ParamTablePo::getSignalServerPort() { return m_signalServerPort; }

void ParamTablePo::setPeerServerIP(std::string peerServerIp) {
    m_peerServerIp = std::move(peerServerIp);
}
std::string ParamTablePo::getPeerServerIP() { return m_peerServerIp; }

void ParamTablePo::setPeerServerPort(int peerServerPort) { m_peerServerPort = peerServerPort; }
int ParamTablePo::getPeerServerPort() { return m_peerServerPort; }

void ParamTablePo::setStunServerAddr(std::string stunServerAddr) {
    if (stunServerAddr == m_stunServerAddr) {
        return;
    }
    std::printf("s = %x\n", lowBits(&stunServerAddr));
    m_stunServerAddr = std::move(stunServerAddr);
    std::printf("d = %x\n", lowBits(&m_stunServerAddr));
}
std::string ParamTablePo::getStunServerAddr() { return m_stunServerAddr; }

void ParamTablePo::setTurnServerAddr(std::string turnServerAddr) {
    m_turnServerAddr = std::move(turnServerAddr);
}
std::string ParamTablePo::getTurnServerAddr() { return m_turnServerAddr; }

void ParamTablePo::setTurnServerUser(std::string turnServerUser) {
    m_turnServerUser = std::move(turnServerUser);
}
std::string ParamTablePo::getTurnServerUser() { return m_turnServerUser; }

void ParamTablePo::setTurnServerPwd(std::string turnServerPwd) {
    m_turnServerPwd = std::move(turnServerPwd);
}
std::string ParamTablePo::getTurnServerPwd() { return m_turnServerPwd; }

void ParamTablePo::setZkdsCommPort(int zkdsCommPort) { m_zkdsCommPort = zkdsCommPort; }
int ParamTablePo::getZkdsCommPort() { return m_zkdsCommPort; }

void ParamTablePo::setAccountId(std::string accountId) { m_accountId = std::move(accountId); }
std::string ParamTablePo::getAccountId() { return m_accountId; }

void ParamTablePo::setWanIP(std::string wanIp) { m_wanIp = std::move(wanIp); }
std::string ParamTablePo::getWanIP() { return m_wanIp; }

void ParamTablePo::setWanPort(int wanPort) { m_wanPort = wanPort; }
int ParamTablePo::getWanPort() { return m_wanPort; }
