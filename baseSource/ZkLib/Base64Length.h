#ifndef ZKLIB_BASE64LENGTH_H
#define ZKLIB_BASE64LENGTH_H

// The length rule of the base64 encoder, on its own so that its edges can be
// checked with plain numbers. Internal: not installed, not exported.

#include <climits>
#include <cstddef>

namespace zklib {

/// Stores in `textLength` the length of the base64 text of `count` bytes
/// (four characters for every three bytes or part of them) and returns
/// whether an int, the type the encoder reports lengths in, can hold it.
/// `count` is at most INT_MAX, so nothing overflows.
inline bool encodedLength(std::size_t count, std::size_t& textLength) {
    textLength = (count + 2) / 3 * 4;
    return textLength <= static_cast<std::size_t>(INT_MAX);
}

}  // namespace zklib

#endif  // ZKLIB_BASE64LENGTH_H
