#include "ZkDb/tables/RowMapping.h"

#include <climits>

namespace zkdb {
namespace frame {

namespace {

bool isSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

}  // namespace

int parseInt(const std::string& text) {
    std::size_t i = 0;
    const std::size_t n = text.size();
    while (i < n && isSpace(text[i])) ++i;
    bool negative = false;
    if (i < n && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    if (i == n || text[i] < '0' || text[i] > '9') {
        return 0;
    }
    // Accumulate the magnitude, saturating just past the int range.
    const long long limit = negative ? -static_cast<long long>(INT_MIN) : INT_MAX;
    long long magnitude = 0;
    for (; i < n && text[i] >= '0' && text[i] <= '9'; ++i) {
        magnitude = magnitude * 10 + (text[i] - '0');
        if (magnitude > limit) {
            return negative ? INT_MIN : INT_MAX;
        }
    }
    return static_cast<int>(negative ? -magnitude : magnitude);
}

}  // namespace frame
}  // namespace zkdb
