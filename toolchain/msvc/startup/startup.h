// Shared declarations of the start-up part, which stands in for the static
// half of Visual C++'s runtime library (the objects msvcrt.lib and
// vcruntime.lib link into every module built with /MD). It is linked into
// each DLL and executable this toolchain builds; everything else comes from
// ucrtbase.dll, vcruntime140.dll and msvcp140.dll.
#pragma once

// The libraries every module built with this start-up part imports from;
// vcruntime first, so what both DLLs export (memcpy, the C++ exception
// support) comes from vcruntime140.dll, as with Visual C++.
#pragma comment(lib, "vcruntime")
#pragma comment(lib, "ucrt")
#pragma comment(lib, "kernel32")

typedef void(__cdecl* _PVFV)(void);
typedef int(__cdecl* _PIFV)(void);

// The sections of the C (XI) and C++ (XC) initializers, the pre-terminators
// (XP) and terminators (XT), and the TLS callbacks (XL). The linker sorts
// them by the text after '$', so A and Z bound what the compiler emits.
#pragma section(".CRT$XIA", long, read)
#pragma section(".CRT$XIZ", long, read)
#pragma section(".CRT$XCA", long, read)
#pragma section(".CRT$XCZ", long, read)
#pragma section(".CRT$XLA", long, read)
#pragma section(".CRT$XLZ", long, read)

extern "C" {
struct _onexit_table_t;
// Whether the module being started is a DLL (set by its entry point before
// any initializer runs; atexit registrations go to its own table then).
extern bool __zkdb_startup_is_dll;
extern _onexit_table_t __zkdb_startup_module_table;
int __cdecl __zkdb_startup_initialize(bool is_dll);
void __cdecl __zkdb_startup_terminate(void);
}
