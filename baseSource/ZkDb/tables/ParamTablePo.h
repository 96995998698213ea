#ifndef ZKDB_TABLES_PARAMTABLEPO_H
#define ZKDB_TABLES_PARAMTABLEPO_H

/// @file
/// One row of the node parameter table "tb_param".

#include <string>

#include "ZkDb/Export.h"

/// One row of "tb_param": the node's id and type, the addresses and ports of
/// its signalling and peer servers, its STUN and TURN servers with the TURN
/// login, a further communication port and an account id; besides these a
/// WAN address and port that live only in memory (no statement writes them
/// and no query touches them).
///
/// A plain value: setters store their argument unchanged, getters return
/// copies; copying copies every field, the WAN address and port included.
/// Defaults: empty texts and 0 for every integer.
///
/// setStunServerAddr() is the one setter that does more than store: when
/// the value changes it writes two trace lines to standard output (see
/// there). Copying a record writes nothing.
///
/// Threads: a record takes no lock. Like any plain value it may be read
/// from several threads at once, but changed only while no other thread
/// uses it. setStunServerAddr() also writes to the process's standard
/// output.
class ZKDB_API ParamTablePo {
public:
    /// A record holding the defaults named in the class description.
    ParamTablePo();
    /// Copies every field.
    ParamTablePo(const ParamTablePo& other);
    /// Copies every field. @return this record.
    ParamTablePo& operator=(const ParamTablePo& other);
    ~ParamTablePo();

    /// @{
    /// Column "node_id": the key by which rows are deleted and updated.
    void setNodeId(std::string nodeId);
    std::string getNodeId();
    /// @}

    /// @{
    /// Column "node_type".
    void setNodeType(std::string nodeType);
    std::string getNodeType();
    /// @}

    /// @{
    /// Column "signal_server_ip".
    void setSignalServerIP(std::string signalServerIp);
    std::string getSignalServerIP();
    /// @}

    /// @{
    /// Column "signal_server_port".
    void setSignalServerPort(int signalServerPort);
    int getSignalServerPort();
    /// @}

    /// @{
    /// Column "peer_server_ip".
    void setPeerServerIP(std::string peerServerIp);
    std::string getPeerServerIP();
    /// @}

    /// @{
    /// Column "peer_server_port".
    void setPeerServerPort(int peerServerPort);
    int getPeerServerPort();
    /// @}

    /// @{
    /// Column "stun_server_addr". A value equal to the stored one changes
    /// nothing and writes nothing. A different value writes the line
    /// "s = <hex>" (the low 32 bits of the address of the parameter), stores
    /// the value, then writes "d = <hex>" (the low 32 bits of the address of
    /// the stored field), each in lower-case hexadecimal without prefix and
    /// ended by a newline, to standard output. Queries fill the field
    /// through this setter, so they trace the same way.
    void setStunServerAddr(std::string stunServerAddr);
    std::string getStunServerAddr();
    /// @}

    /// @{
    /// Column "turn_server_addr".
    void setTurnServerAddr(std::string turnServerAddr);
    std::string getTurnServerAddr();
    /// @}

    /// @{
    /// Column "turn_server_user".
    void setTurnServerUser(std::string turnServerUser);
    std::string getTurnServerUser();
    /// @}

    /// @{
    /// Column "turn_server_pwd", kept and written as plain text.
    void setTurnServerPwd(std::string turnServerPwd);
    std::string getTurnServerPwd();
    /// @}

    /// @{
    /// Column "zkds_comm_port".
    void setZkdsCommPort(int zkdsCommPort);
    int getZkdsCommPort();
    /// @}

    /// @{
    /// Column "account_id".
    void setAccountId(std::string accountId);
    std::string getAccountId();
    /// @}

    /// @{
    /// The WAN address; in memory only.
    void setWanIP(std::string wanIp);
    std::string getWanIP();
    /// @}

    /// @{
    /// The WAN port; in memory only.
    void setWanPort(int wanPort);
    int getWanPort();
    /// @}

private:
    std::string m_nodeId;
    std::string m_nodeType;
    std::string m_signalServerIp;
    int m_signalServerPort;
    std::string m_peerServerIp;
    int m_peerServerPort;
    std::string m_stunServerAddr;
    std::string m_turnServerAddr;
    std::string m_turnServerUser;
    std::string m_turnServerPwd;
    int m_zkdsCommPort;
    std::string m_accountId;
    std::string m_wanIp;
    int m_wanPort;
};

#endif  // ZKDB_TABLES_PARAMTABLEPO_H
