#ifndef ZKDB_TABLES_DEVICETABLEPO_H
#define ZKDB_TABLES_DEVICETABLEPO_H

/// @file
/// One device of the inventory table "tb_device".

#include <string>

#include "ZkDb/Export.h"

/// One device of the inventory table "tb_device": a video device reached at
/// an address and port, with its login, its SIP registration, the NVR that
/// may record it, its channels and stream addresses, plus three run-time
/// values that have no column (whether the device and its NVR are online,
/// and a local address).
///
/// A plain value. Text setters store their argument unchanged and getters
/// return copies. A new record has every text empty and every integer 0,
/// except "is_record" (getIsIpcRecord()) 1 and both online flags true.
///
/// Passwords: setEncodeDevLoginPwd() / setEncodeNvrPwd() store the standard
/// base64 text of a plain password, which is what the table holds;
/// getDecodeDevLoginPwd() / getDecodeNvrPwd() give the plain password back.
/// The plain setters and getters store and return the field as it is. A
/// password of any length round-trips; text after a NUL byte does not.
///
/// Copy assignment takes a non-const reference, as the library's exported
/// interface has always done.
///
/// Threads: a record takes no lock. Like any plain value it may be read
/// from several threads at once, but changed only while no other thread
/// uses it.
class ZKDB_API DeviceTablePo {
public:
    /// A record holding the defaults named in the class description.
    DeviceTablePo();
    /// Copies every field.
    DeviceTablePo(const DeviceTablePo& other);
    /// Copies every field; `other` is only read. Assigning a record to
    /// itself changes nothing. @return this record.
    DeviceTablePo& operator=(DeviceTablePo& other);
    ~DeviceTablePo();

    /// @{
    /// Column "dev_id": the key by which rows are updated, marked deleted and looked up.
    void setDevId(std::string value);
    std::string getDevId() const;
    /// @}

    /// @{
    /// Column "dev_type": the column by which the type query selects.
    void setDevType(std::string value);
    std::string getDevType() const;
    /// @}

    /// @{
    /// Column "dev_ip".
    void setDevIp(std::string value);
    std::string getDevIp() const;
    /// @}

    /// @{
    /// Column "dev_port".
    void setDevPort(int value);
    int getDevPort() const;
    /// @}

    /// @{
    /// Column "dev_mfrs".
    void setDevMfrs(std::string value);
    std::string getDevMfrs() const;
    /// @}

    /// @{
    /// Column "dev_inter".
    void setDevInter(int value);
    int getDevInter() const;
    /// @}

    /// @{
    /// Column "plugin_name".
    void setPluginName(std::string value);
    std::string getPluginName() const;
    /// @}

    /// @{
    /// Column "dev_edition".
    void setDevEdition(std::string value);
    std::string getDevEdition() const;
    /// @}

    /// @{
    /// Column "dev_login_user".
    void setDevLoginUser(std::string value);
    std::string getDevLoginUser() const;
    /// @}

    /// @{
    /// Column "dev_login_pwd": held as given; see setEncodeDevLoginPwd() for the base64 form.
    void setDevLoginPwd(std::string value);
    std::string getDevLoginPwd() const;
    /// @}

    /// @{
    /// Column "sip_server_ip".
    void setSipServerIP(std::string value);
    std::string getSipServerIP() const;
    /// @}

    /// @{
    /// Column "sip_server_port".
    void setSipServerPort(int value);
    int getSipServerPort() const;
    /// @}

    /// @{
    /// Column "sip_account".
    void setSipAccount(std::string value);
    std::string getSipAccount() const;
    /// @}

    /// @{
    /// Column "sip_pwd": held and stored as given.
    void setSipPwd(std::string value);
    std::string getSipPwd() const;
    /// @}

    /// @{
    /// Column "dev_status": "normal" or "delete" as the access class uses it; any text is stored.
    void setDevStatus(std::string value);
    std::string getDevStatus() const;
    /// @}

    /// @{
    /// Column "is_use_nvr".
    void setIsUseNvr(int value);
    int getIsUseNvr() const;
    /// @}

    /// @{
    /// Column "nvr_ip".
    void setNvrIP(std::string value);
    std::string getNvrIP() const;
    /// @}

    /// @{
    /// Column "nvr_port".
    void setNvrPort(int value);
    int getNvrPort() const;
    /// @}

    /// @{
    /// Column "nvr_user_name".
    void setNvrUserName(std::string value);
    std::string getNvrUserName() const;
    /// @}

