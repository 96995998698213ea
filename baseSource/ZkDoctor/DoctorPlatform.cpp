#include "DoctorPlatform.h"

#include <sqlite3.h>

#include <system_error>

#if defined(_WIN32)
#include <io.h>
#include <windows.h>

#include <vector>
#else
#include <dlfcn.h>
#include <unistd.h>
#endif

namespace doctor {

#if defined(_WIN32)

std::string loadedSqliteFile() {
    HMODULE module = ::GetModuleHandleA("sqlite3.dll");
    // A buffer that the name fills completely may have been cut: try larger.
    for (DWORD size = 256; module != nullptr && size <= 65536; size *= 2) {
        std::vector<char> name(size);
        const DWORD length = ::GetModuleFileNameA(module, name.data(), size);
        if (length == 0) {
            break;
        }
        if (length < size) {
            return std::string(name.data(), length);
        }
    }
    return std::string();
}

std::filesystem::path programDirectory() {
    std::vector<wchar_t> name(32768);
    const DWORD length = ::GetModuleFileNameW(nullptr, name.data(), 32768);
    return length > 0 && length < 32768
               ? std::filesystem::path(std::wstring(name.data(), length)).parent_path()
               : std::filesystem::path();
}

static bool mayAccess(const std::filesystem::path& path, bool write, bool) {
    return ::_waccess(path.c_str(), write ? 2 : 4) == 0;
}

#else

std::string loadedSqliteFile() {
    Dl_info info{};
    void* address = reinterpret_cast<void*>(&sqlite3_open);
    if (::dladdr(address, &info) == 0 || info.dli_fname == nullptr) {
        return std::string();
    }
    return info.dli_fname;
}

std::filesystem::path programDirectory() {
    std::error_code error;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::filesystem::path() : self.parent_path();
}

static bool mayAccess(const std::filesystem::path& path, bool write, bool directory) {
    // Creating a file in a directory needs search permission as well.
    const int mode = (write ? W_OK : R_OK) | (directory ? X_OK : 0);
    return ::access(path.c_str(), mode) == 0;
}

#endif

PathFacts examine(const std::filesystem::path& path) {
    PathFacts facts;
    std::error_code error;
    const std::filesystem::file_status status = std::filesystem::status(path, error);
    if (status.type() == std::filesystem::file_type::not_found) {
        facts.kind = Kind::kMissing;
        return facts;
    }
    if (error) {
        facts.error = error.message();
        return facts;
    }
    const bool directory = std::filesystem::is_directory(status);
    facts.kind = directory                                  ? Kind::kDirectory
                 : std::filesystem::is_regular_file(status) ? Kind::kFile
                                                            : Kind::kOther;
    if (facts.kind == Kind::kFile) {
        facts.size = std::filesystem::file_size(path, error);
    }
    facts.readable = mayAccess(path, false, directory);
    facts.writable = mayAccess(path, true, directory);
    return facts;
}

}  // namespace doctor
