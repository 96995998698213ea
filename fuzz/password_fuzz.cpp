// Base64 passwords through the device record.
//
// Properties: encoding any bytes stores their standard base64 text, and
// decoding it gives the bytes back up to the first NUL among them (all of
// them when there is none); decoding arbitrary text gives what a standard
// decoder gives, cut at the first NUL, or empty text when the text is not
// valid base64, and never faults.

#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <string>

#include "FuzzHarness.h"
#include "ZkDb/tables/DeviceTablePo.h"

namespace {

const char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

// A plain RFC 4648 encoder, written for clarity, not speed.
std::string referenceEncode(const std::string& bytes) {
    std::string text;
    for (std::size_t i = 0; i < bytes.size(); i += 3) {
        const std::size_t n = bytes.size() - i < 3 ? bytes.size() - i : 3;
        unsigned v = 0;
        for (std::size_t k = 0; k < 3; ++k) {
            v = (v << 8) | (k < n ? static_cast<unsigned char>(bytes[i + k]) : 0u);
        }
        for (std::size_t k = 0; k < 4; ++k) {
            text.push_back(k <= n ? kAlphabet[(v >> (18 - 6 * k)) & 63] : '=');
        }
    }
    return text;
}

// A strict RFC 4648 decoder: false for anything but canonical-length text of
// the alphabet with at most two '=' at its very end.
bool referenceDecode(const std::string& text, std::string& bytes) {
    bytes.clear();
    if (text.size() % 4 != 0) return false;
    for (std::size_t i = 0; i < text.size(); i += 4) {
        const bool last = i + 4 == text.size();
        unsigned v = 0;
        int padding = 0;
        for (std::size_t k = 0; k < 4; ++k) {
            const char c = text[i + k];
            const std::string alphabet(kAlphabet);
            const std::size_t value = alphabet.find(c);
            if (c == '=' && last && k >= 2) {
                ++padding;
                v <<= 6;
            } else if (padding > 0 || c == '\0' || value == std::string::npos) {
                return false;
            } else {
                v = (v << 6) | static_cast<unsigned>(value);
            }
        }
        bytes.push_back(static_cast<char>(v >> 16));
        if (padding < 2) bytes.push_back(static_cast<char>(v >> 8));
        if (padding < 1) bytes.push_back(static_cast<char>(v));
    }
    return true;
}

std::string upToNul(const std::string& text) { return text.substr(0, text.find('\0')); }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    const bool nvr = input.ConsumeBool();
    const std::string bytes = input.ConsumeRemainingBytesAsString();

    DeviceTablePo record;
    // Round trip of the bytes as a plain password.
    if (nvr) {
        record.setEncodeNvrPwd(bytes);
    } else {
        record.setEncodeDevLoginPwd(bytes);
    }
    const std::string stored = nvr ? record.getNvrPwd() : record.getDevLoginPwd();
    if (stored != referenceEncode(bytes)) {
        fuzz_harness::fail("stored text is not the standard base64 of the password");
    }
    const std::string back = nvr ? record.getDecodeNvrPwd() : record.getDecodeDevLoginPwd();
    if (back != upToNul(bytes)) {
        fuzz_harness::fail("password did not come back from its base64 text");
    }

    // The same bytes as a stored field, decoded.
    if (nvr) {
        record.setNvrPwd(bytes);
    } else {
        record.setDevLoginPwd(bytes);
    }
    const std::string decoded = nvr ? record.getDecodeNvrPwd() : record.getDecodeDevLoginPwd();
    std::string expected;
    if (!referenceDecode(bytes, expected)) {
        expected.clear();
    }
    if (decoded != upToNul(expected)) {
        fuzz_harness::fail("arbitrary text decoded differently from a standard decoder");
    }
    return 0;
}
