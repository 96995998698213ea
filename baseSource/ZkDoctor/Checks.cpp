#include "Checks.h"

#include <sqlite3.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <set>
#include <utility>

#include "DoctorPlatform.h"
#include "HarborSchema.h"
#include "ZkDb/platform/Platform.h"
#include "ZkDb/tables/TableColumns.h"
#include "ZkDb/tables/TableFrame.h"

namespace doctor {
namespace {

namespace fs = std::filesystem;
using Database = std::unique_ptr<sqlite3, decltype(&sqlite3_close)>;
using Statement = std::unique_ptr<sqlite3_stmt, decltype(&sqlite3_finalize)>;

// How long a read waits for another connection's lock before the file is
// reported as locked.
constexpr int kBusyMilliseconds = 2000;

// Runs `sql`, with `bound` as ?1 when it is not null, and hands the first
// column of each row to `row`. Returns false with SQLite's message on error.
template <class Row>
bool eachRow(sqlite3* db, const char* sql, const char* bound, Row&& row, std::string& error) {
    sqlite3_stmt* raw = nullptr;
    const int prepared = sqlite3_prepare_v2(db, sql, -1, &raw, nullptr);
    Statement statement(raw, &sqlite3_finalize);
    if (prepared == SQLITE_OK && bound != nullptr) {
        sqlite3_bind_text(raw, 1, bound, -1, SQLITE_STATIC);
    }
    int step = prepared;
    while (prepared == SQLITE_OK && (step = sqlite3_step(raw)) == SQLITE_ROW) {
        const unsigned char* text = sqlite3_column_text(raw, 0);
        row(text == nullptr ? "" : reinterpret_cast<const char*>(text));
    }
    if (step != SQLITE_DONE) {
        error = sqlite3_errmsg(db);
        return false;
    }
    return true;
}

#if defined(_WIN32)
const char kBytes[] = " bytes in the ANSI code page";
const char kShipSqlite[] = "ship sqlite3.dll beside the host's executable";
#else
const char kBytes[] = " bytes";
const char kShipSqlite[] = "ship libsqlite3.so.0 beside the host's libZkDb.so.1 (RUNPATH $ORIGIN)";
#endif
const char kSetDataDir[] =
    "set ZKDB_DATA_DIR for the host (a service: in its unit file; check it here with "
    "--data-dir DIR)";

const char kRollBack[] =
    "let the host (or any writer) run as a user who may write here: its next write rolls the "
    "journal back";

// Why a path is not the directory or file the library needs, and what mends
// that; both empty when nothing is wrong.
struct Problem {
    std::string what;
    std::string fix;
};

// What this user lacks on `path`, and how to give it.
std::string grant(const std::string& what, const std::string& path, const PathFacts& facts) {
    const std::string user = currentUser();
    const std::string owner = facts.owner.empty() || facts.owner == user
                                  ? ""
                                  : " (owned by " + facts.owner + "): chown " + user + " \"" +
                                        path + "\", or run the host as " + facts.owner;
    return user + " (this user) needs " + what + " on \"" + path + "\"" + owner;
}

Problem problemOf(const PathFacts& facts, Kind wanted, const std::string& path) {
    const bool directory = wanted == Kind::kDirectory;
    if (facts.kind == Kind::kMissing) {
        return {"does not exist", "create it, writable by the user the host runs as"};
    }
    if (facts.kind == Kind::kUnknown) {
        return {"cannot be examined: " + facts.error,
                currentUser() + " (this user) needs search permission on every directory above it"};
    }
    if (facts.kind != wanted) {
        return {directory                        ? "is not a directory"
                : facts.kind == Kind::kDirectory ? "is a directory, not a database file"
                                                 : "is not a regular file",
                "move it aside: the host needs a " +
                    std::string(directory ? "directory" : "database file") + " there"};
    }
    if (!facts.readable || !facts.writable) {
        return {!facts.readable ? "cannot be read by this user"
                : directory     ? "this user cannot create files in it: SQLite can create "
                                  "neither harbor.db nor its journal, so every add, del and "
                                  "update fails"
                                : "cannot be written by this user: every add, del and update fails",
                grant(directory ? "write and search permission" : "read and write permission", path,
                      facts)};
    }
    return Problem();
}

// A URI naming `file`, with what a URI's path may not hold percent-encoded.
std::string fileUri(const fs::path& file) {
    std::string uri = "file:";
    for (const char c : file.generic_u8string()) {
        uri += c == '%' ? "%25" : c == '?' ? "%3f" : c == '#' ? "%23" : std::string(1, c);
    }
    return uri;
}

class Doctor {
public:
    explicit Doctor(const Options& options) : m_options(options), m_change(options.createMissing) {}

