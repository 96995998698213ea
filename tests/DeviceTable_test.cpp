#include <gtest/gtest.h>

#include <list>
#include <string>

#include "ZkDb/ZkDb.h"
#include "support/Harbor.h"
#include "support/TableChecks.h"

namespace {

class DeviceTable : public harbor::SchemaTest {};

DeviceTablePo camera(const std::string& id, const std::string& type) {
    DeviceTablePo po;
    po.setDevId(id);
    po.setDevType(type);
    po.setDevIp("10.0.0.7");
    po.setDevPort(8000);
    po.setPluginName("onvif");
    po.setDevLoginUser("admin");
    po.setEncodeDevLoginPwd("admin");
    po.setDevStatus("normal");
    po.setChannelNum(4);
    po.setChannelStartNo(1);
    po.setEquipType("IPC");
    po.setUpdateFlag("u");
    po.setMainRtspUri("rtsp://10.0.0.7/main");
    po.setSubRtspUri("rtsp://10.0.0.7/sub");
    po.setSnapshotUrl("http://10.0.0.7/snap.jpg");
    po.setMacAddr("00:11:22:33:44:55");
    po.setDevMfrs("maker");
    po.setDevInter(2);
    po.setSipServerIP("10.0.0.1");
    po.setSipServerPort(5060);
    po.setSipAccount("3402000000");
    po.setSipPwd("sip'pwd");
    po.setDevEdition("v2");
    po.setIsUseNvr(1);
    po.setNvrIP("10.0.0.9");
    po.setNvrPort(37777);
    po.setNvrUserName("nvr");
    po.setEncodeNvrPwd("nvr-secret");
    po.setIpcChannel(3);
    po.setIsIpcRecord(0);
    po.setIpcRecordStream(1);
    return po;
}

std::string columns(const DeviceTablePo& po) { return harbor::DeviceTraits::columns(po); }

}  // namespace

// Copies carry the run-time fields too, and the stored password as it is,
// not encoded again.
TEST(DeviceTablePo, CopiesCarryRunTimeFieldsAndTheEncodedPassword) {
    DeviceTablePo po;
    EXPECT_TRUE(po.getDevIsOnline());
    EXPECT_TRUE(po.getDevNvrIsOnline());
    EXPECT_EQ(po.getLocalIP(), "");

    DeviceTablePo source = camera("c1", "IPC");
    source.setDevIsOnline(false);
    source.setLocalIP("192.168.1.2");
    DeviceTablePo copied(source);
    DeviceTablePo assigned;
    assigned = source;
    for (DeviceTablePo* p : {&copied, &assigned}) {
        EXPECT_EQ(p->getDevLoginPwd(), "YWRtaW4=");
        EXPECT_FALSE(p->getDevIsOnline());
        EXPECT_EQ(p->getLocalIP(), "192.168.1.2");
    }
}

TEST(DeviceTablePo, PasswordsAreStandardBase64) {
    DeviceTablePo po;
    po.setEncodeDevLoginPwd("admin");
    EXPECT_EQ(po.getDevLoginPwd(), "YWRtaW4=");
    EXPECT_EQ(po.getDecodeDevLoginPwd(), "admin");

    po.setEncodeNvrPwd("");
    EXPECT_EQ(po.getNvrPwd(), "");
    EXPECT_EQ(po.getDecodeNvrPwd(), "");

    po.setNvrPwd("plain");  // the plain setter stores as given
    EXPECT_EQ(po.getNvrPwd(), "plain");

    std::string longPassword;
    for (int i = 0; i < 1000; ++i) longPassword.push_back(static_cast<char>(1 + i % 255));
    po.setEncodeNvrPwd(longPassword);
    EXPECT_EQ(po.getNvrPwd().size(), 1336u);
    EXPECT_EQ(po.getDecodeNvrPwd(), longPassword);

    // Stored text written by another standard encoder decodes too.
    po.setDevLoginPwd("cGFzc3dvcmQxMjM=");
    EXPECT_EQ(po.getDecodeDevLoginPwd(), "password123");
    // Text that is not base64 decodes to empty text and the field stays.
    po.setDevLoginPwd("not base64!");
    EXPECT_EQ(po.getDecodeDevLoginPwd(), "");
    EXPECT_EQ(po.getDevLoginPwd(), "not base64!");

    // A zero byte: encoded whole, decoded up to the zero.
    po.setEncodeDevLoginPwd(std::string("ab\0cd", 5));
    EXPECT_EQ(po.getDevLoginPwd(), "YWIAY2Q=");
    EXPECT_EQ(po.getDecodeDevLoginPwd(), "ab");
}

