#include "ZkDb/tables/TableFrame.h"

#include <climits>
#include <cstring>

#include "ZkDb/storage/SqliteDataBase.h"

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

bool isSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
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

int prepare(DataBase*& handle) {
    if (handle == nullptr) {
        handle = new SqliteDataBase();
    }
    return handle->open(kDatabaseFile) == 0 ? 0 : -1;
}

int execute(DataBase*& handle, Write write, const std::string& sql) {
    if (prepare(handle) != 0) {
        return -1;
    }
    const int result =
        write == Write::Insert ? handle->insert(sql.c_str()) : handle->update(sql.c_str());
    return result == 0 ? 0 : -1;
}

bool query(DataBase*& handle, const char* sql, ResultRows& rows) {
    if (prepare(handle) != 0) {
        return false;
    }
    rows = handle->query(sql);
    return true;
}

void release(DataBase*& handle) {
    delete handle;
    handle = nullptr;
}

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