    std::vector<Check> run() {
        if (locate() && examineFiles() && open() && quickCheck()) {
            checkTables();
        }
        return std::move(m_checks);
    }

private:
    void add(std::string name, Status status, std::string detail, std::string fix = "") {
        m_checks.push_back(Check{std::move(name), status, std::move(detail), std::move(fix)});
    }

    // A passed check when there is no problem, a failed one otherwise.
    void judge(const char* name, const std::string& where, const Problem& problem,
               const std::string& fine) {
        if (problem.what.empty()) {
            add(name, Status::kOk, where + fine);
        } else {
            add(name, Status::kFail, where + problem.what, problem.fix);
        }
    }

    // Opens `name` into `db`, or reports why not under `check`.
    bool openInto(Database& db, const std::string& name, int flags, const char* check) {
        sqlite3* raw = nullptr;
        const int opened = sqlite3_open_v2(name.c_str(), &raw, flags, nullptr);
        db.reset(raw);
        if (opened != SQLITE_OK) {
            add(check, Status::kFail, raw == nullptr ? "out of memory" : sqlite3_errmsg(raw),
                "check that this user may read the file and its directory");
        }
        return opened == SQLITE_OK;
    }

    // The path exactly as the access classes form it, through the library's
    // own functions: the data directory override when it is set, else the
    // SQLite library's directory, followed by the file name, in UTF-8.
    bool locate() {
        if (!m_options.file.empty()) {
            m_path = m_options.file;
            add("database path (--file)", Status::kInfo, m_path);
        } else {
            std::string directory;
            if (!dataDirectory(directory) && !libraryDirectory(directory)) {
                return false;
            }
            m_path = directory + zkdb::frame::kDatabaseFile;
            add("database path", Status::kInfo, m_path);
        }
        m_file = fs::u8path(m_path);
        return true;
    }

    // ZKDB_DATA_DIR as the library reads it; --data-dir sets it first.
    bool dataDirectory(std::string& directory) {
        const bool given = !m_options.dataDir.empty();
        if (given) {
            setDataDirectory(m_options.dataDir);
        }
        if (!zkdb::platform::dataDirectoryOverride(directory)) {
            return false;
        }
        add("path rule", Status::kInfo,
            std::string(zkdb::platform::kDataDirVariable) +
                (given ? " (from --data-dir)" : " (from the environment)") + ": " + directory);
        return true;
    }

    // The SQLite library's directory: the host's library, or this program's.
    bool libraryDirectory(std::string& directory) {
        const bool host = !m_options.host.empty();
        ModuleFile library;
        std::string error;
        if (host && examine(fs::u8path(m_options.host)).kind != Kind::kFile) {
            add("host", Status::kFail, m_options.host + ": no such file",
                "give --host the path of the host's executable");
            return false;
        }
        if (host && !hostSqliteFile(m_options.host, library, error)) {
            add("sqlite library", Status::kFail, error,
                "check that the host starts as it is installed: " + std::string(kShipSqlite));
            return false;
        }
        library = host ? library : loadedSqliteFile();
        if (library.utf8.empty()) {
            add("sqlite library", Status::kWarn,
                "file name unknown, so the library looks for harbor.db in the working directory");
        } else {
            add("sqlite library", Status::kInfo,
                library.utf8 + ", " + (host ? kHostLookup : kOwnLookup) +
                    (host ? "" : std::string(", SQLite ") + sqlite3_libversion()));
        }
        add("path rule", Status::kInfo,
            "the SQLite library's directory (ZKDB_DATA_DIR is not set)");
        const std::string narrow =
            host ? zkdb::platform::directoryOfModule(library.narrow.c_str(), kSeparator)
                 : zkdb::platform::sqliteLibraryDirectory();
        if (!zkdb::platform::narrowToUtf8(narrow, directory)) {
            add("database path", Status::kFail, "cannot be converted to UTF-8: open() fails",
                kSetDataDir);
            return false;
        }
        if (library.utf8.empty()) {
            return true;
        }
        judgeLocation(fs::u8path(library.utf8).parent_path(), host);
        // A directory gone astray is no place to check files in.
        return judgeName(library, directory);
    }

