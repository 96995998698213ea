// POSIX implementation of the platform layer: the SQLite directory comes
// from the shared object that defines sqlite3_open, the narrow encoding is
// already UTF-8, and thread ids are kernel thread ids.
#if !defined(_WIN32)

#include <dlfcn.h>
#include <sqlite3.h>
#include <stdlib.h>
#include <sys/syscall.h>
#include <unistd.h>

#include "ZkDb/platform/Platform.h"

namespace zkdb {
namespace platform {

std::string sqliteLibraryDirectory() {
    Dl_info info{};
    // Casting a function pointer to void* is conditionally supported and
    // always works with dladdr on POSIX systems.
    void* address = reinterpret_cast<void*>(&sqlite3_open);
    if (::dladdr(address, &info) == 0 || info.dli_fname == nullptr) {
        return std::string();
    }
    return directoryOfModule(info.dli_fname, '/');
}

bool dataDirectoryOverride(std::string& utf8Dir) {
    const char* value = ::getenv(kDataDirVariable);
    if (value == nullptr || *value == '\0') {
        utf8Dir.clear();
        return false;
    }
    utf8Dir = value;
    if (utf8Dir.back() != '/') {
        utf8Dir += '/';
    }
    return true;
}

bool narrowToUtf8(const std::string& narrow, std::string& out) {
    out = narrow;
    return true;
}

unsigned int currentThreadId() { return static_cast<unsigned int>(::syscall(SYS_gettid)); }

}  // namespace platform
}  // namespace zkdb

#endif  // !_WIN32
