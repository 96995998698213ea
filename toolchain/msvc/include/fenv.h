// Stands in for fenv.h of the Universal CRT: Wine's fenv.h plus the two
// declarations the standard library's <cfenv> names and Wine's header lacks
// (ucrtbase.dll of Wine 8 does not export them: nothing here calls them).
#pragma once
#include_next <fenv.h>
#ifdef __cplusplus
extern "C" {
#endif
_ACRTIMP int __cdecl feraiseexcept(int);
_ACRTIMP int __cdecl feupdateenv(const fenv_t*);
#ifdef __cplusplus
}
#endif
