// Windows side of the storage probes: what /proc tells on Linux, asked of
// the system instead. A SQLite connection holds one handle on its database
// file, so handles stand in for file descriptors.
#include "support/StorageProbe.h"

#if defined(_WIN32)

#include <windows.h>

#include <tlhelp32.h>

#include <filesystem>
#include <vector>

namespace probe {
namespace {

// One entry of the system's handle table (SystemExtendedHandleInformation).
struct HandleEntry {
    PVOID object;
    ULONG_PTR processId;
    ULONG_PTR handle;
    ULONG grantedAccess;
    USHORT creatorBackTraceIndex;
    USHORT objectTypeIndex;
    ULONG attributes;
    ULONG reserved;
};

struct HandleTable {
    ULONG_PTR count;
    ULONG_PTR reserved;
    HandleEntry entries[1];
};

using QuerySystemInformation = LONG(WINAPI*)(ULONG, PVOID, ULONG, PULONG);
constexpr ULONG kExtendedHandleInformation = 64;
constexpr LONG kInfoLengthMismatch = static_cast<LONG>(0xC0000004L);

// Full path of an open file, without the "\\?\" prefix.
std::wstring finalPath(HANDLE file) {
    wchar_t buffer[2048];
    const DWORD length = ::GetFinalPathNameByHandleW(file, buffer, 2048, FILE_NAME_NORMALIZED);
    if (length == 0 || length >= 2048) return std::wstring();
    std::wstring path(buffer, length);
    return path.compare(0, 4, L"\\\\?\\") == 0 ? path.substr(4) : path;
}

bool samePath(const std::wstring& a, const std::wstring& b) {
    return ::CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(),
                                  static_cast<int>(b.size()), TRUE) == CSTR_EQUAL;
}

}  // namespace

int openDescriptorsOn(const std::string& path) {
    std::error_code error;
    std::wstring target = std::filesystem::absolute(path, error).wstring();
    wchar_t longName[2048];
    const DWORD longLength = ::GetLongPathNameW(target.c_str(), longName, 2048);
    if (longLength > 0 && longLength < 2048) target.assign(longName, longLength);
    const auto query = reinterpret_cast<QuerySystemInformation>(reinterpret_cast<void (*)()>(
        ::GetProcAddress(::GetModuleHandleA("ntdll.dll"), "NtQuerySystemInformation")));
    if (error || query == nullptr) return -1;

    std::vector<char> buffer(1 << 16);
    LONG status = kInfoLengthMismatch;
    while (buffer.size() <= (1u << 28)) {
        ULONG needed = 0;
        status = query(kExtendedHandleInformation, buffer.data(), static_cast<ULONG>(buffer.size()),
                       &needed);
        if (status != kInfoLengthMismatch) break;
        buffer.resize(buffer.size() * 2);
    }
    if (status != 0) return -1;

    const auto* table = reinterpret_cast<const HandleTable*>(buffer.data());
    const ULONG_PTR self = ::GetCurrentProcessId();
    int count = 0;
    for (ULONG_PTR i = 0; i < table->count; ++i) {
        const HandleEntry& entry = table->entries[i];
        if (entry.processId != self) continue;
        HANDLE handle = reinterpret_cast<HANDLE>(entry.handle);
        // Only disk files: asking a pipe for its name can block.
        if (::GetFileType(handle) != FILE_TYPE_DISK) continue;
        if (samePath(finalPath(handle), target)) ++count;
    }
    return count;
}

int threadsOfThisProcess() {
    HANDLE snapshot = ::CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return -1;
    const DWORD self = ::GetCurrentProcessId();
    int count = 0;
    THREADENTRY32 entry{};
    entry.dwSize = sizeof(entry);
    for (BOOL more = ::Thread32First(snapshot, &entry); more;
         more = ::Thread32Next(snapshot, &entry)) {
        if (entry.th32OwnerProcessID == self) ++count;
    }
    ::CloseHandle(snapshot);
    return count;
}

}  // namespace probe

#endif  // _WIN32
