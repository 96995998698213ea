// Stands in for the TLS support and the thread-safe local statics of Visual
// C++'s static runtime (tlssup.cpp, thread_safe_statics.cpp): the module's
// TLS directory, which the loader reads to give every thread its copy of the
// module's __declspec(thread) data, and the guard protocol the compiler
// emits around the initialisation of a function-local static: one thread
// initialises it, the others wait; an initialisation that throws lets the
// next caller try again.
#include <limits.h>
#include <windows.h>

#include "startup.h"

extern "C" {
// The bounds of the module's TLS template: the linker sorts .tls$ between
// these two.
#pragma section(".tls", long, read, write)
#pragma section(".tls$ZZZ", long, read, write)
__declspec(allocate(".tls")) char _tls_start = 0;
__declspec(allocate(".tls$ZZZ")) char _tls_end = 0;
__declspec(allocate(".CRT$XLA")) PIMAGE_TLS_CALLBACK __xl_a = nullptr;
__declspec(allocate(".CRT$XLZ")) PIMAGE_TLS_CALLBACK __xl_z = nullptr;

ULONG _tls_index = 0;

// The linker points the image's TLS directory at this symbol.
extern const IMAGE_TLS_DIRECTORY64 _tls_used = {
    reinterpret_cast<ULONGLONG>(&_tls_start),
    reinterpret_cast<ULONGLONG>(&_tls_end),
    reinterpret_cast<ULONGLONG>(&_tls_index),
    reinterpret_cast<ULONGLONG>(&__xl_a + 1),
    0,
    0,
};

// A guard holds 0 before initialisation, -1 while one thread initialises,
// and afterwards the epoch at which it completed. A thread whose own epoch
// is at least the guard's has seen the initialised object.
int _Init_global_epoch = INT_MIN;
__declspec(thread) int _Init_thread_epoch = INT_MIN;

static SRWLOCK guard_lock = SRWLOCK_INIT;
static CONDITION_VARIABLE guard_done = CONDITION_VARIABLE_INIT;
static const int being_initialized = -1;

void __cdecl _Init_thread_header(int* const guard) noexcept {
    AcquireSRWLockExclusive(&guard_lock);
    while (*guard == being_initialized) {
        SleepConditionVariableSRW(&guard_done, &guard_lock, INFINITE, 0);
    }
    if (*guard == 0) {
        *guard = being_initialized;  // the caller initialises
    } else {
        _Init_thread_epoch = _Init_global_epoch;
    }
    ReleaseSRWLockExclusive(&guard_lock);
}

void __cdecl _Init_thread_footer(int* const guard) noexcept {
    AcquireSRWLockExclusive(&guard_lock);
    ++_Init_global_epoch;
    *guard = _Init_global_epoch;
    _Init_thread_epoch = _Init_global_epoch;
    ReleaseSRWLockExclusive(&guard_lock);
    WakeAllConditionVariable(&guard_done);
}

void __cdecl _Init_thread_abort(int* const guard) noexcept {
    AcquireSRWLockExclusive(&guard_lock);
    *guard = 0;
    ReleaseSRWLockExclusive(&guard_lock);
    WakeAllConditionVariable(&guard_done);
}
}
