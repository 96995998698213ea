// Stands in for new.h of the Visual C++ runtime: the allocation functions and
// the CRT's new handler.
#pragma once
#include <corecrt.h>
#include <vcruntime_new.h>
#ifdef __cplusplus
extern "C++" {
typedef int(__cdecl* _PNH)(size_t);
_PNH __cdecl _query_new_handler(void);
_PNH __cdecl _set_new_handler(_PNH _NewHandler);
}
#endif
