// zkdb-doctor: where is the host's harbor.db, and what is wrong with it.
// Copied beside a host's executable (with the libraries the host ships), it
// loads the same SQLite library the host loads and so finds the same file.
//
// Exit codes: 0 everything the library needs is in place, 1 something is
// wrong, 2 usage error.

#include <cstdio>
#include <cstring>
#include <exception>
#include <string>

#include "Checks.h"
#include "Report.h"

namespace {

constexpr int kHealthy = 0;
constexpr int kProblems = 1;
constexpr int kUsageError = 2;

const char kUsage[] =
    "usage: zkdb-doctor [--file PATH] [--create-missing] [--json]\n"
    "\n"
    "Checks the harbor.db that ZkDb's access classes use in this process (beside\n"
    "the SQLite library it loaded): where it is, whether this user may read and\n"
    "write it, whether it is a sound database with every table and column the\n"
    "library needs. Changes nothing unless --create-missing is given.\n"
    "\n"
    "  --file PATH        check PATH instead (a copy taken from the field)\n"
    "  --create-missing   create the file and the missing tables from the\n"
    "                     reference schema; nothing else is changed\n"
    "  --json             one JSON object instead of lines\n"
    "  --help             this text\n"
    "\n"
    "Exit code: 0 everything is in place, 1 something is wrong, 2 usage error.\n";

int usageError(const std::string& message) {
    std::fprintf(stderr, "zkdb-doctor: %s\n\n%s", message.c_str(), kUsage);
    return kUsageError;
}

}  // namespace

int main(int argc, char** argv) {
    doctor::Options options;
    bool json = false;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument == "--help" || argument == "-h") {
            std::fputs(kUsage, stdout);
            return kHealthy;
        } else if (argument == "--json") {
            json = true;
        } else if (argument == "--create-missing") {
            options.createMissing = true;
        } else if (argument == "--file") {
            if (i + 1 >= argc || std::strlen(argv[i + 1]) == 0) {
                return usageError("--file needs a path");
            }
            options.haveFile = true;
            options.file = argv[++i];
        } else {
            return usageError("unknown option '" + argument + "'");
        }
    }
    try {
        const std::vector<doctor::Check> checks = doctor::runChecks(options);
        (json ? doctor::printJson : doctor::printText)(checks, stdout);
        return doctor::healthy(checks) ? kHealthy : kProblems;
    } catch (const std::exception& error) {  // out of memory: say so, never abort
        std::fprintf(stderr, "zkdb-doctor: %s\n", error.what());
        return kProblems;
    }
}