    // The library reads at most 127 bytes of the SQLite library's file name,
    // in the narrow encoding: harbor.db goes astray when that cut reaches the
    // directory part, or when the encoding cannot hold the directory's name.
    // True when the directory is the SQLite library's own.
    bool judgeName(const ModuleFile& library, const std::string& directory) {
        const std::size_t bound = zkdb::platform::kModulePathBound - 1;
        const std::string whole = library.narrow.substr(0, library.narrow.rfind(kSeparator) + 1);
        const std::string real = library.utf8.substr(0, library.utf8.rfind(kSeparator) + 1);
        const std::string length = "the SQLite library's file name has " +
                                   std::to_string(library.narrow.size()) + kBytes +
                                   ", the library reads " + std::to_string(bound);
        if (zkdb::platform::directoryOfModule(library.narrow.c_str(), kSeparator) != whole) {
            add("path bound", Status::kFail,
                length + ": the cut reaches the directory, so harbor.db is sought in " + directory,
                std::string(kSetDataDir) + ", or install the host in a shorter directory");
            return false;
        }
        if (directory != real) {
            add("code page", Status::kFail,
                "the ANSI code page cannot hold the directory name " + real +
                    ": the library reads it as " + directory,
                std::string(kSetDataDir) +
                    ", or install the host in a directory whose name the code page holds");
            return false;
        }
        add("path bound", Status::kOk,
            length +
                (library.narrow.size() > bound ? ": the cut shortens only the file name" : ""));
        return true;
    }

    // A SQLite library in a system library directory puts harbor.db there;
    // one that is not beside the doctor is not the one a host beside it has.
    void judgeLocation(const fs::path& directory, bool host) {
        std::error_code error;
        const fs::path beside = programDirectory();
        if (isSystemLibraryDirectory(directory)) {
            m_systemDirectory = true;
            add("sqlite location", Status::kFail,
                "a system library directory: harbor.db would live there, where a host that is "
                "not root cannot write and one that is root litters the system",
                std::string(kShipSqlite) + ", or " + kSetDataDir +
                    (host ? "" : "; to check a host, give --host EXE"));
        } else if (!host && !beside.empty() && !fs::equivalent(directory, beside, error)) {
            add("sqlite location", Status::kWarn,
                "not beside this program: a host that ships its own SQLite library beside its "
                "executable loads that one; to check a host, give --host EXE");
        }
    }

