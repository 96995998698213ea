// Stands in for the Windows SDK's Windows.h under the spelling the standard
// library's sources use; Wine's header is windows.h.
#pragma once
#include <windows.h>
