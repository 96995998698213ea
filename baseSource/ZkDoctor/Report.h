#ifndef ZKDOCTOR_REPORT_H
#define ZKDOCTOR_REPORT_H

// The doctor's two ways of telling what it found: lines for a person, one
// per check (and one more with the fix of a failure) with a verdict at the
// end, or one JSON object for scripts. Both in UTF-8.

#include <string>
#include <vector>

#include "Checks.h"

namespace doctor {

/// True when no check failed: everything the library needs is in place.
bool healthy(const std::vector<Check>& checks);

std::string formatText(const std::vector<Check>& checks);

/// {"healthy": bool, "checks": [{"name", "status", "detail"[, "fix"]}...]},
/// with status one of "info", "ok", "warn", "fail".
std::string formatJson(const std::vector<Check>& checks);

}  // namespace doctor

#endif  // ZKDOCTOR_REPORT_H
