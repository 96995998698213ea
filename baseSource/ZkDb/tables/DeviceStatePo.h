#ifndef ZKDB_TABLES_DEVICESTATEPO_H
#define ZKDB_TABLES_DEVICESTATEPO_H

/// @file
/// One row of the device state table "tb_device_state".

#include <string>

#include "ZkDb/Export.h"

/// One row of "tb_device_state": a device's identifier, the media
/// identifier by which rows are looked up, the device's product type and
/// its online flag.
///
/// A plain value: setters store their argument unchanged, getters return
/// copies. Defaults: empty texts, `product_type` "ONVIF", `is_online` 0.
///
/// Threads: a record takes no lock. Like any plain value it may be read
/// from several threads at once, but changed only while no other thread
/// uses it.
class ZKDB_API DeviceStatePo {
public:
    /// A record holding the defaults named in the class description.
    DeviceStatePo();
    /// Copies every field.
    DeviceStatePo(const DeviceStatePo& other);
    /// Copies every field. @return this record.
    DeviceStatePo& operator=(const DeviceStatePo& other);
    ~DeviceStatePo();

    /// @{
    /// Column "device_id": the key by which rows are deleted and updated.
    void setDeviceId(std::string deviceId);
    std::string getDeviceId();
    /// @}

    /// @{
    /// Column "media_id": the key of the one-record query.
    void setMediaId(std::string mediaId);
    std::string getMediaId();
    /// @}

    /// @{
    /// Column "product_type"; "ONVIF" in a new record.
    void setProductType(std::string productType);
    std::string getProductType();
    /// @}

    /// @{
    /// Column "is_online".
    void setIsOnline(int isOnline);
    int getIsOnline();
    /// @}

private:
    std::string m_deviceId;
    std::string m_mediaId;
    std::string m_productType;
    int m_isOnline;
};

#endif  // ZKDB_TABLES_DEVICESTATEPO_H
