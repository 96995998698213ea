// Stands in for corecrt.h of the Universal CRT: Wine's corecrt.h, preceded by
// the Visual C++ runtime's definitions, with the locale handle under the
// UCRT's structure name (it appears in the decorated names of C++ functions
// that take a _locale_t).
#pragma once
#include <vcruntime.h>
#define localeinfo_struct __crt_locale_pointers
#include_next <corecrt.h>
#undef localeinfo_struct

#ifndef _MBSTATET_DEFINED
#define _MBSTATET_DEFINED
typedef struct _Mbstatet {
    unsigned long _Wchar;
    unsigned short _Byte, _State;
} _Mbstatet;
typedef _Mbstatet mbstate_t;
#endif

#ifdef __cplusplus
extern "C" {
#endif
_ACRTIMP __declspec(noreturn) void __cdecl _invalid_parameter_noinfo_noreturn(void);
#ifdef __cplusplus
}
#endif
#define _CRT_SECURE_INVALID_PARAMETER(expr) ::_invalid_parameter_noinfo_noreturn()
