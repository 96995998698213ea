#include "Report.h"

#include <algorithm>
#include <cstdio>

namespace doctor {
namespace {

const char* statusName(Status status) {
    static const char* const kNames[] = {"info", "ok", "warn", "fail"};  // in Status order
    return kNames[static_cast<int>(status)];
}

// A JSON string literal: quotes, backslashes and control characters
// escaped; other bytes, UTF-8 included, pass unchanged.
std::string quoted(const std::string& text) {
    std::string out = "\"";
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (byte < 0x20) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", byte);
            out += escaped;
        } else {
            out += c;
        }
    }
    return out + '"';
}

}  // namespace

bool healthy(const std::vector<Check>& checks) {
    return std::none_of(checks.begin(), checks.end(),
                        [](const Check& check) { return check.status == Status::kFail; });
}

std::string formatText(const std::vector<Check>& checks) {
    std::size_t failed = 0;
    std::size_t warned = 0;
    std::string text;
    for (const Check& check : checks) {
        failed += check.status == Status::kFail ? 1 : 0;
        warned += check.status == Status::kWarn ? 1 : 0;
        const std::string status = "[" + std::string(statusName(check.status)) + "]";
        text += status + std::string(7 - status.size(), ' ') + check.name +
                std::string(check.name.size() < 23 ? 23 - check.name.size() : 1, ' ') +
                check.detail + "\n";
        text += check.fix.empty() ? "" : "       fix: " + check.fix + "\n";
    }
    const std::string warnings = warned == 0 ? "" : " (" + std::to_string(warned) + " warning(s))";
    return text +
           (failed == 0 ? "verdict: everything the library needs is in place" + warnings
                        : "verdict: " + std::to_string(failed) + " problem(s) found" + warnings +
                              "; the host's operations fail until they are mended") +
           "\n";
}

std::string formatJson(const std::vector<Check>& checks) {
    std::string json =
        std::string("{\"healthy\": ") + (healthy(checks) ? "true" : "false") + ", \"checks\": [";
    for (std::size_t i = 0; i < checks.size(); ++i) {
        json += (i == 0 ? "\n  {\"name\": " : ",\n  {\"name\": ") + quoted(checks[i].name) +
                ", \"status\": " + quoted(statusName(checks[i].status)) +
                ", \"detail\": " + quoted(checks[i].detail) +
                (checks[i].fix.empty() ? "" : ", \"fix\": " + quoted(checks[i].fix)) + "}";
    }
    return json + "\n]}\n";
}

}  // namespace doctor
