// Stands in for wchar.h of the Universal CRT. Wine's wchar.h makes mbstate_t
// an int; the UCRT's is the 8-byte structure _Mbstatet, which is part of the
// layout of std::fpos and of the decorated names of the standard library's
// conversion facets, so this header declares the multibyte conversion
// functions with the UCRT's type and takes the rest from Wine's headers.
#pragma once
#define __WINE_WCHAR_H
#include <corecrt.h>
#include <corecrt_wctype.h>
#include <corecrt_wdirect.h>
#include <corecrt_wio.h>
#include <corecrt_wprocess.h>
#include <corecrt_wstdio.h>
#include <corecrt_wstdlib.h>
#include <corecrt_wstring.h>
#include <corecrt_wtime.h>
#include <sys/stat.h>
#include <vadefs.h>

#pragma pack(push, _CRT_PACKING)
#ifdef __cplusplus
extern "C" {
#endif

#ifndef WCHAR_MIN
#define WCHAR_MIN 0x0000
#define WCHAR_MAX 0xffff
#endif

#ifndef _WLOCALE_DEFINED
#define _WLOCALE_DEFINED
_ACRTIMP wchar_t* __cdecl _wsetlocale(int, const wchar_t*);
#endif

_ACRTIMP wint_t __cdecl btowc(int);
_ACRTIMP size_t __cdecl mbrlen(const char*, size_t, mbstate_t*);
_ACRTIMP size_t __cdecl mbrtowc(wchar_t*, const char*, size_t, mbstate_t*);
_ACRTIMP size_t __cdecl mbsrtowcs(wchar_t*, const char**, size_t, mbstate_t*);
_ACRTIMP size_t __cdecl wcrtomb(char*, wchar_t, mbstate_t*);
_ACRTIMP size_t __cdecl wcsrtombs(char*, const wchar_t**, size_t, mbstate_t*);
_ACRTIMP int __cdecl wctob(wint_t);
_ACRTIMP errno_t __cdecl wmemcpy_s(wchar_t*, size_t, const wchar_t*, size_t);
_ACRTIMP errno_t __cdecl wmemmove_s(wchar_t*, size_t, const wchar_t*, size_t);
// Declared for the standard library's <cwchar>; ucrtbase.dll of Wine 8 does
// not export these two, so nothing here calls them.
_ACRTIMP int __cdecl fwide(FILE*, int);
_ACRTIMP int __cdecl mbsinit(const mbstate_t*);
_ACRTIMP int __cdecl vfwscanf(FILE*, const wchar_t*, va_list);
_ACRTIMP int __cdecl vswscanf(const wchar_t*, const wchar_t*, va_list);
_ACRTIMP int __cdecl vwscanf(const wchar_t*, va_list);
_ACRTIMP long double __cdecl wcstold(const wchar_t*, wchar_t**);

__inline wchar_t* __cdecl wmemchr(const wchar_t* _S, wchar_t _C, size_t _N) {
    for (; _N != 0; ++_S, --_N)
        if (*_S == _C) return (wchar_t*)_S;
    return 0;
}
__inline int __cdecl wmemcmp(const wchar_t* _S1, const wchar_t* _S2, size_t _N) {
    for (; _N != 0; ++_S1, ++_S2, --_N)
        if (*_S1 != *_S2) return *_S1 < *_S2 ? -1 : 1;
    return 0;
}
__inline wchar_t* __cdecl wmemcpy(wchar_t* _S1, const wchar_t* _S2, size_t _N) {
    return (wchar_t*)memcpy(_S1, _S2, _N * sizeof(wchar_t));
}
__inline wchar_t* __cdecl wmemmove(wchar_t* _S1, const wchar_t* _S2, size_t _N) {
    return (wchar_t*)memmove(_S1, _S2, _N * sizeof(wchar_t));
}
__inline wchar_t* __cdecl wmemset(wchar_t* _S, wchar_t _C, size_t _N) {
    wchar_t* _Su = _S;
    for (; _N != 0; ++_Su, --_N) *_Su = _C;
    return _S;
}

#ifdef __cplusplus
}
#endif
#pragma pack(pop)
