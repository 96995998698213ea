#ifndef ZKLIB_STRINGUTIL_H
#define ZKLIB_STRINGUTIL_H

/// @file
/// Base64 routines of the utility module.

#include "ZkLib/Export.h"

/// Text utilities. The base64 routines use standard base64 (RFC 4648
/// alphabet, '=' padding, no line breaks).
///
/// Buffer contract: each routine allocates its result itself and stores its
/// address in `*out`, replacing whatever the pointer held (the caller's own
/// buffer, if any, stays the caller's). The result is always NUL-terminated
/// text, on failure too (then empty). Release it with data_base64_free().
///
/// Threads: the routines keep no state; any thread may call them at any
/// time.
class ZKLIB_API StringUtil {
public:
    /// Encodes `length` bytes at `in` (null is read as no bytes).
    /// @param in        the bytes to encode; not changed.
    /// @param length    how many bytes; a negative length encodes nothing.
    /// @param out       receives the newly allocated, NUL-terminated text.
    /// @param outLength receives the length of the text, if not null.
    /// @return false when `out` is null or memory could not be had; `*out`
    ///         then designates empty text when `out` is not null.
    static bool data_base64_encode(unsigned char* in, int length, unsigned char** out,
                                   int* outLength);

    /// Decodes `length` characters at `in`. Text that is not valid base64
    /// (a character outside the alphabet, a length that is not a multiple of
    /// four, padding anywhere but at the end) decodes to empty text and
    /// gives false. Empty input gives empty text and true.
    /// @param in        the base64 text; not changed.
    /// @param length    how many characters of `in` to decode; a null `in`
    ///                  or a negative length decodes nothing.
    /// @param out       receives the newly allocated result: the decoded
    ///                  bytes followed by a NUL.
    /// @param outLength receives the number of decoded bytes, if not null.
    /// @return true when `in` was valid base64 and the result could be
    ///         had; false otherwise, also for a null `out`.
    static bool data_base64_decode(unsigned char* in, int length, unsigned char** out,
                                   int* outLength);

    /// Releases a result of the two routines above; null is ignored.
    static void data_base64_free(unsigned char* buffer);
};

#endif  // ZKLIB_STRINGUTIL_H
