#include "ZkLib/StringUtil.h"

#include <cstddef>
#include <cstdlib>
#include <cstring>

#include "ZkLib/Base64Length.h"

namespace {

const char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

// Value of a base64 character, or -1 for anything outside the alphabet.
int valueOf(unsigned char c) {
    if (c >= 'A' && c <= 'Z') return c - 'A';
    if (c >= 'a' && c <= 'z') return c - 'a' + 26;
    if (c >= '0' && c <= '9') return c - '0' + 52;
    if (c == '+') return 62;
    if (c == '/') return 63;
    return -1;
}

// Allocates `size` bytes plus a terminator, all zero.
unsigned char* allocateText(std::size_t size) {
    return static_cast<unsigned char*>(std::calloc(size + 1, 1));
}

// Gives `*out` an empty text after a failure; leaves it null only when even
// that cannot be had.
bool fail(unsigned char** out, int* outLength) {
    *out = allocateText(0);
    if (outLength != nullptr) *outLength = 0;
    return false;
}

}  // namespace

bool StringUtil::data_base64_encode(unsigned char* in, int length, unsigned char** out,
                                    int* outLength) {
    if (out == nullptr) {
        return false;
    }
    const std::size_t count = (in == nullptr || length < 0) ? 0 : static_cast<std::size_t>(length);
    std::size_t textLength = 0;
    if (!zklib::encodedLength(count, textLength)) {
        return fail(out, outLength);
    }
    unsigned char* text = allocateText(textLength);
    if (text == nullptr) {
        return fail(out, outLength);
    }
    std::size_t o = 0;
    std::size_t i = 0;
    for (; i + 3 <= count; i += 3) {
        const unsigned v = (unsigned(in[i]) << 16) | (unsigned(in[i + 1]) << 8) | in[i + 2];
        text[o++] = kAlphabet[(v >> 18) & 63];
        text[o++] = kAlphabet[(v >> 12) & 63];
        text[o++] = kAlphabet[(v >> 6) & 63];
        text[o++] = kAlphabet[v & 63];
    }
    if (count - i == 1) {
        const unsigned v = unsigned(in[i]) << 16;
        text[o++] = kAlphabet[(v >> 18) & 63];
        text[o++] = kAlphabet[(v >> 12) & 63];
        text[o++] = '=';
        text[o++] = '=';
    } else if (count - i == 2) {
        const unsigned v = (unsigned(in[i]) << 16) | (unsigned(in[i + 1]) << 8);
        text[o++] = kAlphabet[(v >> 18) & 63];
        text[o++] = kAlphabet[(v >> 12) & 63];
        text[o++] = kAlphabet[(v >> 6) & 63];
        text[o++] = '=';
    }
    *out = text;
    if (outLength != nullptr) *outLength = static_cast<int>(o);
    return true;
}

bool StringUtil::data_base64_decode(unsigned char* in, int length, unsigned char** out,
                                    int* outLength) {
    if (out == nullptr) {
        return false;
    }
    const std::size_t count = (in == nullptr || length < 0) ? 0 : static_cast<std::size_t>(length);
    if (count % 4 != 0) {
        return fail(out, outLength);
    }
    unsigned char* bytes = allocateText(count / 4 * 3);
    if (bytes == nullptr) {
        return fail(out, outLength);
    }
    std::size_t o = 0;
    for (std::size_t i = 0; i < count; i += 4) {
        const bool last = i + 4 == count;
        int v[4];
        int padding = 0;
        bool valid = true;
        for (int k = 0; k < 4; ++k) {
            const unsigned char c = in[i + k];
            if (c == '=' && last && k >= 2) {
                v[k] = 0;
                ++padding;
            } else if (padding > 0) {
                valid = false;  // data after padding
            } else {
                v[k] = valueOf(c);
                valid = valid && v[k] >= 0;
            }
        }
        if (!valid) {
            std::free(bytes);
            return fail(out, outLength);
        }
        const unsigned bits = (unsigned(v[0]) << 18) | (unsigned(v[1]) << 12) |
                              (unsigned(v[2]) << 6) | unsigned(v[3]);
        bytes[o++] = static_cast<unsigned char>(bits >> 16);
        if (padding < 2) bytes[o++] = static_cast<unsigned char>(bits >> 8);
        if (padding < 1) bytes[o++] = static_cast<unsigned char>(bits);
    }
    bytes[o] = '\0';
    *out = bytes;
    if (outLength != nullptr) *outLength = static_cast<int>(o);
    return true;
}

void StringUtil::data_base64_free(unsigned char* buffer) { std::free(buffer); }
