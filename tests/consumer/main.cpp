// A host in miniature, built against ZkDb the way a host's build finds it
// (CMake package, pkg-config or add_subdirectory). It includes only the
// public headers, links only ZkDb and ZkLib, creates its tables from the
// reference schema whose file it is given, and works on "harbor.db" beside
// the SQLite library the process loaded (or in ZKDB_DATA_DIR). It prints how
// many rows earlier runs left, so a second run shows that the data stayed.
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

int main(int argc, char** argv) {
    std::ifstream file(argc == 2 ? argv[1] : "");
    std::stringstream schema;
    schema << file.rdbuf();

    // The tables through the public interface only, a row through an access
    // class, and ZkLib reached directly.
    std::unique_ptr<DataBase> db(createDatabase());
    DeviceStatePo state, back;
    state.setDeviceId("cam-1");
    state.setMediaId("media-1");
    DeviceStateDao states;
    unsigned char plain[] = "zk";
    unsigned char* encoded = nullptr;
    int length = 0;
    const bool tables = !schema.str().empty() && db->open("harbor.db") == 0 &&
                        db->create(schema.str().c_str()) == 0;
    // What earlier runs stored: the data outlives the process.
    const std::size_t earlier = tables ? db->query("SELECT * FROM tb_device_state;").size() : 0;
    const bool ok = tables && states.add(&state) == 0 && states.query("media-1", back) == 0 &&
                    back.getDeviceId() == "cam-1" &&
                    StringUtil::data_base64_encode(plain, 2, &encoded, &length) && length == 4 &&
                    std::strcmp(reinterpret_cast<char*>(encoded), "ems=") == 0;
    StringUtil::data_base64_free(encoded);
    std::printf("consumer %s, earlier rows: %zu\n", ok ? "ok" : "failed", earlier);
    return ok ? 0 : 1;
}
