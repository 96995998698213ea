#include "ZkDb/tables/SipDeviceTableDao.h"

#include "ZkDb/tables/TableColumns.h"
#include "ZkDb/tables/TableFrame.h"

namespace {

using namespace zkdb::frame;
using zkdb::kFailed;

constexpr const auto& kColumns = zkdb::columns::kSipDevice;

}  // namespace

SipDeviceTableDao::SipDeviceTableDao() : m_dataBase(nullptr) {}

SipDeviceTableDao::SipDeviceTableDao(const SipDeviceTableDao& /*other*/) : m_dataBase(nullptr) {}

SipDeviceTableDao& SipDeviceTableDao::operator=(const SipDeviceTableDao& /*other*/) {
    return *this;
}

SipDeviceTableDao::~SipDeviceTableDao() { release(m_dataBase); }

int SipDeviceTableDao::add(SipDeviceTablePo* po) {
    if (po == nullptr) {
        return kFailed;
    }
    const std::string sql = formStatement(
        "insert into tb_sip_device(sip_account, sip_pwd, sip_domain, sip_dst_account_1, "
        "sip_dst_account_2, dev_id) values('%s', '%s', '%s', '%s', '%s', '%s'); ",
        {po->getSipAccount(), po->getSipPwd(), po->getSipDomain(), po->getSipDstAccount1(),
         po->getSipDstAccount2(), po->getDevId()});
    return execute(m_dataBase, Write::Insert, sql);
}

int SipDeviceTableDao::del(SipDeviceTablePo* po) {
    if (po == nullptr) {
        return kFailed;
    }
    const std::string sql =
        formStatement("DELETE from tb_sip_device WHERE sip_account = '%s';", {po->getSipAccount()});
    return execute(m_dataBase, Write::Insert, sql);
}

int SipDeviceTableDao::update(SipDeviceTablePo* po) {
    if (po == nullptr) {
        return kFailed;
    }
    const std::string sql = formStatement(
        "UPDATE tb_sip_device set sip_account = '%s', sip_pwd = '%s', sip_domain = '%s', "
        "sip_dst_account_1 = '%s', sip_dst_account_2 = '%s' where dev_id = '%s';",
        {po->getSipAccount(), po->getSipPwd(), po->getSipDomain(), po->getSipDstAccount1(),
         po->getSipDstAccount2(), po->getDevId()});
    return execute(m_dataBase, Write::Update, sql);
}

std::list<SipDeviceTablePo*> SipDeviceTableDao::query() {
    std::list<SipDeviceTablePo*> records;
    queryNew(m_dataBase, "select * from tb_sip_device;", records, kColumns);
    return records;
}
