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

// The interfaces of ZkDb.dll and ZkLib.dll hand std::string and standard
// containers across the DLL boundary, so a host compiled by Visual Studio
// must use the runtime the DLLs are built with: the release DLL runtime
// (/MD) without iterator debugging. With another one those types have
// another layout and another heap, the link succeeds (CMake's imported
// targets serve a Debug build with the release DLLs), and the host crashes
// at run time; so such a build stops here. Every public header of both
// libraries includes this one.
#if defined(_MSC_VER)
#if defined(_DEBUG) || !defined(_DLL)
#error \
    "ZkDb/ZkLib: compile this host with the release DLL runtime /MD (CMake: MSVC_RUNTIME_LIBRARY MultiThreadedDLL), in Debug builds too; a debug (/MDd, /MTd) or static (/MT) runtime cannot share std::string with the DLLs"
#endif
#if defined(_ITERATOR_DEBUG_LEVEL) && _ITERATOR_DEBUG_LEVEL != 0
#error \
    "ZkDb/ZkLib: compile this host with _ITERATOR_DEBUG_LEVEL=0, as the DLLs are; another level changes the layout of std::string and the containers"
#endif
#endif

#endif  // ZKLIB_EXPORT_H
