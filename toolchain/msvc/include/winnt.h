// Stands in for winnt.h of the Windows SDK: Wine's winnt.h, whose inline
// definition of _InterlockedCompareExchange128 for GCC-style compilers would
// collide with the compiler's intrinsic of that name; the intrinsic is used.
#pragma once
#define _InterlockedCompareExchange128 __zkdb_wine_InterlockedCompareExchange128
#include_next <winnt.h>
#undef _InterlockedCompareExchange128
#undef InterlockedCompareExchange128
#define InterlockedCompareExchange128 _InterlockedCompareExchange128
