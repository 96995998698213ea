// Entry routine of the Windows DLL. The library keeps no per-thread state
// that needs attach or detach notifications, so it turns them off.
#if defined(_WIN32)

#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID /*reserved*/) {
    if (reason == DLL_PROCESS_ATTACH) {
        ::DisableThreadLibraryCalls(instance);
    }
    return TRUE;
}

#endif  // _WIN32
