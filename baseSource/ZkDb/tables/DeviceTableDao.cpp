#include "ZkDb/tables/DeviceTableDao.h"

#include "ZkDb/tables/TableColumns.h"
#include "ZkDb/tables/TableFrame.h"

namespace {

using namespace zkdb::frame;
using zkdb::kFailed;
using Po = DeviceTablePo;

constexpr const auto& kColumns = zkdb::columns::kDevice;

const char kInsert[] =
    "insert into tb_device( dev_id, dev_type, dev_ip, dev_port, plugin_name, dev_login_user, "
    "dev_login_pwd,dev_status, channel_num, channel_start_no, equip_type, update_flag, "
    "main_rtsp_uri, sub_rtsp_uri, mac_addr, dev_mfrs, dev_inter, sip_server_ip, sip_server_port, "
    "sip_account, sip_pwd , dev_edition, is_use_nvr, nvr_ip, nvr_port, nvr_user_name, nvr_pwd, "
    "ipc_channel, is_record,record_stream,snapshot_url) values('%s', '%s', '%s', %d, '%s', '%s', "
    "'%s', '%s', %d, %d, '%s', '%s', '%s', '%s','%s','%s', %d, '%s', %d, '%s', '%s', "
    "'%s','%d','%s','%d','%s','%s','%d','%d','%d','%s'); ";

const char kUpdate[] =
    "UPDATE tb_device set dev_type = '%s', dev_ip = '%s', dev_port = %d, plugin_name = '%s', "
    "dev_login_user = '%s', dev_login_pwd = '%s',dev_status = '%s', channel_num = %d, "
    "channel_start_no = %d, equip_type = '%s', update_flag = '%s', main_rtsp_uri = '%s', "
    "sub_rtsp_uri = '%s', mac_addr = '%s', dev_mfrs = '%s', dev_inter = %d, sip_server_ip = '%s', "
    "sip_server_port = %d, sip_account = '%s', sip_pwd = '%s', dev_edition= '%s' , "
    "is_use_nvr=%d, nvr_ip='%s', nvr_port=%d, nvr_user_name='%s', nvr_pwd='%s', "
    "ipc_channel=%d, is_record=%d, record_stream=%d, snapshot_url='%s' where dev_id = '%s';";

}  // namespace

DeviceTableDao::DeviceTableDao() : m_dataBase(nullptr) {}

DeviceTableDao::DeviceTableDao(const DeviceTableDao& /*other*/) : m_dataBase(nullptr) {}

DeviceTableDao& DeviceTableDao::operator=(const DeviceTableDao& /*other*/) { return *this; }

DeviceTableDao::~DeviceTableDao() { release(m_dataBase); }

int DeviceTableDao::init() { return prepare(m_dataBase); }

int DeviceTableDao::add(DeviceTablePo* po) {
    if (po == nullptr) {
        return kFailed;
    }
    const std::string sql = formStatement(
        kInsert, {po->getDevId(),          po->getDevType(),     po->getDevIp(),
                  po->getDevPort(),        po->getPluginName(),  po->getDevLoginUser(),
                  po->getDevLoginPwd(),    po->getDevStatus(),   po->getChannelNum(),
                  po->getChannelStartNo(), po->getEquipType(),   po->getUpdateFlag(),
                  po->getMainRtspUri(),    po->getSubRtspUri(),  po->getMacAddr(),
                  po->getDevMfrs(),        po->getDevInter(),    po->getSipServerIP(),
                  po->getSipServerPort(),  po->getSipAccount(),  po->getSipPwd(),
                  po->getDevEdition(),     po->getIsUseNvr(),    po->getNvrIP(),
                  po->getNvrPort(),        po->getNvrUserName(), po->getNvrPwd(),
                  po->getIpcChannel(),     po->getIsIpcRecord(), po->getIpcRecordStream(),
                  po->getSnapshotUrl()});
    return execute(m_dataBase, Write::Insert, sql);
}

int DeviceTableDao::del(DeviceTablePo* po) {
    if (po == nullptr) {
        return kFailed;
    }
    const std::string sql =
        formStatement("UPDATE tb_device set dev_status = '%s' where dev_id = '%s';",
                      {std::string("delete"), po->getDevId()});
    return execute(m_dataBase, Write::Update, sql);
}

int DeviceTableDao::update(DeviceTablePo* po) {
    if (po == nullptr) {
        return kFailed;
    }
    const std::string sql = formStatement(
        kUpdate, {po->getDevType(),     po->getDevIp(),           po->getDevPort(),
                  po->getPluginName(),  po->getDevLoginUser(),    po->getDevLoginPwd(),
                  po->getDevStatus(),   po->getChannelNum(),      po->getChannelStartNo(),
                  po->getEquipType(),   po->getUpdateFlag(),      po->getMainRtspUri(),
                  po->getSubRtspUri(),  po->getMacAddr(),         po->getDevMfrs(),
                  po->getDevInter(),    po->getSipServerIP(),     po->getSipServerPort(),
                  po->getSipAccount(),  po->getSipPwd(),          po->getDevEdition(),
                  po->getIsUseNvr(),    po->getNvrIP(),           po->getNvrPort(),
                  po->getNvrUserName(), po->getNvrPwd(),          po->getIpcChannel(),
                  po->getIsIpcRecord(), po->getIpcRecordStream(), po->getSnapshotUrl(),
                  po->getDevId()});
    return execute(m_dataBase, Write::Update, sql);
}

std::list<DeviceTablePo> DeviceTableDao::query() {
    std::list<DeviceTablePo> records;
    char sql[] = "select * from tb_device;";
    query(sql, records);
    return records;
}

std::list<DeviceTablePo> DeviceTableDao::query(std::string devType) {
    std::list<DeviceTablePo> records;
    std::string sql = formStatement("select * from tb_device where dev_type = '%s';", {devType});
    query(&sql[0], records);
    return records;
}

int DeviceTableDao::query(std::string devId, DeviceTablePo& po) {
    if (devId.empty()) {
        return kFailed;
    }
    const std::string sql = formStatement("select * from tb_device where dev_id = '%s';", {devId});
    return queryOne(m_dataBase, sql, po, kColumns);
}

void DeviceTableDao::query(char* sql, std::list<DeviceTablePo>& records) {
    queryValues(m_dataBase, sql, records, kColumns);
}
