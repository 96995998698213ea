#ifndef ZKLIB_EXPORT_H
#define ZKLIB_EXPORT_H

/// @file
/// Export macro of the utility module. ZKLIB_BUILDING is defined only while
/// the module itself is compiled.

/// @def ZKLIB_API
/// Marks a class as part of the utility module's interface:
/// `__declspec(dllexport)` while ZkLib.dll is built and
/// `__declspec(dllimport)` for its users on Windows, default visibility
/// elsewhere.

#if defined(_WIN32)
#if defined(ZKLIB_BUILDING)
#define ZKLIB_API __declspec(dllexport)
#else
#define ZKLIB_API __declspec(dllimport)
#endif
#else
#define ZKLIB_API __attribute__((visibility("default")))
#endif

#endif  // ZKLIB_EXPORT_H
