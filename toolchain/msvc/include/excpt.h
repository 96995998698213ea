// Stands in for excpt.h of the Windows SDK: Wine's excpt.h with the
// structured-exception intrinsics (GetExceptionCode and the like) declared, as
// the SDK declares them for Visual C++-compatible compilers.
#pragma once
#ifndef USE_COMPILER_EXCEPTIONS
#define USE_COMPILER_EXCEPTIONS
#endif
#include_next <excpt.h>
