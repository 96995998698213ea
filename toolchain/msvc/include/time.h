// Stands in for time.h of the Universal CRT: Wine's time.h, plus the C11
// timespec and the UCRT's inline forms of the bounds-checked conversions
// (over the 64-bit functions ucrtbase.dll exports).
#pragma once
#include_next <time.h>

#pragma pack(push, _CRT_PACKING)
#ifdef __cplusplus
extern "C" {
#endif
#ifndef _CRT_TIMESPEC_DEFINED
#define _CRT_TIMESPEC_DEFINED
struct _timespec32 {
    __time32_t tv_sec;
    long tv_nsec;
};
struct _timespec64 {
    __time64_t tv_sec;
    long tv_nsec;
};
struct timespec {
    time_t tv_sec;
    long tv_nsec;
};
#endif
#ifndef TIME_UTC
#define TIME_UTC 1
#endif
_ACRTIMP int __cdecl _timespec64_get(struct _timespec64*, int);
__inline int __cdecl timespec_get(struct timespec* const _Ts, int const _Base) {
    return _timespec64_get((struct _timespec64*)_Ts, _Base);
}
_ACRTIMP errno_t __cdecl _gmtime64_s(struct tm*, const __time64_t*);
_ACRTIMP errno_t __cdecl _localtime64_s(struct tm*, const __time64_t*);
__inline errno_t __cdecl localtime_s(struct tm* const _Tm, time_t const* const _Time) {
    return _localtime64_s(_Tm, _Time);
}
__inline errno_t __cdecl gmtime_s(struct tm* const _Tm, time_t const* const _Time) {
    return _gmtime64_s(_Tm, _Time);
}
#ifdef __cplusplus
}
#endif
#pragma pack(pop)
