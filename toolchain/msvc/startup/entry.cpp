// Stands in for the initialisation shared by the entry points of Visual C++'s
// static runtime (utility.cpp, the onexit tables of the VC start-up code):
// runs the module's C and C++ initializers in section order and gives a DLL
// its own atexit table, which runs when the DLL unloads (an executable's
// atexit functions run at exit, in ucrtbase.dll).
#include <corecrt_startup.h>
#include <stdlib.h>
#include <vcruntime_typeinfo.h>
#include <windows.h>

#include "startup.h"

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
}
