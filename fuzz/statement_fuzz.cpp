// Statement forming with arbitrary text in every field.
//
// A device record and a node parameter record, every text field arbitrary
// bytes (quotes, percent signs, NULs, anything) and every integer arbitrary,
// are added, read back, updated, read back and deleted through the access
// classes on a real "harbor.db". Properties: every operation succeeds; each
// text comes back exactly as it was up to its first NUL; each integer comes
// back exactly; the table holds exactly the one row the operations imply.

#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <list>
#include <string>

#include "FuzzHarness.h"
#include "ZkDb/tables/DeviceTableDao.h"
#include "ZkDb/tables/ParamTableDao.h"

namespace {

std::string upToNul(const std::string& text) { return text.substr(0, text.find('\0')); }

void expect(bool holds, const std::string& what) {
    if (!holds) fuzz_harness::fail(what);
}

// --- Device records -------------------------------------------------------------------

using DeviceText =
    std::pair<void (DeviceTablePo::*)(std::string), std::string (DeviceTablePo::*)() const>;
using DeviceNumber = std::pair<void (DeviceTablePo::*)(int), int (DeviceTablePo::*)() const>;

// Every stored field but "dev_id", which keys the row.
const DeviceText kDeviceTexts[] = {
    {&DeviceTablePo::setDevType, &DeviceTablePo::getDevType},
    {&DeviceTablePo::setDevIp, &DeviceTablePo::getDevIp},
    {&DeviceTablePo::setPluginName, &DeviceTablePo::getPluginName},
    {&DeviceTablePo::setDevLoginUser, &DeviceTablePo::getDevLoginUser},
    {&DeviceTablePo::setDevLoginPwd, &DeviceTablePo::getDevLoginPwd},
    {&DeviceTablePo::setEquipType, &DeviceTablePo::getEquipType},
    {&DeviceTablePo::setUpdateFlag, &DeviceTablePo::getUpdateFlag},
    {&DeviceTablePo::setMainRtspUri, &DeviceTablePo::getMainRtspUri},
    {&DeviceTablePo::setSubRtspUri, &DeviceTablePo::getSubRtspUri},
    {&DeviceTablePo::setSnapshotUrl, &DeviceTablePo::getSnapshotUrl},
    {&DeviceTablePo::setMacAddr, &DeviceTablePo::getMacAddr},
    {&DeviceTablePo::setDevMfrs, &DeviceTablePo::getDevMfrs},
    {&DeviceTablePo::setSipServerIP, &DeviceTablePo::getSipServerIP},
    {&DeviceTablePo::setSipAccount, &DeviceTablePo::getSipAccount},
    {&DeviceTablePo::setSipPwd, &DeviceTablePo::getSipPwd},
    {&DeviceTablePo::setDevEdition, &DeviceTablePo::getDevEdition},
    {&DeviceTablePo::setNvrIP, &DeviceTablePo::getNvrIP},
    {&DeviceTablePo::setNvrUserName, &DeviceTablePo::getNvrUserName},
    {&DeviceTablePo::setNvrPwd, &DeviceTablePo::getNvrPwd},
};
const DeviceNumber kDeviceNumbers[] = {
    {&DeviceTablePo::setDevPort, &DeviceTablePo::getDevPort},
    {&DeviceTablePo::setChannelNum, &DeviceTablePo::getChannelNum},
    {&DeviceTablePo::setChannelStartNo, &DeviceTablePo::getChannelStartNo},
    {&DeviceTablePo::setDevInter, &DeviceTablePo::getDevInter},
    {&DeviceTablePo::setSipServerPort, &DeviceTablePo::getSipServerPort},
    {&DeviceTablePo::setIsUseNvr, &DeviceTablePo::getIsUseNvr},
    {&DeviceTablePo::setNvrPort, &DeviceTablePo::getNvrPort},
    {&DeviceTablePo::setIpcChannel, &DeviceTablePo::getIpcChannel},
    {&DeviceTablePo::setIsIpcRecord, &DeviceTablePo::getIsIpcRecord},
    {&DeviceTablePo::setIpcRecordStream, &DeviceTablePo::getIpcRecordStream},
};

void fillDevice(FuzzedDataProvider& input, DeviceTablePo& po) {
    for (const DeviceText& field : kDeviceTexts) {
        (po.*field.first)(input.ConsumeRandomLengthString(48));
    }
    for (const DeviceNumber& field : kDeviceNumbers) {
        (po.*field.first)(input.ConsumeIntegral<int>());
    }
    po.setDevStatus(input.ConsumeRandomLengthString(16));
}

// `read` holds what the table should give back for `written`.
void expectDevice(const DeviceTablePo& written, const DeviceTablePo& read, const char* how) {
    const std::string where = std::string(" (") + how + ")";
    expect(read.getDevId() == upToNul(written.getDevId()), "dev_id" + where);
    for (const DeviceText& field : kDeviceTexts) {
        expect((read.*field.second)() == upToNul((written.*field.second)()),
               "device text field" + where);
    }
    for (const DeviceNumber& field : kDeviceNumbers) {
        expect((read.*field.second)() == (written.*field.second)(), "device integer" + where);
    }
    const std::string status = upToNul(written.getDevStatus());
    expect(read.getDevStatus() == (status.empty() ? "normal" : status), "dev_status" + where);
}

void checkOneDevice(DeviceTableDao& dao, const DeviceTablePo& written, const char* step) {
    expect(fuzz_harness::count("select count(*) from tb_device;") == 1,
           std::string("tb_device does not hold exactly one row after ") + step);
    const std::list<DeviceTablePo> all = dao.query();
    expect(all.size() == 1, std::string("query() after ") + step);
    expectDevice(written, all.front(), step);

    const std::list<DeviceTablePo> byType = dao.query(written.getDevType());
    expect(byType.size() == 1, std::string("query(type) after ") + step);
    expectDevice(written, byType.front(), step);

    if (!written.getDevId().empty()) {
        DeviceTablePo one;
        expect(dao.query(written.getDevId(), one) == 0, std::string("query(id) after ") + step);
        expectDevice(written, one, step);
    }
}

void fuzzDevice(FuzzedDataProvider& input) {
    static DeviceTableDao dao;
    fuzz_harness::exec("DELETE FROM tb_device;");

    DeviceTablePo po;
    po.setDevId(input.ConsumeRandomLengthString(32));
    fillDevice(input, po);
    expect(dao.add(&po) == 0, "device add failed");
    checkOneDevice(dao, po, "add");

    DeviceTablePo changed;
    changed.setDevId(po.getDevId());
    fillDevice(input, changed);
    expect(dao.update(&changed) == 0, "device update failed");
    checkOneDevice(dao, changed, "update");

    expect(dao.del(&changed) == 0, "device del failed");
    changed.setDevStatus("delete");
    checkOneDevice(dao, changed, "del");
}

// --- Node parameter records -----------------------------------------------------------

using ParamText = std::pair<void (ParamTablePo::*)(std::string), std::string (ParamTablePo::*)()>;
using ParamNumber = std::pair<void (ParamTablePo::*)(int), int (ParamTablePo::*)()>;

const ParamText kParamTexts[] = {
    {&ParamTablePo::setNodeType, &ParamTablePo::getNodeType},
    {&ParamTablePo::setSignalServerIP, &ParamTablePo::getSignalServerIP},
    {&ParamTablePo::setPeerServerIP, &ParamTablePo::getPeerServerIP},
    {&ParamTablePo::setStunServerAddr, &ParamTablePo::getStunServerAddr},
    {&ParamTablePo::setTurnServerAddr, &ParamTablePo::getTurnServerAddr},
    {&ParamTablePo::setTurnServerUser, &ParamTablePo::getTurnServerUser},
    {&ParamTablePo::setTurnServerPwd, &ParamTablePo::getTurnServerPwd},
    {&ParamTablePo::setAccountId, &ParamTablePo::getAccountId},
};
const ParamNumber kParamNumbers[] = {
    {&ParamTablePo::setSignalServerPort, &ParamTablePo::getSignalServerPort},
    {&ParamTablePo::setPeerServerPort, &ParamTablePo::getPeerServerPort},
    {&ParamTablePo::setZkdsCommPort, &ParamTablePo::getZkdsCommPort},
};

void fillParam(FuzzedDataProvider& input, ParamTablePo& po) {
    for (const ParamText& field : kParamTexts) {
        (po.*field.first)(input.ConsumeRandomLengthString(48));
    }
    for (const ParamNumber& field : kParamNumbers) {
        (po.*field.first)(input.ConsumeIntegral<int>());
    }
}

void checkOneParam(ParamTableDao& dao, ParamTablePo& written, const char* step) {
    const std::string where = std::string(" (") + step + ")";
    expect(fuzz_harness::count("select count(*) from tb_param;") == 1,
           "tb_param does not hold exactly one row" + where);
    ParamTablePo read;
    expect(dao.query(&read) == 0, "param query failed" + where);
    expect(read.getNodeId() == upToNul(written.getNodeId()), "node_id" + where);
    for (const ParamText& field : kParamTexts) {
        expect((read.*field.second)() == upToNul((written.*field.second)()),
               "param text field" + where);
    }
    for (const ParamNumber& field : kParamNumbers) {
        expect((read.*field.second)() == (written.*field.second)(), "param integer" + where);
    }
}

void fuzzParam(FuzzedDataProvider& input) {
    static ParamTableDao dao;
    fuzz_harness::exec("DELETE FROM tb_param;");

    ParamTablePo po;
    po.setNodeId(input.ConsumeRandomLengthString(32));
    fillParam(input, po);
    expect(dao.add(&po) == 0, "param add failed");
    checkOneParam(dao, po, "add");

    ParamTablePo changed;
    changed.setNodeId(po.getNodeId());
    fillParam(input, changed);
    expect(dao.update(&changed) == 0, "param update failed");
    checkOneParam(dao, changed, "update");

    expect(dao.del(&changed) == 0, "param del failed");
    expect(fuzz_harness::count("select count(*) from tb_param;") == 0, "param row left after del");
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    fuzz_harness::enterPrivateHome(argc, argv);
    fuzz_harness::quietStandardOutput();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    if (input.ConsumeBool()) {
        fuzzDevice(input);
    } else {
        fuzzParam(input);
    }
    return 0;
}
