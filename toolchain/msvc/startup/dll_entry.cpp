// Stands in for the DLL entry point of Visual C++'s static runtime
// (dll_dllmain.cpp): initialises the DLL before its DllMain sees
// DLL_PROCESS_ATTACH and runs its atexit table after DllMain has seen
// DLL_PROCESS_DETACH.
#include <windows.h>

#include "startup.h"

extern "C" {
BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved);

BOOL WINAPI _DllMainCRTStartup(HINSTANCE instance, DWORD reason, LPVOID reserved) {
    if (reason == DLL_PROCESS_ATTACH) {
        __security_init_cookie();
        if (!__zkdb_startup_initialize(true)) return FALSE;
        if (!DllMain(instance, reason, reserved)) {
            __zkdb_startup_terminate();
            return FALSE;
        }
        return TRUE;
    }
    const BOOL result = DllMain(instance, reason, reserved);
    if (reason == DLL_PROCESS_DETACH) __zkdb_startup_terminate();
    return result;
}
}
