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
    std::string fix;  // for a failure: what mends it, in one line
};

// Text in UTF-8; an empty text is an option not given.
struct Options {
    bool createMissing = false;  // create the missing tables (and the file)
    std::string file;            // check this file instead of the library's path
    std::string host;            // the executable whose SQLite library decides the path
    std::string dataDir;         // stands for ZKDB_DATA_DIR, as a service's unit file sets it
    std::string user;            // the user the host runs as, who gets a file created as root
};

/// Runs every check that applies, in order, and returns one entry each.
/// Changes nothing unless `createMissing` is set; then it creates only the
/// missing file and tables, from the reference schema, never in a system
/// library directory, and as root gives a file it creates to the host's
/// user (or refuses to create it).
std::vector<Check> runChecks(const Options& options);

}  // namespace doctor

#endif  // ZKDOCTOR_CHECKS_H
