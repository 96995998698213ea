// zkdb-doctor: where is a host's harbor.db, and what is wrong with it.
// Given the host's executable (--host), it finds the SQLite library that
// host loads; copied beside a host's executable (with the libraries the host
// ships), it loads the same SQLite library the host loads. Either way it
// resolves the path with the library's own functions.
//
// Exit codes: 0 everything the library needs is in place, 1 something is
// wrong (or --create-missing refused), 2 usage error.

#include <cstdio>
#include <exception>
#include <string>
#include <vector>

#include "Checks.h"
#include "DoctorPlatform.h"
#include "Report.h"

namespace {

constexpr int kHealthy = 0;
constexpr int kProblems = 1;
constexpr int kUsageError = 2;

const char kUsage[] =
    "usage: zkdb-doctor [--host EXE] [--data-dir DIR] [--file PATH] [--create-missing]\n"
    "                   [--user NAME] [--json]\n"
    "\n"
    "Checks the harbor.db that ZkDb's access classes use: where it is, whether this\n"
    "user may read and write it, whether it is a sound database with every table\n"
    "and column the library needs; every failure with its fix. Changes nothing\n"
    "unless --create-missing is given.\n"
    "\n"
    "  --host EXE         the host's executable: check the harbor.db beside the\n"
    "                     SQLite library it loads (without it: beside the one\n"
    "                     this program loads, as when it is copied beside a host)\n"
    "  --data-dir DIR     as if ZKDB_DATA_DIR were DIR (a service sets it in its\n"
    "                     unit file, not in this shell)\n"
    "  --file PATH        check PATH instead (a copy taken from the field)\n"
    "  --create-missing   create the file and the missing tables from the\n"
    "                     reference schema; nothing else is changed, nothing in a\n"
    "                     system library directory\n"
    "  --user NAME        as root: the user the host runs as, who gets the file\n"
    "                     (by default the directory's owner)\n"
    "  --json             one JSON object instead of lines\n"
    "  --help             this text\n"
    "\n"
    "Exit code: 0 everything is in place, 1 something is wrong, 2 usage error.\n";

int usageError(const std::string& message) {
    doctor::writeText(stderr, "zkdb-doctor: " + message + "\n\n" + kUsage);
    return kUsageError;
}

}  // namespace

int main(int argc, char** argv) {
    doctor::Options options;
    bool json = false;
    const std::vector<std::string> arguments = doctor::arguments(argc, argv);
    for (std::size_t i = 1; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        std::string* value = argument == "--file"       ? &options.file
                             : argument == "--host"     ? &options.host
                             : argument == "--data-dir" ? &options.dataDir
                             : argument == "--user"     ? &options.user
                                                        : nullptr;
        if (argument == "--help" || argument == "-h") {
            doctor::writeText(stdout, kUsage);
            return kHealthy;
        } else if (argument == "--json") {
            json = true;
        } else if (argument == "--create-missing") {
            options.createMissing = true;
        } else if (value == nullptr) {
            return usageError("unknown option '" + argument + "'");
        } else if (i + 1 >= arguments.size() || arguments[i + 1].empty()) {
            return usageError(argument + " needs a value");
        } else {
            *value = arguments[++i];
        }
    }
    try {
        const std::vector<doctor::Check> checks = doctor::runChecks(options);
        doctor::writeText(stdout, json ? doctor::formatJson(checks) : doctor::formatText(checks));
        return doctor::healthy(checks) ? kHealthy : kProblems;
    } catch (const std::exception& error) {  // out of memory: say so, never abort
        doctor::writeText(stderr, std::string("zkdb-doctor: ") + error.what() + "\n");
        return kProblems;
    }
}
