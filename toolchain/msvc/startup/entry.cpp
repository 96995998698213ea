// Stands in for the entry points and initialisation of Visual C++'s static
// runtime (exe_main.cpp, dll_dllmain.cpp, utility.cpp of the VC start-up
// code): runs the module's C and C++ initializers in section order, gives a
// DLL its own atexit table that runs when the DLL unloads, sets up the
// process's arguments for an executable and calls main.
#include <corecrt_startup.h>
#include <stdlib.h>
#include <vcruntime_typeinfo.h>
#include <windows.h>

#include "startup.h"

int __cdecl main(int argc, char** argv, char** envp);

extern "C" {
_ACRTIMP void __cdecl _initterm(_PVFV* first, _PVFV* last);
_ACRTIMP int __cdecl _initterm_e(_PIFV* first, _PIFV* last);
_VCRTIMP void __cdecl __std_type_info_destroy_list(__type_info_node* root);

__declspec(allocate(".CRT$XIA")) _PIFV __xi_a[] = {nullptr};
__declspec(allocate(".CRT$XIZ")) _PIFV __xi_z[] = {nullptr};
__declspec(allocate(".CRT$XCA")) _PVFV __xc_a[] = {nullptr};
__declspec(allocate(".CRT$XCZ")) _PVFV __xc_z[] = {nullptr};

bool __zkdb_startup_is_dll = false;
_onexit_table_t __zkdb_startup_module_table = {};

// Floating-point support is present: the compiler references this symbol
// from every object that uses floating point.
int _fltused = 0x9875;

// The instruction-set level the standard library's vectorized code may use:
// the x86-64 baseline.
int __isa_available = 0;
long __isa_enabled = 1;

int __cdecl __zkdb_startup_initialize(bool is_dll) {
    __zkdb_startup_is_dll = is_dll;
    if (is_dll && _initialize_onexit_table(&__zkdb_startup_module_table) != 0) return 0;
    if (_initterm_e(__xi_a, __xi_z) != 0) return 0;
    _initterm(__xc_a, __xc_z);
    return 1;
}

void __cdecl __zkdb_startup_terminate(void) {
    _execute_onexit_table(&__zkdb_startup_module_table);
    __std_type_info_destroy_list(&__type_info_root_node);
}

int __cdecl atexit(_PVFV function) {
    if (__zkdb_startup_is_dll) {
        return _register_onexit_function(&__zkdb_startup_module_table,
                                         reinterpret_cast<_onexit_t>(function));
    }
    return _crt_atexit(function);
}

_onexit_t __cdecl _onexit(_onexit_t function) {
    if (__zkdb_startup_is_dll) {
        return _register_onexit_function(&__zkdb_startup_module_table, function) == 0 ? function
                                                                                      : nullptr;
    }
    return _crt_atexit(reinterpret_cast<_PVFV>(function)) == 0 ? function : nullptr;
}

int __cdecl at_quick_exit(_PVFV function) { return _crt_at_quick_exit(function); }

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

int __cdecl mainCRTStartup(void) {
    __security_init_cookie();
    _set_app_type(_crt_console_app);
    if (_configure_narrow_argv(_crt_argv_unexpanded_arguments) != 0 ||
        _initialize_narrow_environment() != 0 || !__zkdb_startup_initialize(false)) {
        _exit(255);
    }
    exit(main(*__p___argc(), *__p___argv(), _get_initial_narrow_environment()));
}
}
