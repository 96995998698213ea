// Stands in for intrin0.h of Visual C++: the compiler intrinsics the standard
// library headers use, here Clang's declarations of them.
#pragma once
#include <intrin.h>
