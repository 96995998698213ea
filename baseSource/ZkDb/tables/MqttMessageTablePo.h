#ifndef ZKDB_TABLES_MQTTMESSAGETABLEPO_H
#define ZKDB_TABLES_MQTTMESSAGETABLEPO_H

/// @file
/// One row of the MQTT message table "tb_mqtt_message".

#include <string>

#include "ZkDb/Export.h"

/// One row of "tb_mqtt_message": an MQTT message keyed by its item id, with
/// its repeat counter.
///
/// A plain value: setters store their argument unchanged, getters return
/// copies. Defaults: empty texts, `code` 0, `arq_times` 5.
///
/// Threads: a record takes no lock. Like any plain value it may be read
/// from several threads at once, but changed only while no other thread
/// uses it.
class ZKDB_API MqttMessageTablePo {
public:
    /// A record holding the defaults named in the class description.
    MqttMessageTablePo();
    /// Copies every field.
    MqttMessageTablePo(const MqttMessageTablePo& other);
    /// Copies every field. @return this record.
    MqttMessageTablePo& operator=(const MqttMessageTablePo& other);
    ~MqttMessageTablePo();

    /// @{
    /// Column "item_id": the key by which rows are deleted, updated and
    /// looked up.
    void setItemId(std::string itemId);
    std::string getItemId();
    /// @}

    /// @{
    /// Column "cno".
    void setCno(std::string cno);
    std::string getCno();
    /// @}

    /// @{
    /// Column "code".
    void setCode(int code);
    int getCode();
    /// @}

    /// @{
    /// Column "url".
    void setUrl(std::string url);
    std::string getUrl();
    /// @}

    /// @{
    /// Column "type".
    void setType(std::string type);
    std::string getType();
    /// @}

    /// @{
    /// Column "arq_times": the repeat counter; 5 in a new record.
    void setArqTimes(int arqTimes);
    int getArqTimes();
    /// @}

private:
    std::string m_itemId;
    std::string m_cno;
    int m_code;
    std::string m_url;
    std::string m_type;
    int m_arqTimes;
};

#endif  // ZKDB_TABLES_MQTTMESSAGETABLEPO_H
