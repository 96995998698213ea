#include "ZkDb/tables/PasswordCodec.h"

#include <climits>
#include <cstring>
#include <memory>

#include "ZkLib/StringUtil.h"

namespace zkdb {
namespace password {
namespace {

using Routine = bool (*)(unsigned char*, int, unsigned char**, int*);

// Size of the zero-filled buffer the record hands to the utility module.
constexpr std::size_t kBufferSize = 200;

// Calls one of the utility module's base64 routines the way records always
// have: with a zero-filled buffer of the record's own, whose pointer the
// routine replaces with a result it allocated itself. The record keeps and
// releases its own buffer; the routine's result is released through the
// module. The text is taken up to its first NUL.
std::string transform(Routine routine, const std::string& input) {
    std::unique_ptr<unsigned char[]> own(new unsigned char[kBufferSize]());
    if (input.size() > static_cast<std::size_t>(INT_MAX)) {
        return std::string();
    }
    unsigned char* buffer = own.get();
    int outputLength = 0;
    // The routines only read their input.
    auto* bytes = reinterpret_cast<unsigned char*>(const_cast<char*>(input.data()));
    routine(bytes, static_cast<int>(input.size()), &buffer, &outputLength);
    std::string result;
    if (buffer == own.get()) {
        // Left in the record's own buffer: never read past its end.
        const char* text = reinterpret_cast<const char*>(buffer);
        result.assign(text, ::strnlen(text, kBufferSize));
    } else if (buffer != nullptr) {
        result = reinterpret_cast<const char*>(buffer);
    }
    if (buffer != own.get()) {
        StringUtil::data_base64_free(buffer);
    }
    return result;
}

}  // namespace

std::string encode(const std::string& plain) {
    return transform(&StringUtil::data_base64_encode, plain);
}

std::string decode(const std::string& encoded) {
    return transform(&StringUtil::data_base64_decode, encoded);
}

}  // namespace password
}  // namespace zkdb
