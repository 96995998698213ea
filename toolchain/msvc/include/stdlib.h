// Stands in for stdlib.h of the Universal CRT: Wine's stdlib.h, except that
// atexit and _onexit are the calling module's own (defined by the start-up
// part, run when that module unloads, as with Visual C++'s runtime) rather
// than imports from the CRT DLL, and with the quick_exit declarations the
// standard library's <cstdlib> names.
#pragma once
#define atexit __zkdb_crt_dll_atexit
#define _onexit __zkdb_crt_dll_onexit
#include <errno.h>
#include_next <stdlib.h>
#undef atexit
#undef _onexit

#ifdef __cplusplus
extern "C" {
#endif
int __cdecl atexit(void(__cdecl*)(void));
_onexit_t __cdecl _onexit(_onexit_t);
_ACRTIMP __declspec(noreturn) void __cdecl quick_exit(int);
#ifndef _WRITE_ABORT_MSG
#define _WRITE_ABORT_MSG 0x1
#define _CALL_REPORTFAULT 0x2
#endif
_ACRTIMP unsigned int __cdecl _set_abort_behavior(unsigned int, unsigned int);
// Declared for <cstdlib>; ucrtbase.dll of Wine 8 does not export it.
int __cdecl at_quick_exit(void(__cdecl*)(void));
#ifdef __cplusplus
}
#endif
