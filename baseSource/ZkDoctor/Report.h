#ifndef ZKDOCTOR_REPORT_H
#define ZKDOCTOR_REPORT_H

// The doctor's two ways of telling what it found: lines for a person, one
// per check with a verdict at the end, or one JSON object for scripts.

#include <cstdio>
#include <vector>

#include "Checks.h"

namespace doctor {

/// True when no check failed: everything the library needs is in place.
bool healthy(const std::vector<Check>& checks);

void printText(const std::vector<Check>& checks, std::FILE* out);

/// {"healthy": bool, "checks": [{"name", "status", "detail"}...]}, with
/// status one of "info", "ok", "warn", "fail".
void printJson(const std::vector<Check>& checks, std::FILE* out);

}  // namespace doctor

#endif  // ZKDOCTOR_REPORT_H