    bool examineFiles() {
        fs::path directory = m_file.parent_path();
        if (directory.empty()) {
            directory = ".";
        }
        const std::string where = directory.u8string() + ": ";
        const Problem directoryProblem =
            problemOf(examine(directory), Kind::kDirectory, directory.u8string());
        judge("directory", where, directoryProblem, "readable and writable");
        if (m_change && m_systemDirectory) {
            add("create", Status::kFail,
                "refused: nothing is changed in a system library directory",
                std::string(kShipSqlite) + ", or " + kSetDataDir);
            m_change = false;
        }

        const PathFacts file = examine(m_file);
        const Problem fileProblem = problemOf(file, Kind::kFile, m_path);
        const bool missing = file.kind == Kind::kMissing;
        m_created = missing && m_change && mayCreate(directory);
        if (m_created) {
            add("file", Status::kInfo,
                "does not exist yet: creating it" +
                    (m_handover.needed ? " for " + m_handover.user : std::string()));
        } else if (missing && !m_options.file.empty()) {
            add("file", Status::kFail, "no such file", "check the path given to --file");
        } else if (missing && !m_change) {
            add("file", Status::kWarn,
                "does not exist yet: the host's first operation creates it, but without tables "
                "until the host's schema runs" +
                    std::string(m_systemDirectory ? "" : " (--create-missing creates them now)"));
        } else if (!missing) {
            judge("file", "", fileProblem,
                  std::to_string(file.size) + " bytes, readable and writable");
        }

        std::string waiting;
        for (const char* suffix : {"-journal", "-wal"}) {
            const PathFacts journal = examine(fs::u8path(m_path + suffix));
            if (journal.kind == Kind::kFile && journal.size > 0) {
                waiting += (waiting.empty() ? "" : ", ") + m_file.filename().u8string() + suffix;
            }
        }
        if (waiting.empty()) {
            add("journal", Status::kOk, "no hot journal waiting");
        } else if (directoryProblem.what.empty() && fileProblem.what.empty()) {
            add("journal", Status::kWarn,
                waiting +
                    " waiting: a writer stopped in mid-transaction (or one is running); "
                    "the next connection that writes rolls it back");
        } else {
            add("journal", Status::kFail,
                waiting + " waiting, and this user cannot write here to roll it back", kRollBack);
        }
        return m_created || file.kind == Kind::kFile;
    }

    // Whether --create-missing may create the file in `directory`: as root
    // only for a user who can write it, to whom it is then given.
    bool mayCreate(const fs::path& directory) {
        m_handover = handoverFor(directory, m_options.user);
        if (!m_handover.refusal.empty()) {
            add("create", Status::kFail, "refused: " + m_handover.refusal,
                "name the user the host runs as with --user NAME, one who may create files in "
                "\"" +
                    directory.u8string() + "\" (chown NAME it)");
        }
        return m_handover.refusal.empty();
    }

    // A database in WAL mode whose -wal or -shm file is gone: even a
    // read-only connection would create them, so it is read as immutable.
    bool walWithoutCompanions() const {
        char header[20] = {};
        std::ifstream in(m_file, std::ios::binary);
        if (!in.read(header, sizeof header) || header[18] != 2) {
            return false;
        }
        return examine(fs::u8path(m_path + "-wal")).kind != Kind::kFile ||
               examine(fs::u8path(m_path + "-shm")).kind != Kind::kFile;
    }

    bool open() {
        int flags = m_change ? SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE : SQLITE_OPEN_READONLY;
        std::string name = m_path;
        if (!m_change && walWithoutCompanions()) {
            name = fileUri(m_file) + "?immutable=1";
            flags |= SQLITE_OPEN_URI;
        }
        if (!openInto(m_db, name, flags, "open")) {
            return false;
        }
        sqlite3_busy_timeout(m_db.get(), kBusyMilliseconds);
        std::string error;
        if (m_created && m_handover.needed && !handOver(m_file, m_handover, error)) {
            add("owner", Status::kFail, "cannot give the file to " + m_handover.user + ": " + error,
                "chown " + m_handover.user + " \"" + m_path + "\"");
        } else if (m_created && m_handover.needed) {
            add("owner", Status::kOk, "the file is given to " + m_handover.user);
        }
        return true;
    }

    // Keep the damaged file, then restore or recover: one line.
    std::string recovery() const {
        return "stop the host and keep this file (copy it aside); restore a backup copy, or "
               "recover its rows with: sqlite3 \"" +
               m_path + "\" .recover | sqlite3 \"" + m_path +
               ".recovered\" and put that in its place";
    }

    bool quickCheck() {
        std::string first;
        std::size_t rows = 0;
        std::string error;
        const auto keep = [&](const char* text) { first = rows++ == 0 ? text : first; };
        if (!eachRow(m_db.get(), "PRAGMA quick_check", nullptr, keep, error)) {
            // A read-only connection cannot roll back a hot journal.
            const int code = sqlite3_errcode(m_db.get());
            add("integrity", Status::kFail,
                "cannot be read: " + error +
                    (code == SQLITE_BUSY       ? " (another process holds it)"
                     : code == SQLITE_READONLY ? " (a journal waits to be rolled back)"
                                               : ""),
                code == SQLITE_BUSY ? "let the other process finish (or stop it), then check again"
                : code == SQLITE_READONLY ? kRollBack
                                          : recovery());
            return false;
        }
        // SQLite's first row may hold several lines: the report keeps one.
        std::replace(first.begin(), first.end(), '\n', ' ');
        const std::string more = rows > 1 ? " (and " + std::to_string(rows - 1) + " more)" : "";
        judge("integrity", "",
              rows == 1 && first == "ok" ? Problem()
                                         : Problem{"quick_check: " + first + more, recovery()},
              "quick_check: ok");
        return true;
    }

