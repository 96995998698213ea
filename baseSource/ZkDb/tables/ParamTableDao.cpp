#include "ZkDb/tables/ParamTableDao.h"

#include "ZkDb/tables/TableColumns.h"
#include "ZkDb/tables/TableFrame.h"

namespace {

using namespace zkdb::frame;
using zkdb::kFailed;

constexpr const auto& kColumns = zkdb::columns::kParam;

}  // namespace

ParamTableDao::ParamTableDao() : m_dataBase(nullptr) {}

ParamTableDao::ParamTableDao(const ParamTableDao& /*other*/) : m_dataBase(nullptr) {}

ParamTableDao& ParamTableDao::operator=(const ParamTableDao& /*other*/) { return *this; }

ParamTableDao::~ParamTableDao() { release(m_dataBase); }

int ParamTableDao::init() { return prepare(m_dataBase); }

int ParamTableDao::add(ParamTablePo* po) {
    if (po == nullptr) {
        return kFailed;
    }
    const std::string sql = formStatement(
        "insert into tb_param(node_id, node_type, signal_server_ip, signal_server_port,"
        "peer_server_ip, peer_server_port, stun_server_addr,turn_server_addr, "
        "turn_server_user, turn_server_pwd, zkds_comm_port, account_id) "
        "values('%s', '%s', '%s', %d, '%s', %d, '%s', '%s','%s', '%s', %d, '%s');",
        {po->getNodeId(), po->getNodeType(), po->getSignalServerIP(), po->getSignalServerPort(),
         po->getPeerServerIP(), po->getPeerServerPort(), po->getStunServerAddr(),
         po->getTurnServerAddr(), po->getTurnServerUser(), po->getTurnServerPwd(),
         po->getZkdsCommPort(), po->getAccountId()});
    return execute(m_dataBase, Write::Insert, sql);
}

int ParamTableDao::del(ParamTablePo* po) {
    if (po == nullptr) {
        return kFailed;
    }
    const std::string sql =
        formStatement("DELETE from tb_param WHERE node_id = '%s';", {po->getNodeId()});
    return execute(m_dataBase, Write::Insert, sql);
}

int ParamTableDao::update(ParamTablePo* po) {
    if (po == nullptr) {
        return kFailed;
    }
    const std::string sql = formStatement(
        "UPDATE tb_param set node_type = '%s', signal_server_ip = '%s', "
        "signal_server_port = %d, peer_server_ip = '%s', peer_server_port = %d, "
        "stun_server_addr = '%s',turn_server_addr = '%s', turn_server_user = '%s', "
        "turn_server_pwd = '%s', zkds_comm_port = %d, account_id = '%s' where node_id = '%s';",
        {po->getNodeType(), po->getSignalServerIP(), po->getSignalServerPort(),
         po->getPeerServerIP(), po->getPeerServerPort(), po->getStunServerAddr(),
         po->getTurnServerAddr(), po->getTurnServerUser(), po->getTurnServerPwd(),
         po->getZkdsCommPort(), po->getAccountId(), po->getNodeId()});
    return execute(m_dataBase, Write::Update, sql);
}

int ParamTableDao::query(ParamTablePo* po) {
    if (po == nullptr) {
        return kFailed;
    }
    return queryOne(m_dataBase, "select * from tb_param;", *po, kColumns);
}
