// Stands in for the buffer-overrun check of Visual C++'s static runtime
// (gs_cookie.c, gs_support.c, gs_report.c): the per-module stack cookie the
// compiler's /GS checks compare against, and the fail-fast exit when one
// does not match.
#include <windows.h>

#include "startup.h"

extern "C" {
uintptr_t __security_cookie = 0x00002B992DDFA232ull;
uintptr_t __security_cookie_complement = ~0x00002B992DDFA232ull;

void __cdecl __security_init_cookie(void) {
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    FILETIME time;
    GetSystemTimeAsFileTime(&time);
    uintptr_t cookie = static_cast<uintptr_t>(counter.QuadPart);
    cookie ^= (static_cast<uintptr_t>(time.dwHighDateTime) << 32) ^ time.dwLowDateTime;
    cookie ^= static_cast<uintptr_t>(GetCurrentThreadId()) << 16;
    cookie ^= static_cast<uintptr_t>(GetCurrentProcessId());
    cookie ^= reinterpret_cast<uintptr_t>(&cookie);
    cookie &= 0x0000FFFFFFFFFFFFull;
    if (cookie == 0x00002B992DDFA232ull || cookie == 0) cookie = 0x00002B992DDFA233ull;
    __security_cookie = cookie;
    __security_cookie_complement = ~cookie;
}

__declspec(noreturn) void __cdecl __report_gsfailure(uintptr_t) {
    __fastfail(2 /* FAST_FAIL_STACK_COOKIE_CHECK_FAILURE */);
}

void __cdecl __security_check_cookie(uintptr_t cookie) {
    if (cookie != __security_cookie) __report_gsfailure(cookie);
}
}
