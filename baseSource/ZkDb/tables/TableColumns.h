#ifndef ZKDB_TABLES_TABLECOLUMNS_H
#define ZKDB_TABLES_TABLECOLUMNS_H

// The six tables of "harbor.db" and their columns: for each table its name
// and every column its statements name, with the record setter a row's text
// reaches. The access classes map rows with these lists, and tools that
// check a database file against the library read the same lists, so what is
// checked is exactly what the statements need. Internal: not installed, not
// exported.
//
// The lists are const, not constexpr: in the MSVC ABI the address of a member
// function of an imported class is resolved at load time, so a program that
// imports these classes (the doctor) initialises the lists when it starts;
// the library itself still initialises them at compile time.

#include "ZkDb/tables/ChannelTablePo.h"
#include "ZkDb/tables/DeviceStatePo.h"
#include "ZkDb/tables/DeviceTablePo.h"
#include "ZkDb/tables/MqttMessageTablePo.h"
#include "ZkDb/tables/ParamTablePo.h"
#include "ZkDb/tables/RowMapping.h"
#include "ZkDb/tables/SipDeviceTablePo.h"

namespace zkdb {
namespace columns {

using frame::Column;
using frame::integer;
using frame::text;
using frame::textOr;

constexpr const char* kDeviceStateTable = "tb_device_state";
inline const Column<DeviceStatePo> kDeviceState[] = {
    text("device_id", &DeviceStatePo::setDeviceId),
    text("media_id", &DeviceStatePo::setMediaId),
    text("product_type", &DeviceStatePo::setProductType),
    integer("is_online", &DeviceStatePo::setIsOnline),
};

// "dev_status" reads "normal" for empty text: a row that was never marked
// deleted counts as a normal device.
constexpr const char* kDeviceTable = "tb_device";
inline const Column<DeviceTablePo> kDevice[] = {
    text("dev_id", &DeviceTablePo::setDevId),
    text("dev_type", &DeviceTablePo::setDevType),
    text("dev_ip", &DeviceTablePo::setDevIp),
    integer("dev_port", &DeviceTablePo::setDevPort),
    text("plugin_name", &DeviceTablePo::setPluginName),
    text("dev_login_user", &DeviceTablePo::setDevLoginUser),
    text("dev_login_pwd", &DeviceTablePo::setDevLoginPwd),
    textOr("dev_status", &DeviceTablePo::setDevStatus, "normal"),
    integer("channel_num", &DeviceTablePo::setChannelNum),
    integer("channel_start_no", &DeviceTablePo::setChannelStartNo),
    text("equip_type", &DeviceTablePo::setEquipType),
    text("update_flag", &DeviceTablePo::setUpdateFlag),
    text("main_rtsp_uri", &DeviceTablePo::setMainRtspUri),
    text("sub_rtsp_uri", &DeviceTablePo::setSubRtspUri),
    text("snapshot_url", &DeviceTablePo::setSnapshotUrl),
    text("mac_addr", &DeviceTablePo::setMacAddr),
    text("dev_mfrs", &DeviceTablePo::setDevMfrs),
    integer("dev_inter", &DeviceTablePo::setDevInter),
    text("sip_server_ip", &DeviceTablePo::setSipServerIP),
    integer("sip_server_port", &DeviceTablePo::setSipServerPort),
    text("sip_account", &DeviceTablePo::setSipAccount),
    text("sip_pwd", &DeviceTablePo::setSipPwd),
    text("dev_edition", &DeviceTablePo::setDevEdition),
    integer("is_use_nvr", &DeviceTablePo::setIsUseNvr),
    text("nvr_ip", &DeviceTablePo::setNvrIP),
    integer("nvr_port", &DeviceTablePo::setNvrPort),
    text("nvr_user_name", &DeviceTablePo::setNvrUserName),
    text("nvr_pwd", &DeviceTablePo::setNvrPwd),
    integer("ipc_channel", &DeviceTablePo::setIpcChannel),
    integer("is_record", &DeviceTablePo::setIsIpcRecord),
    integer("record_stream", &DeviceTablePo::setIpcRecordStream),
};

// The channel access class runs none of its statements yet; the list names
// the columns those statements use.
constexpr const char* kChannelTable = "tb_channel";
inline const Column<ChannelTablePo> kChannel[] = {
    text("channel_id", &ChannelTablePo::setChannelId),
    text("dev_id", &ChannelTablePo::setDevId),
    text("equip_type", &ChannelTablePo::setEquipType),
    integer("channel_no", &ChannelTablePo::setChannelNo),
    text("channel_name", &ChannelTablePo::setChannelName),
    text("channel_status", &ChannelTablePo::setChannelStatus),
    text("update_flag", &ChannelTablePo::setUpdateFlag),
    integer("last_access_time", &ChannelTablePo::setLastAccessTime),
};

constexpr const char* kSipDeviceTable = "tb_sip_device";
inline const Column<SipDeviceTablePo> kSipDevice[] = {
    text("sip_account", &SipDeviceTablePo::setSipAccount),
    text("sip_pwd", &SipDeviceTablePo::setSipPwd),
    text("sip_domain", &SipDeviceTablePo::setSipDomain),
    text("sip_dst_account_1", &SipDeviceTablePo::setSipDstAccount1),
    text("sip_dst_account_2", &SipDeviceTablePo::setSipDstAccount2),
    text("dev_id", &SipDeviceTablePo::setDevId),
};

constexpr const char* kMqttMessageTable = "tb_mqtt_message";
inline const Column<MqttMessageTablePo> kMqttMessage[] = {
    text("item_id", &MqttMessageTablePo::setItemId),
    text("cno", &MqttMessageTablePo::setCno),
    integer("code", &MqttMessageTablePo::setCode),
    text("url", &MqttMessageTablePo::setUrl),
    text("type", &MqttMessageTablePo::setType),
    integer("arq_times", &MqttMessageTablePo::setArqTimes),
};

// The STUN address goes through its setter like every text column, so a
// query that changes it traces the change.
constexpr const char* kParamTable = "tb_param";
inline const Column<ParamTablePo> kParam[] = {
    text("node_id", &ParamTablePo::setNodeId),
    text("node_type", &ParamTablePo::setNodeType),
    text("signal_server_ip", &ParamTablePo::setSignalServerIP),
    integer("signal_server_port", &ParamTablePo::setSignalServerPort),
    text("peer_server_ip", &ParamTablePo::setPeerServerIP),
    integer("peer_server_port", &ParamTablePo::setPeerServerPort),
    text("stun_server_addr", &ParamTablePo::setStunServerAddr),
    text("turn_server_addr", &ParamTablePo::setTurnServerAddr),
    text("turn_server_user", &ParamTablePo::setTurnServerUser),
    text("turn_server_pwd", &ParamTablePo::setTurnServerPwd),
    integer("zkds_comm_port", &ParamTablePo::setZkdsCommPort),
    text("account_id", &ParamTablePo::setAccountId),
};

/// Calls `visit(tableName, columns)` for each of the six tables, in the
/// order of the reference schema.
template <class Visit>
void forEachTable(Visit&& visit) {
    visit(kDeviceStateTable, kDeviceState);
    visit(kDeviceTable, kDevice);
    visit(kChannelTable, kChannel);
    visit(kSipDeviceTable, kSipDevice);
    visit(kMqttMessageTable, kMqttMessage);
    visit(kParamTable, kParam);
}

}  // namespace columns
}  // namespace zkdb

#endif  // ZKDB_TABLES_TABLECOLUMNS_H
