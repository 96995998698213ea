// Stands in for stdio.h of the Universal CRT: Wine's stdio.h with the
// va_list scanf functions it lacks, defined over ucrtbase.dll's common entry
// points as the UCRT's own header defines them, and the stream buffer
// accessor the standard library's file streams use.
#pragma once
#include_next <stdio.h>

#pragma pack(push, _CRT_PACKING)
#ifdef __cplusplus
extern "C" {
#endif
#ifndef _CRT_INTERNAL_LOCAL_SCANF_OPTIONS
#define _CRT_INTERNAL_LOCAL_SCANF_OPTIONS 0
#endif
__inline int __cdecl vfscanf(FILE* _Stream, const char* _Format, va_list _Args) {
    return __stdio_common_vfscanf(_CRT_INTERNAL_LOCAL_SCANF_OPTIONS, _Stream, _Format, 0, _Args);
}
__inline int __cdecl vscanf(const char* _Format, va_list _Args) {
    return vfscanf(stdin, _Format, _Args);
}
__inline int __cdecl vsscanf(const char* _Buffer, const char* _Format, va_list _Args) {
    return __stdio_common_vsscanf(_CRT_INTERNAL_LOCAL_SCANF_OPTIONS, _Buffer, (size_t)-1, _Format,
                                  0, _Args);
}
_ACRTIMP errno_t __cdecl _get_stream_buffer_pointers(FILE* _Stream, char*** _Base, char*** _Pointer,
                                                     int** _Count);
#ifdef __cplusplus
}
#endif
#pragma pack(pop)
