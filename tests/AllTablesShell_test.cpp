// End to end: every table written through the library, read back by the
// sqlite3 command-line shell and base64, readers that share no code with it.

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "ZkDb/ZkDb.h"
#include "support/Harbor.h"

namespace {

class AllTablesShell : public harbor::SchemaTest {};

std::string shellQuoted(const std::string& text) {
    std::string out = "'";
    for (const char c : text) {
        if (c == '\'') {
            out += "'\\''";
        } else {
            out.push_back(c);
        }
    }
    return out + "'";
}

bool shellAvailable() {
    return std::system("command -v sqlite3 >/dev/null 2>&1 && command -v base64 >/dev/null") == 0;
}

// The output of a shell command, without the final newlines.
std::string run(const std::string& command) {
    struct Closer {
        void operator()(FILE* pipe) const { pclose(pipe); }
    };
    std::unique_ptr<FILE, Closer> pipe(popen(command.c_str(), "r"));
    if (!pipe) {
        ADD_FAILURE() << "cannot run: " << command;
        return "";
    }
    std::string out;
    std::array<char, 4096> buffer;
    for (std::size_t n; (n = std::fread(buffer.data(), 1, buffer.size(), pipe.get())) > 0;) {
        out.append(buffer.data(), n);
    }
    while (!out.empty() && out.back() == '\n') out.pop_back();
    return out;
}

// The rows of `sql` as the shell prints them in JSON; empty for no rows.
std::string shellJson(const std::string& sql) {
    return run("sqlite3 -json " + shellQuoted(harbor::databasePath()) + " " + shellQuoted(sql) +
               " 2>&1");
}

}  // namespace

TEST_F(AllTablesShell, EveryTableWrittenByTheLibraryReadsBackInTheShell) {
    if (!shellAvailable()) {
        GTEST_SKIP() << "the sqlite3 command-line shell or base64 is not installed";
    }

    DeviceStatePo state;
    state.setDeviceId("dev1");
    state.setMediaId("media'1");
    state.setIsOnline(1);
    DeviceStateDao stateDao;
    ASSERT_EQ(stateDao.add(&state), 0);

    DeviceTablePo device;
    device.setDevId("dev1");
    device.setDevIp("192.168.1.10");
    device.setDevPort(554);
    device.setPluginName("O'Brien plug-in");
    device.setEncodeDevLoginPwd("admin");
    device.setEncodeNvrPwd("nvr-secret");
    DeviceTableDao deviceDao;
    ASSERT_EQ(deviceDao.add(&device), 0);

    ChannelTablePo channel;
    channel.setChannelId("ch1");
    channel.setDevId("dev1");
    ChannelTableDao channelDao;
    ASSERT_EQ(channelDao.add(&channel), 0);

    SipDeviceTablePo sip;
    sip.setSipAccount("34020000001320000001");
    sip.setSipPwd("pa'ss");
    sip.setDevId("dev1");
    SipDeviceTableDao sipDao;
    ASSERT_EQ(sipDao.add(&sip), 0);

    MqttMessageTablePo message;
    message.setItemId("item1");
    message.setCode(-3);
    message.setUrl("x'); DELETE FROM tb_mqtt_message; --");
    MqttMessageTableDao messageDao;
    ASSERT_EQ(messageDao.add(&message), 0);

    ParamTablePo param;
    param.setNodeId("node1");
    param.setSignalServerIP("10.0.0.1");
    param.setSignalServerPort(5060);
    param.setZkdsCommPort(9000);
    param.setWanIP("203.0.113.9");
    ParamTableDao paramDao;
    ASSERT_EQ(paramDao.add(&param), 0);

    EXPECT_EQ(
        shellJson("select * from tb_device_state;"),
        R"([{"device_id":"dev1","media_id":"media'1","product_type":"ONVIF","is_online":1}])");
    EXPECT_EQ(shellJson("select dev_id, dev_ip, dev_port, plugin_name from tb_device;"),
              R"([{"dev_id":"dev1","dev_ip":"192.168.1.10","dev_port":554,)"
              R"("plugin_name":"O'Brien plug-in"}])");
    // The stored passwords are standard base64, which base64 -d reads.
    for (const char* column : {"dev_login_pwd", "nvr_pwd"}) {
        EXPECT_EQ(run("sqlite3 " + shellQuoted(harbor::databasePath()) + " 'select " + column +
                      " from tb_device;' | base64 -d"),
                  column[0] == 'd' ? "admin" : "nvr-secret");
    }
    EXPECT_EQ(shellJson("select * from tb_channel;"), "");  // not stored by the library
    EXPECT_EQ(shellJson("select * from tb_sip_device;"),
              R"([{"sip_account":"34020000001320000001","sip_pwd":"pa'ss","sip_domain":"",)"
              R"("sip_dst_account_1":"","sip_dst_account_2":"","dev_id":"dev1"}])");
    EXPECT_EQ(shellJson("select * from tb_mqtt_message;"),
              R"([{"item_id":"item1","cno":"","code":-3,)"
              R"("url":"x'); DELETE FROM tb_mqtt_message; --","type":"","arq_times":5}])");
    EXPECT_EQ(shellJson("select * from tb_param;"),
              R"([{"node_id":"node1","node_type":"","signal_server_ip":"10.0.0.1",)"
              R"("signal_server_port":5060,"peer_server_ip":"","peer_server_port":0,)"
              R"("stun_server_addr":"","turn_server_addr":"","turn_server_user":"",)"
              R"("turn_server_pwd":"","zkds_comm_port":9000,"account_id":""}])");

    // And the other way: what the shell writes, the library reads.
    shellJson("update tb_device_state set is_online = 0; update tb_param set zkds_comm_port = 1;");
    DeviceStatePo readState;
    ASSERT_EQ(stateDao.query("media'1", readState), 0);
    EXPECT_EQ(readState.getIsOnline(), 0);
    ParamTablePo readParam;
    ASSERT_EQ(paramDao.query(&readParam), 0);
    EXPECT_EQ(readParam.getZkdsCommPort(), 1);
}
