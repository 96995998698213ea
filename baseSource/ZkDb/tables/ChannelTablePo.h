#ifndef ZKDB_TABLES_CHANNELTABLEPO_H
#define ZKDB_TABLES_CHANNELTABLEPO_H

/// @file
/// One row of the channel table "tb_channel".

#include <string>

#include "ZkDb/Export.h"

/// One row of "tb_channel": one channel of a device, keyed by its channel
/// id and tied to its device by the device id.
///
/// A plain value: setters store their argument unchanged, getters return
/// copies. Defaults: empty texts and 0 for both integers.
///
/// Threads: a record takes no lock. Like any plain value it may be read
/// from several threads at once, but changed only while no other thread
/// uses it.
class ZKDB_API ChannelTablePo {
public:
    /// A record holding the defaults named in the class description.
    ChannelTablePo();
    /// Copies every field.
    ChannelTablePo(const ChannelTablePo& other);
    /// Copies every field. @return this record.
    ChannelTablePo& operator=(const ChannelTablePo& other);
    ~ChannelTablePo();

    /// @{
    /// Column "channel_id": the key by which rows are deleted and updated.
    void setChannelId(std::string channelId);
    std::string getChannelId();
    /// @}

    /// @{
    /// Column "dev_id": the device the channel belongs to.
    void setDevId(std::string devId);
    std::string getDevId();
    /// @}

    /// @{
    /// Column "equip_type".
    void setEquipType(std::string equipType);
    std::string getEquipType();
    /// @}

    /// @{
    /// Column "channel_no".
    void setChannelNo(int channelNo);
    int getChannelNo();
    /// @}

    /// @{
    /// Column "channel_name".
    void setChannelName(std::string channelName);
    std::string getChannelName();
    /// @}

    /// @{
    /// Column "channel_status".
    void setChannelStatus(std::string channelStatus);
    std::string getChannelStatus();
    /// @}

    /// @{
    /// Column "update_flag".
    void setUpdateFlag(std::string updateFlag);
    std::string getUpdateFlag();
    /// @}

    /// @{
    /// Column "last_access_time".
    void setLastAccessTime(int lastAccessTime);
    int getLastAccessTime();
    /// @}

private:
    std::string m_channelId;
    std::string m_devId;
    std::string m_equipType;
    int m_channelNo;
    std::string m_channelName;
    std::string m_channelStatus;
    std::string m_updateFlag;
    int m_lastAccessTime;
};

#endif  // ZKDB_TABLES_CHANNELTABLEPO_H
