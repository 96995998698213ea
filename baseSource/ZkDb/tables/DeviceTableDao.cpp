#include "ZkDb/tables/DeviceTableDao.h"

#include "ZkDb/tables/TableFrame.h"

namespace {

using namespace zkdb::frame;
using Po = DeviceTablePo;

const Column<Po> kColumns[] = {
    text("dev_id", &Po::setDevId),
    text("dev_type", &Po::setDevType),
    text("dev_ip", &Po::setDevIp),
    integer("dev_port", &Po::setDevPort),
    text("plugin_name", &Po::setPluginName),
    text("dev_login_user", &Po::setDevLoginUser),
    text("dev_login_pwd", &Po::setDevLoginPwd),
    textOr("dev_status", &Po::setDevStatus, "normal"),
    integer("channel_num", &Po::setChannelNum),
    integer("channel_start_no", &Po::setChannelStartNo),
    text("equip_type", &Po::setEquipType),
    text("update_flag", &Po::setUpdateFlag),
    text("main_rtsp_uri", &Po::setMainRtspUri),
    text("sub_rtsp_uri", &Po::setSubRtspUri),
    text("snapshot_url", &Po::setSnapshotUrl),
    text("mac_addr", &Po::setMacAddr),
    text("dev_mfrs", &Po::setDevMfrs),
    integer("dev_inter", &Po::setDevInter),
    text("sip_server_ip", &Po::setSipServerIP),
    integer("sip_server_port", &Po::setSipServerPort),
    text("sip_account", &Po::setSipAccount),
    text("sip_pwd", &Po::setSipPwd),
    text("dev_edition", &Po::setDevEdition),
    integer("is_use_nvr", &Po::setIsUseNvr),
    text("nvr_ip", &Po::setNvrIP),
    integer("nvr_port", &Po::setNvrPort),
    text("nvr_user_name", &Po::setNvrUserName),
    text("nvr_pwd", &Po::setNvrPwd),
    integer("ipc_channel", &Po::setIpcChannel),
    integer("is_record", &Po::setIsIpcRecord),
    integer("record_stream", &Po::setIpcRecordStream),
};

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
        return -1;
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
        return -1;
    }
    const std::string sql =
        formStatement("UPDATE tb_device set dev_status = '%s' where dev_id = '%s';",
                      {std::string("delete"), po->getDevId()});
    return execute(m_dataBase, Write::Update, sql);
}

int DeviceTableDao::update(DeviceTablePo* po) {
    if (po == nullptr) {
        return -1;
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
    queryValues(m_dataBase, "select * from tb_device;", records, kColumns);
    return records;
}

std::list<DeviceTablePo> DeviceTableDao::query(std::string devType) {
    std::list<DeviceTablePo> records;
    const std::string sql =
        formStatement("select * from tb_device where dev_type = '%s';", {devType});
    queryValues(m_dataBase, sql.c_str(), records, kColumns);
    return records;
}

int DeviceTableDao::query(std::string devId, DeviceTablePo& po) {
    if (devId.empty()) {
        return -1;
    }
    const std::string sql = formStatement("select * from tb_device where dev_id = '%s';", {devId});
    return queryOne(m_dataBase, sql, po, kColumns);
}

void DeviceTableDao::query(char* sql, std::list<DeviceTablePo>& records) {
    queryValues(m_dataBase, sql, records, kColumns);
}
