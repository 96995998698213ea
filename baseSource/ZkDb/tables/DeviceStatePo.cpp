#include "ZkDb/tables/DeviceStatePo.h"

#include <utility>

DeviceStatePo::DeviceStatePo() : m_productType("ONVIF"), m_isOnline(0) {}
DeviceStatePo::DeviceStatePo(const DeviceStatePo& other) = default;
DeviceStatePo& DeviceStatePo::operator=(const DeviceStatePo& other) = default;
DeviceStatePo::~DeviceStatePo() = default;

void DeviceStatePo::setDeviceId(std::string deviceId) { m_deviceId = std::move(deviceId); }
std::string DeviceStatePo::getDeviceId() { return m_deviceId; }

void DeviceStatePo::setMediaId(std::string mediaId) { m_mediaId = std::move(mediaId); }
std::string DeviceStatePo::getMediaId() { return m_mediaId; }

void DeviceStatePo::setProductType(std::string productType) {
    m_productType = std::move(productType);
}
std::string DeviceStatePo::getProductType() { return m_productType; }

void DeviceStatePo::setIsOnline(int isOnline) { m_isOnline = isOnline; }
int DeviceStatePo::getIsOnline() { return m_isOnline; }