TEST_F(DeviceTable, StatementsReachSqliteExactly) {
    DeviceTableDao dao;
    DeviceTablePo po = camera("c1", "IPC");
    ASSERT_EQ(dao.add(&po), 0);
    ASSERT_EQ(dao.update(&po), 0);
    ASSERT_EQ(dao.del(&po), 0);
    DeviceTablePo out;
    ASSERT_EQ(dao.query("c1", out), 0);
    EXPECT_EQ(dao.query("IPC").size(), 1u);
    EXPECT_EQ(dao.query().size(), 1u);

    const std::string values =
        "values('c1', 'IPC', '10.0.0.7', 8000, 'onvif', 'admin', 'YWRtaW4=', 'normal', 4, 1, "
        "'IPC', 'u', 'rtsp://10.0.0.7/main', 'rtsp://10.0.0.7/sub','00:11:22:33:44:55','maker', "
        "2, '10.0.0.1', 5060, '3402000000', 'sip''pwd', 'v2','1','10.0.0.9','37777','nvr',"
        "'bnZyLXNlY3JldA==','3','0','1','http://10.0.0.7/snap.jpg');";
    const std::vector<std::string> expected = {
        "insert into tb_device( dev_id, dev_type, dev_ip, dev_port, plugin_name, dev_login_user, "
        "dev_login_pwd,dev_status, channel_num, channel_start_no, equip_type, update_flag, "
        "main_rtsp_uri, sub_rtsp_uri, mac_addr, dev_mfrs, dev_inter, sip_server_ip, "
        "sip_server_port, sip_account, sip_pwd , dev_edition, is_use_nvr, nvr_ip, nvr_port, "
        "nvr_user_name, nvr_pwd, ipc_channel, is_record,record_stream,snapshot_url) " +
            values,
        "UPDATE tb_device set dev_type = 'IPC', dev_ip = '10.0.0.7', dev_port = 8000, "
        "plugin_name = 'onvif', dev_login_user = 'admin', dev_login_pwd = 'YWRtaW4=',dev_status "
        "= 'normal', channel_num = 4, channel_start_no = 1, equip_type = 'IPC', update_flag = "
        "'u', main_rtsp_uri = 'rtsp://10.0.0.7/main', sub_rtsp_uri = 'rtsp://10.0.0.7/sub', "
        "mac_addr = '00:11:22:33:44:55', dev_mfrs = 'maker', dev_inter = 2, sip_server_ip = "
        "'10.0.0.1', sip_server_port = 5060, sip_account = '3402000000', sip_pwd = 'sip''pwd', "
        "dev_edition= 'v2' , is_use_nvr=1, nvr_ip='10.0.0.9', nvr_port=37777, "
        "nvr_user_name='nvr', nvr_pwd='bnZyLXNlY3JldA==', ipc_channel=3, is_record=0, "
        "record_stream=1, snapshot_url='http://10.0.0.7/snap.jpg' where dev_id = 'c1';",
        "UPDATE tb_device set dev_status = 'delete' where dev_id = 'c1';",
        "select * from tb_device where dev_id = 'c1';",
        "select * from tb_device where dev_type = 'IPC';",
        "select * from tb_device;",
    };
    harbor::expectStatements(expected);
}

TEST_F(DeviceTable, RecordsRoundTripThroughEveryQuery) {
    DeviceTableDao dao;
    DeviceTablePo po = camera("c1", "IPC");
    po.setDevIsOnline(false);
    po.setDevNvrIsOnline(false);
    po.setLocalIP("172.16.0.1");
    ASSERT_EQ(dao.add(&po), 0);
    DeviceTablePo nvr = camera("n1", "NVR");
    ASSERT_EQ(dao.add(&nvr), 0);

    DeviceTablePo out;
    out.setLocalIP("mine");
    out.setDevIsOnline(false);
    ASSERT_EQ(dao.query("c1", out), 0);
    EXPECT_EQ(columns(out), columns(po));
    EXPECT_EQ(out.getDecodeDevLoginPwd(), "admin");
    EXPECT_EQ(out.getDecodeNvrPwd(), "nvr-secret");
    EXPECT_EQ(out.getLocalIP(), "mine");  // fields without a column keep the caller's values
    EXPECT_FALSE(out.getDevIsOnline());

    std::list<DeviceTablePo> all = dao.query();
    ASSERT_EQ(all.size(), 2u);
    EXPECT_EQ(columns(all.front()), columns(po));
    EXPECT_TRUE(all.front().getDevIsOnline());  // run-time fields come back at their defaults
    EXPECT_TRUE(all.front().getDevNvrIsOnline());
    EXPECT_EQ(all.front().getLocalIP(), "");

    std::list<DeviceTablePo> nvrs = dao.query("NVR");
    ASSERT_EQ(nvrs.size(), 1u);
    EXPECT_EQ(nvrs.front().getDevId(), "n1");
    EXPECT_TRUE(dao.query("DVR").empty());

    // An empty type selects the rows of empty type.
    DeviceTablePo untyped = camera("u", "");
    ASSERT_EQ(dao.add(&untyped), 0);
    std::list<DeviceTablePo> rows = dao.query(std::string());
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows.front().getDevId(), "u");
}