    /// @{
    /// Column "nvr_pwd": held as given; see setEncodeNvrPwd() for the base64 form.
    void setNvrPwd(std::string value);
    std::string getNvrPwd() const;
    /// @}

    /// @{
    /// Column "ipc_channel".
    void setIpcChannel(int value);
    int getIpcChannel() const;
    /// @}

    /// @{
    /// Column "is_record": 1 in a new record.
    void setIsIpcRecord(int value);
    int getIsIpcRecord() const;
    /// @}

    /// @{
    /// Column "record_stream".
    void setIpcRecordStream(int value);
    int getIpcRecordStream() const;
    /// @}

    /// @{
    /// Column "channel_num".
    void setChannelNum(int value);
    int getChannelNum() const;
    /// @}

    /// @{
    /// Column "channel_start_no".
    void setChannelStartNo(int value);
    int getChannelStartNo() const;
    /// @}

    /// @{
    /// Column "equip_type".
    void setEquipType(std::string value);
    std::string getEquipType() const;
    /// @}

    /// @{
    /// Column "update_flag".
    void setUpdateFlag(std::string value);
    std::string getUpdateFlag() const;
    /// @}

    /// @{
    /// Column "main_rtsp_uri".
    void setMainRtspUri(std::string value);
    std::string getMainRtspUri() const;
    /// @}

    /// @{
    /// Column "sub_rtsp_uri".
    void setSubRtspUri(std::string value);
    std::string getSubRtspUri() const;
    /// @}

    /// @{
    /// Column "snapshot_url".
    void setSnapshotUrl(std::string value);
    std::string getSnapshotUrl() const;
    /// @}

    /// @{
    /// Column "mac_addr".
    void setMacAddr(std::string value);
    std::string getMacAddr() const;
    /// @}

    /// Stores the base64 text of `plain` in the "dev_login_pwd" field.
    void setEncodeDevLoginPwd(std::string plain);
    /// The "dev_login_pwd" field decoded from base64; empty text when the
    /// field is not valid base64. The field is not changed.
    std::string getDecodeDevLoginPwd() const;

    /// Stores the base64 text of `plain` in the "nvr_pwd" field.
    void setEncodeNvrPwd(std::string plain);
    /// The "nvr_pwd" field decoded from base64; empty text when the field is
    /// not valid base64. The field is not changed.
    std::string getDecodeNvrPwd() const;

    /// @{
    /// Whether the device is online; not stored. True in a new record.
    void setDevIsOnline(bool online);
    bool getDevIsOnline() const;
    /// @}

    /// @{
    /// Whether the device's NVR is online; not stored. True in a new record.
    void setDevNvrIsOnline(bool online);
    bool getDevNvrIsOnline() const;
    /// @}

    /// @{
    /// A local address; not stored.
    void setLocalIP(std::string localIp);
    std::string getLocalIP() const;
    /// @}

private:
    std::string m_devId;
    std::string m_devType;
    std::string m_devIp;
    int m_devPort;
    std::string m_devMfrs;
    int m_devInter;
    std::string m_pluginName;
    std::string m_devEdition;
    std::string m_devLoginUser;
    std::string m_devLoginPwd;
    std::string m_sipServerIP;
    int m_sipServerPort;
    std::string m_sipAccount;
    std::string m_sipPwd;
    std::string m_devStatus;
    int m_isUseNvr;
    std::string m_nvrIP;
    int m_nvrPort;
    std::string m_nvrUserName;
    std::string m_nvrPwd;
    int m_ipcChannel;
    int m_isIpcRecord;
    int m_ipcRecordStream;
    int m_channelNum;
    int m_channelStartNo;
    std::string m_equipType;
    std::string m_updateFlag;
    std::string m_mainRtspUri;
    std::string m_subRtspUri;
    std::string m_snapshotUrl;
    std::string m_macAddr;

    // Members without accessors, kept for the exported layout. Construction
    // and copying are all that touch them.
    std::string m_reservedText1;
    std::string m_reservedText2;
    std::string m_reservedText3;
    std::string m_reservedText4;
    std::string m_reservedText5;
    int m_reservedNumber1;
    int m_reservedNumber2;
    int m_reservedNumber3;
    char m_reservedFlag;
    std::string m_reservedText6;
    long m_createdClock;  // clock() when the record was default-constructed

    bool m_devIsOnline;
    bool m_devNvrIsOnline;
    std::string m_localIP;
};

#endif  // ZKDB_TABLES_DEVICETABLEPO_H
