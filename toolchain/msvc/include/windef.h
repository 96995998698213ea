// Stands in for windef.h of the Windows SDK: Wine's windef.h without its
// definition of the keyword inline as __inline, which the SDK does not make
// and which breaks C++17's inline variables.
#pragma once
#include_next <windef.h>
#ifdef __cplusplus
#undef inline
#endif
