// Windows implementation of the platform layer: the SQLite directory comes
// from the loaded "sqlite3.dll" module, paths are converted from the ANSI
// code page to UTF-8 by way of UTF-16, and thread ids are Win32 thread ids.
#if defined(_WIN32)

#include <windows.h>

#include <vector>

#include "ZkDb/platform/Platform.h"

namespace zkdb {
namespace platform {

std::string sqliteLibraryDirectory() {
    HMODULE module = ::GetModuleHandleA("sqlite3.dll");
    if (module == nullptr) {
        return std::string();
    }
    char fileName[kModulePathBound] = {};
    const DWORD length = ::GetModuleFileNameA(module, fileName, sizeof(fileName));
    if (length == 0) {
        return std::string();
    }
    // A truncated name is not always terminated on older systems.
    fileName[kModulePathBound - 1] = '\0';
    return directoryOfModule(fileName, '\\');
}

bool narrowToUtf8(const std::string& narrow, std::string& out) {
    // Both conversions run over the whole text including its terminator.
    const int narrowLength = static_cast<int>(narrow.size()) + 1;
    const int wideLength =
        ::MultiByteToWideChar(CP_ACP, 0, narrow.c_str(), narrowLength, nullptr, 0);
    if (wideLength <= 0) {
        return false;
    }
    std::vector<wchar_t> wide(static_cast<std::size_t>(wideLength));
    if (::MultiByteToWideChar(CP_ACP, 0, narrow.c_str(), narrowLength, wide.data(), wideLength) <=
        0) {
        return false;
    }
    const int utf8Length =
        ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), wideLength, nullptr, 0, nullptr, nullptr);
    if (utf8Length <= 0) {
        return false;
    }
    std::vector<char> utf8(static_cast<std::size_t>(utf8Length));
    if (::WideCharToMultiByte(CP_UTF8, 0, wide.data(), wideLength, utf8.data(), utf8Length, nullptr,
                              nullptr) <= 0) {
        return false;
    }
    out.assign(utf8.data());  // up to the terminator that was converted too
    return true;
}

unsigned int currentThreadId() { return static_cast<unsigned int>(::GetCurrentThreadId()); }

}  // namespace platform
}  // namespace zkdb

#endif  // _WIN32
