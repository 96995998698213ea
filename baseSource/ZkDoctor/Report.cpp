#include "Report.h"

#include <algorithm>
#include <string>

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

void printText(const std::vector<Check>& checks, std::FILE* out) {
    std::size_t failed = 0;
    std::size_t warned = 0;
    for (const Check& check : checks) {
        failed += check.status == Status::kFail ? 1 : 0;
        warned += check.status == Status::kWarn ? 1 : 0;
        std::fprintf(out, "%-6s %-22s %s\n",
                     ("[" + std::string(statusName(check.status)) + "]").c_str(),
                     check.name.c_str(), check.detail.c_str());
    }
    const std::string warnings = warned == 0 ? "" : " (" + std::to_string(warned) + " warning(s))";
    if (failed == 0) {
        std::fprintf(out, "verdict: everything the library needs is in place%s\n",
                     warnings.c_str());
    } else {
        std::fprintf(
            out,
            "verdict: %zu problem(s) found%s; the host's operations fail until they are mended\n",
            failed, warnings.c_str());
    }
}

void printJson(const std::vector<Check>& checks, std::FILE* out) {
    std::string json =
        std::string("{\"healthy\": ") + (healthy(checks) ? "true" : "false") + ", \"checks\": [";
    for (std::size_t i = 0; i < checks.size(); ++i) {
        json += (i == 0 ? "\n  {\"name\": " : ",\n  {\"name\": ") + quoted(checks[i].name) +
                ", \"status\": " + quoted(statusName(checks[i].status)) +
                ", \"detail\": " + quoted(checks[i].detail) + "}";
    }
    json += "\n]}\n";
    std::fputs(json.c_str(), out);
}

}  // namespace doctor
