#include "ZkDb/tables/SqlStatement.h"

#include <cstring>

namespace zkdb {
namespace frame {

namespace {

// Appends the value's characters up to its first NUL, each quote doubled,
// in runs between quotes.
void appendText(std::string& out, const std::string& value) {
    const char* p = value.data();
    const void* nul = std::memchr(p, '\0', value.size());
    const char* end = nul != nullptr ? static_cast<const char*>(nul) : p + value.size();
    while (p != end) {
        const void* quote = std::memchr(p, '\'', static_cast<std::size_t>(end - p));
        if (quote == nullptr) {
            out.append(p, end);
            return;
        }
        const char* after = static_cast<const char*>(quote) + 1;
        out.append(p, after);
        out.push_back('\'');
        p = after;
    }
}

void appendNumber(std::string& out, int number) {
    char digits[16];
    char* end = digits + sizeof(digits);
    char* p = end;
    // Work on the negative side so INT_MIN needs no special case.
    int rest = number < 0 ? number : -number;
    do {
        *--p = static_cast<char>('0' - rest % 10);
        rest /= 10;
    } while (rest != 0);
    if (number < 0) {
        *--p = '-';
    }
    out.append(p, end);
}

}  // namespace

std::string formStatement(const char* pattern, std::initializer_list<SqlValue> values) {
    std::string out;
    std::size_t size = std::strlen(pattern);
    for (const SqlValue& value : values) {
        size += value.text() != nullptr ? value.text()->size() + 2 : 11;
    }
    out.reserve(size);

    auto next = values.begin();
    const char* p = pattern;
    while (*p != '\0') {
        // The fixed text up to the next '%' goes in as one run.
        const char* percent = std::strchr(p, '%');
        if (percent == nullptr) {
            out.append(p);
            break;
        }
        out.append(p, percent);
        const char kind = percent[1];
        if (kind != 's' && kind != 'd' && kind != '%') {
            out.push_back('%');  // a lone '%' stands as it is
            p = percent + 1;
            continue;
        }
        p = percent + 2;
        if (kind == '%') {
            out.push_back('%');
        } else if (next != values.end()) {
            if (next->text() != nullptr) {
                appendText(out, *next->text());
            } else {
                appendNumber(out, next->number());
            }
            ++next;
        }
    }
    return out;
}

}  // namespace frame
}  // namespace zkdb
