#ifndef ZKDOCTOR_CHECKS_H
#define ZKDOCTOR_CHECKS_H

// The doctor's checks: where the library's database file is, and whether it
// holds what the library's statements need.

#include <string>
#include <vector>

namespace doctor {

enum class Status {
    kInfo,  // a fact, neither good nor bad
    kOk,
    kWarn,  // worth knowing, but nothing the host needs is missing
    kFail,  // the host's operations fail, or would, because of this
};

struct Check {
    std::string name;
    Status status;
    std::string detail;
};

struct Options {
    bool createMissing = false;  // create the missing tables (and the file)
    bool haveFile = false;       // check `file` instead of the library's path
    std::string file;            // in the process's narrow encoding
};

/// Runs every check that applies, in order, and returns one entry each.
/// Changes nothing unless `createMissing` is set; then it creates only the
/// missing file and tables, from the reference schema.
std::vector<Check> runChecks(const Options& options);

}  // namespace doctor

#endif  // ZKDOCTOR_CHECKS_H
