#ifndef ZKDB_EXPORT_H
#define ZKDB_EXPORT_H

/// @file
/// The one export macro of the library. Every exported class and function is
/// marked with ZKDB_API; everything else stays hidden inside the library.
///
/// ZKDB_BUILDING is defined only while the library itself is compiled.
/// ZkLib's export header brings the check of a Visual Studio host's runtime.

#include "ZkLib/Export.h"

/// @def ZKDB_API
/// Marks a class or function as part of the library's interface:
/// `__declspec(dllexport)` while ZkDb.dll is built and
/// `__declspec(dllimport)` for its users on Windows, default visibility
/// elsewhere.

#if defined(_WIN32)
#if defined(ZKDB_BUILDING)
#define ZKDB_API __declspec(dllexport)
#else
#define ZKDB_API __declspec(dllimport)
#endif
#else
#define ZKDB_API __attribute__((visibility("default")))
#endif

/// @def ZKDB_LOCAL
/// Marks a type nested in an exported class, such as its private state, as
/// internal, so that the members of that type are not exported with the
/// class. Windows DLLs export only what is marked, so it is empty there.

#if defined(_WIN32)
#define ZKDB_LOCAL
#else
#define ZKDB_LOCAL __attribute__((visibility("hidden")))
#endif

#endif  // ZKDB_EXPORT_H
