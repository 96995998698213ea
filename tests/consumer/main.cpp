// A host in miniature, built against ZkDb the way a host's build finds it
// (CMake package, pkg-config or add_subdirectory). It includes only the
// public headers, links only ZkDb and ZkLib, creates its tables from the
// reference schema whose file it is given, and works on "harbor.db" beside
// the SQLite library the process loaded.
//
//   consumer <harbor.sql>

#include <ZkDb/ZkDb.h>
#include <ZkLib/StringUtil.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>

namespace {

int failures = 0;

void expect(bool ok, const char* what) {
    if (!ok) {
        ++failures;
        std::fprintf(stderr, "consumer: %s failed\n", what);
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: consumer <harbor.sql>\n");
        return 2;
    }
    std::ifstream file(argv[1]);
    std::stringstream schema;
    schema << file.rdbuf();
    expect(file.is_open() && !schema.str().empty(), "reading the schema");

    // The tables, through the public interface only.
    std::unique_ptr<DataBase> db(createDatabase());
    expect(db->open("harbor.db") == 0, "open harbor.db");
    expect(db->create(schema.str().c_str()) == 0, "create the tables");

    DeviceStatePo state;
    state.setDeviceId("cam-1");
    state.setMediaId("media-1");
    state.setIsOnline(1);
    DeviceStateDao states;
    expect(states.add(&state) == 0, "DeviceStateDao::add");
    DeviceStatePo back;
    expect(states.query("media-1", back) == 0, "DeviceStateDao::query");
    expect(back.getDeviceId() == "cam-1" && back.getIsOnline() == 1 &&
               back.getProductType() == "ONVIF",
           "the stored state reads back");
    const ResultRows rows = db->query("SELECT count(*) AS n FROM tb_device_state;");
    expect(rows.size() == 1 && rows.front().at("n") == "1", "one row through DataBase::query");

    // ZkLib directly, and through the device record's password routines.
    unsigned char plain[] = "zk";
    unsigned char* encoded = nullptr;
    int length = 0;
    expect(StringUtil::data_base64_encode(plain, 2, &encoded, &length) && length == 4 &&
               std::strcmp(reinterpret_cast<char*>(encoded), "ems=") == 0,
           "StringUtil::data_base64_encode");
    StringUtil::data_base64_free(encoded);
    DeviceTablePo device;
    device.setEncodeDevLoginPwd("secret");
    expect(device.getDevLoginPwd() == "c2VjcmV0" && device.getDecodeDevLoginPwd() == "secret",
           "DeviceTablePo password encoding");

    if (failures == 0) std::printf("consumer ok\n");
    return failures == 0 ? 0 : 1;
}