TEST_F(DeviceTable, DeleteMarksAndUpdateRestores) {
    DeviceTableDao dao;
    DeviceTablePo po = camera("c1", "IPC");
    ASSERT_EQ(dao.add(&po), 0);

    DeviceTablePo key;
    key.setDevId("c1");
    ASSERT_EQ(dao.del(&key), 0);
    DeviceTablePo out;
    ASSERT_EQ(dao.query("c1", out), 0);
    EXPECT_EQ(out.getDevStatus(), "delete");
    EXPECT_EQ(dao.query().size(), 1u);  // marked rows are still listed

    ASSERT_EQ(dao.update(&po), 0);  // the record says "normal": the mark is lifted
    ASSERT_EQ(dao.query("c1", out), 0);
    EXPECT_EQ(out.getDevStatus(), "normal");

    po.setDevStatus("");
    ASSERT_EQ(dao.update(&po), 0);
    EXPECT_EQ(harbor::direct("select dev_status from tb_device;")[0].at("dev_status"), "");
    ASSERT_EQ(dao.query("c1", out), 0);
    EXPECT_EQ(out.getDevStatus(), "normal");  // empty status reads as "normal"

    harbor::direct("update tb_device set dev_status = NULL;");
    EXPECT_EQ(dao.query().front().getDevStatus(), "normal");

    DeviceTablePo ghost = camera("ghost", "IPC");
    EXPECT_EQ(dao.del(&ghost), 0);
    EXPECT_EQ(dao.update(&ghost), 0);
}

TEST_F(DeviceTable, DuplicateIdsAndNullIntegers) {
    harbor::direct(
        "insert into tb_device(dev_id, dev_ip, is_record, dev_port) values('dup', 'first', 0, 1);"
        "insert into tb_device(dev_id, dev_ip, is_record, dev_port) values('dup', 'second', NULL, "
        "'');");
    DeviceTableDao dao;
    DeviceTablePo out;
    out.setIsIpcRecord(5);
    ASSERT_EQ(dao.query("dup", out), 0);
    EXPECT_EQ(out.getDevIp(), "second");
    EXPECT_EQ(out.getIsIpcRecord(), 0);  // last non-empty text
    EXPECT_EQ(out.getDevPort(), 1);

    std::list<DeviceTablePo> all = dao.query();
    ASSERT_EQ(all.size(), 2u);
    EXPECT_EQ(all.back().getIsIpcRecord(), 1);  // NULL keeps the record default in lists

    DeviceTablePo po = camera("dup", "IPC");
    ASSERT_EQ(dao.update(&po), 0);
    ASSERT_EQ(dao.del(&po), 0);
    EXPECT_EQ(harbor::direct("select count(*) as n from tb_device where dev_status = 'delete' and "
                             "dev_ip = '10.0.0.7';")[0]
                  .at("n"),
              "2");
}

TEST_F(DeviceTable, LongAddressesTypeAndPasswordRoundTrip) {
    DeviceTableDao dao;
    DeviceTablePo po = camera("long", std::string(300, 'T'));
    po.setMainRtspUri("rtsp://" + std::string(400, 'm'));
    po.setSubRtspUri("rtsp://" + std::string(400, 's'));
    po.setSnapshotUrl("http://" + std::string(400, 'p'));
    po.setEncodeNvrPwd(std::string(600, 'k'));
    ASSERT_EQ(dao.add(&po), 0);

    DeviceTablePo out;
    ASSERT_EQ(dao.query("long", out), 0);
    EXPECT_EQ(columns(out), columns(po));
    EXPECT_EQ(out.getDecodeNvrPwd(), std::string(600, 'k'));
    ASSERT_EQ(dao.query(std::string(300, 'T')).size(), 1u);
}
