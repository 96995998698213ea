#include "FuzzHarness.h"

#include <sqlite3.h>

#include <cstdio>
#include <cstdlib>

#include "HarborSchema.h"
#include "PrivateHome.h"

namespace fuzz_harness {
namespace {

// One connection for the whole run: idle between statements, it holds no
// lock that could disturb the library's own connections.
sqlite3* g_db = nullptr;

}  // namespace

void enterPrivateHome(int* argc, char*** argv) {
    (void)argc;
    int exitCode = 0;
    if (!zkdb_harness::enterPrivateHome(*argv, exitCode)) {
        std::exit(exitCode);
    }
    const std::string path = zkdb_harness::privateHome() + "harbor.db";
    if (sqlite3_open(path.c_str(), &g_db) != SQLITE_OK) {
        fail("cannot open " + path);
    }
    exec(harbor::schemaSql());
}

void exec(const std::string& sql) {
    char* error = nullptr;
    if (sqlite3_exec(g_db, sql.c_str(), nullptr, nullptr, &error) != SQLITE_OK) {
        const std::string message = error != nullptr ? error : "?";
        sqlite3_free(error);
        fail("direct SQL failed: " + message + "\n  " + sql);
    }
}

long long count(const std::string& sql) {
    long long value = -1;
    auto first = [](void* context, int columns, char** values, char**) {
        if (columns > 0 && values[0] != nullptr) {
            *static_cast<long long*>(context) = std::atoll(values[0]);
        }
        return 0;
    };
    char* error = nullptr;
    if (sqlite3_exec(g_db, sql.c_str(), first, &value, &error) != SQLITE_OK) {
        const std::string message = error != nullptr ? error : "?";
        sqlite3_free(error);
        fail("direct SQL failed: " + message + "\n  " + sql);
    }
    return value;
}

void quietStandardOutput() {
    if (std::freopen("/dev/null", "w", stdout) == nullptr) {
        fail("cannot redirect standard output");
    }
}

void fail(const std::string& what) {
    std::fprintf(stderr, "\n*** property failed: %s\n", what.c_str());
    std::fflush(stderr);
    std::abort();
}

}  // namespace fuzz_harness
