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

namespace {

// Converts UTF-16 text to UTF-8; `length` counts the terminator, which is
// converted too.
bool wideToUtf8(const wchar_t* wide, int length, std::string& out) {
    const int utf8Length =
        ::WideCharToMultiByte(CP_UTF8, 0, wide, length, nullptr, 0, nullptr, nullptr);
    if (utf8Length <= 0) {
        return false;
    }
    std::vector<char> utf8(static_cast<std::size_t>(utf8Length));
    if (::WideCharToMultiByte(CP_UTF8, 0, wide, length, utf8.data(), utf8Length, nullptr,
                              nullptr) <= 0) {
        return false;
    }
    out.assign(utf8.data());  // up to the terminator that was converted too
    return true;
}

}  // namespace

bool dataDirectoryOverride(std::string& utf8Dir) {
    utf8Dir.clear();
    const wchar_t* name = L"ZKDB_DATA_DIR";  // kDataDirVariable
    // The size with the terminator, or 0 when the variable is unset or empty.
    const DWORD size = ::GetEnvironmentVariableW(name, nullptr, 0);
    if (size <= 1) {
        return false;
    }
    std::vector<wchar_t> wide(size);
    const DWORD length = ::GetEnvironmentVariableW(name, wide.data(), size);
    // A value that changed in between (another thread) is not trusted.
    if (length == 0 || length >= size ||
        !wideToUtf8(wide.data(), static_cast<int>(length) + 1, utf8Dir)) {
        utf8Dir.clear();
        return false;
    }
    if (utf8Dir.back() != '\\' && utf8Dir.back() != '/') {
        utf8Dir += '\\';
    }
    return true;
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
    return wideToUtf8(wide.data(), wideLength, out);
}

unsigned int currentThreadId() { return static_cast<unsigned int>(::GetCurrentThreadId()); }

}  // namespace platform
}  // namespace zkdb

#endif  // _WIN32