    bool columnsOf(const char* table, std::set<std::string>& names, std::string& error) {
        return eachRow(
            m_db.get(), "SELECT name FROM pragma_table_info(?1)", table,
            [&names](const char* name) { names.insert(name); }, error);
    }

    // Runs the reference schema's CREATE TABLE statement of `table`, and
    // nothing else of the schema: the schema is first run in a private
    // in-memory database, which then gives each table's statement.
    bool createTable(const char* table, std::string& error) {
        std::string create;
        if (!m_reference &&
            (!openInto(m_reference, ":memory:", SQLITE_OPEN_READWRITE, "reference schema") ||
             sqlite3_exec(m_reference.get(), harbor::schemaSql(), nullptr, nullptr, nullptr) !=
                 SQLITE_OK)) {
            error = "the reference schema cannot be read";
            return false;
        }
        if (!eachRow(
                m_reference.get(),
                "SELECT sql FROM sqlite_master WHERE type = 'table' AND name = ?1", table,
                [&create](const char* sql) { create = sql; }, error)) {
            return false;
        }
        if (sqlite3_exec(m_db.get(), create.c_str(), nullptr, nullptr, nullptr) != SQLITE_OK) {
            error = sqlite3_errmsg(m_db.get());
            return false;
        }
        return true;
    }

    void checkTables() {
        zkdb::columns::forEachTable([this](const char* table, const auto& columns) {
            const std::string name = std::string("table ") + table;
            std::set<std::string> present;
            std::string error;
            bool created = false;
            if (columnsOf(table, present, error) && present.empty() && m_change) {
                created = createTable(table, error) && columnsOf(table, present, error);
            }
            if (!error.empty()) {
                add(name, Status::kFail, (present.empty() ? "missing; " : "") + error,
                    m_change ? "this user needs write permission on \"" + m_path + "\""
                             : recovery());
                return;
            }
            if (present.empty()) {
                add(name, Status::kFail, "missing",
                    "zkdb-doctor --create-missing creates it from the reference schema");
                return;
            }
            std::string missing;
            std::string alter;
            std::set<std::string> extra = present;
            for (const auto& column : columns) {
                if (present.count(column.name) == 0) {
                    missing += (missing.empty() ? "" : ", ") + std::string(column.name);
                    alter +=
                        std::string("ALTER TABLE ") + table + " ADD COLUMN " + column.name + ";";
                }
                extra.erase(column.name);
            }
            if (!missing.empty()) {
                add(name, Status::kFail,
                    "lacks column(s) the library's statements name: " + missing,
                    "add them with the sqlite3 shell: " + alter);
                return;
            }
            std::string detail = (created ? "created from the reference schema, all " : "all ") +
                                 std::to_string(std::size(columns)) + " columns";
            for (auto it = extra.begin(); it != extra.end(); ++it) {
                detail += (it == extra.begin() ? "; extra columns (fine): " : ", ") + *it;
            }
            add(name, Status::kOk, detail);
        });
    }

    const Options& m_options;
    bool m_change;                   // may create the file and tables
    bool m_systemDirectory = false;  // the path lies in a system library directory
    bool m_created = false;          // the file is created by this run
    Handover m_handover;             // whom a file created as root is given to
    std::vector<Check> m_checks;
    std::string m_path;  // UTF-8, as SQLite receives it
    fs::path m_file;
    Database m_db{nullptr, &sqlite3_close};
    Database m_reference{nullptr, &sqlite3_close};
};

}  // namespace

std::vector<Check> runChecks(const Options& options) { return Doctor(options).run(); }

}  // namespace doctor
