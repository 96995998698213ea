#ifndef ZKDB_TABLES_SIPDEVICETABLEPO_H
#define ZKDB_TABLES_SIPDEVICETABLEPO_H

/// @file
/// One row of the SIP device table "tb_sip_device".

#include <string>

#include "ZkDb/Export.h"

/// One row of "tb_sip_device": the SIP identity of one device, that is its
/// SIP account and password, the SIP domain, two destination accounts and
/// the id of the device it belongs to.
///
/// A plain value: setters store their argument unchanged, getters return
/// copies. Every field is text and empty in a new record. The password is
/// kept and written as plain text.
///
/// Threads: a record takes no lock. Like any plain value it may be read
/// from several threads at once, but changed only while no other thread
/// uses it.
class ZKDB_API SipDeviceTablePo {
public:
    /// A record holding the defaults named in the class description.
    SipDeviceTablePo();
    /// Copies every field.
    SipDeviceTablePo(const SipDeviceTablePo& other);
    /// Copies every field. @return this record.
    SipDeviceTablePo& operator=(const SipDeviceTablePo& other);
    ~SipDeviceTablePo();

    /// @{
    /// Column "sip_account": the key by which rows are deleted.
    void setSipAccount(std::string sipAccount);
    std::string getSipAccount();
    /// @}

    /// @{
    /// Column "sip_pwd".
    void setSipPwd(std::string sipPwd);
    std::string getSipPwd();
    /// @}

    /// @{
    /// Column "sip_domain".
    void setSipDomain(std::string sipDomain);
    std::string getSipDomain();
    /// @}

    /// @{
    /// Column "sip_dst_account_1".
    void setSipDstAccount1(std::string sipDstAccount1);
    std::string getSipDstAccount1();
    /// @}

    /// @{
    /// Column "sip_dst_account_2".
    void setSipDstAccount2(std::string sipDstAccount2);
    std::string getSipDstAccount2();
    /// @}

    /// @{
    /// Column "dev_id": the key by which rows are updated.
    void setDevId(std::string devId);
    std::string getDevId();
    /// @}

private:
    std::string m_sipAccount;
    std::string m_sipPwd;
    std::string m_sipDomain;
    std::string m_sipDstAccount1;
    std::string m_sipDstAccount2;
    std::string m_devId;
};

#endif  // ZKDB_TABLES_SIPDEVICETABLEPO_H
