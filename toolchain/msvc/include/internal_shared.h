// Stands in for internal_shared.h of the Visual C++ runtime sources, which the
// standard library's import-library sources include first. Here it supplies
// what those sources take from a newer Windows SDK than Wine's headers: the
// Windows 10 file information structures and flags (values as the SDK
// defines them) and the CRT's code-page query.
#pragma once
#include <stdlib.h>
#include <windows.h>

// Windows 11's GetTempPath2W differs only for processes running as SYSTEM;
// Wine's kernel32.dll has just the older function.
#define GetTempPath2W GetTempPathW

#ifndef SYMBOLIC_LINK_FLAG_ALLOW_UNPRIVILEGED_CREATE
#define SYMBOLIC_LINK_FLAG_ALLOW_UNPRIVILEGED_CREATE 0x2
#endif
#ifndef FILE_DISPOSITION_FLAG_DELETE
#define FILE_DISPOSITION_FLAG_DO_NOT_DELETE 0x00000000
#define FILE_DISPOSITION_FLAG_DELETE 0x00000001
#define FILE_DISPOSITION_FLAG_POSIX_SEMANTICS 0x00000002
#define FILE_DISPOSITION_FLAG_FORCE_IMAGE_SECTION_CHECK 0x00000004
#define FILE_DISPOSITION_FLAG_ON_CLOSE 0x00000008
#define FILE_DISPOSITION_FLAG_IGNORE_READONLY_ATTRIBUTE 0x00000010
#endif

typedef struct _FILE_ID_INFO {
    ULONGLONG VolumeSerialNumber;
    struct {
        BYTE Identifier[16];
    } FileId;
} FILE_ID_INFO, *PFILE_ID_INFO;

typedef struct _FILE_DISPOSITION_INFO_EX {
    DWORD Flags;
} FILE_DISPOSITION_INFO_EX, *PFILE_DISPOSITION_INFO_EX;

#ifdef __cplusplus
extern "C" {
#endif
_ACRTIMP unsigned int __cdecl ___lc_codepage_func(void);
#ifdef __cplusplus
}
#endif

#ifdef __cplusplus
// The runtime sources' owner of a malloc'ed block.
template <class _Ty>
class __crt_unique_heap_ptr {
public:
    explicit __crt_unique_heap_ptr(_Ty* const _Ptr = nullptr) noexcept : _Ptr(_Ptr) {}
    __crt_unique_heap_ptr(const __crt_unique_heap_ptr&) = delete;
    __crt_unique_heap_ptr& operator=(const __crt_unique_heap_ptr&) = delete;
    __crt_unique_heap_ptr& operator=(_Ty* const _New) noexcept {
        free(_Ptr);
        _Ptr = _New;
        return *this;
    }
    ~__crt_unique_heap_ptr() { free(_Ptr); }
    explicit operator bool() const noexcept { return _Ptr != nullptr; }
    _Ty* get() const noexcept { return _Ptr; }
    _Ty* detach() noexcept {
        _Ty* const _Old = _Ptr;
        _Ptr = nullptr;
        return _Old;
    }

private:
    _Ty* _Ptr;
};
#define _malloc_crt_t(_Ty, _Count) static_cast<_Ty*>(malloc(sizeof(_Ty) * (_Count)))
#endif
