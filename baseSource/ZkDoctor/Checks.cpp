#include "Checks.h"

#include <sqlite3.h>

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

// What keeps a path from being the directory or file the library needs,
// or empty text when nothing does.
std::string problemOf(const PathFacts& facts, Kind wanted) {
    if (facts.kind == Kind::kMissing) return "does not exist";
    if (facts.kind == Kind::kUnknown) return "cannot be examined: " + facts.error;
    if (facts.kind != wanted) {
        return wanted == Kind::kDirectory       ? "is not a directory"
               : facts.kind == Kind::kDirectory ? "is a directory, not a database file"
                                                : "is not a regular file";
    }
    if (!facts.readable) return "cannot be read by this user";
    if (!facts.writable && wanted == Kind::kDirectory) {
        return "this user cannot create files in it: SQLite can create neither harbor.db nor its "
               "journal, so every add, del and update fails";
    }
    if (!facts.writable) return "cannot be written by this user: every add, del and update fails";
    return std::string();
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
    explicit Doctor(const Options& options) : m_options(options) {}

    std::vector<Check> run() {
        if (locate() && examineFiles() && open() && quickCheck()) {
            checkTables();
        }
        return std::move(m_checks);
    }

private:
    void add(std::string name, Status status, std::string detail) {
        m_checks.push_back(Check{std::move(name), status, std::move(detail)});
    }

    // A passed check when `problem` is empty, a failed one otherwise.
    void judge(const char* name, const std::string& problem, const std::string& fine) {
        add(name, problem.empty() ? Status::kOk : Status::kFail, problem.empty() ? fine : problem);
    }

    // Opens `name` into `db`, or reports why not under `check`.
    bool openInto(Database& db, const std::string& name, int flags, const char* check) {
        sqlite3* raw = nullptr;
        const int opened = sqlite3_open_v2(name.c_str(), &raw, flags, nullptr);
        db.reset(raw);
        if (opened != SQLITE_OK) {
            add(check, Status::kFail, raw == nullptr ? "out of memory" : sqlite3_errmsg(raw));
        }
        return opened == SQLITE_OK;
    }

    // The path exactly as the access classes form it: the loaded SQLite
    // library's directory, read through the library's own bound, followed
    // by the file name, converted to UTF-8.
    bool locate() {
        const std::string library = loadedSqliteFile();
        const std::string version = std::string("SQLite ") + sqlite3_libversion();
        if (library.empty()) {
            add("sqlite library", Status::kWarn,
                "file name unknown, so the library looks for harbor.db in the working directory; " +
                    version);
        } else {
            std::string shown;
            zkdb::platform::narrowToUtf8(library, shown);
            add("sqlite library", Status::kInfo, shown + ", " + version);
            // Copied beside a host, the doctor loads the host's SQLite; one
            // loaded from elsewhere (say the system's) puts harbor.db there.
            std::error_code error;
            const fs::path beside = programDirectory();
            if (!m_options.haveFile && !beside.empty() &&
                !fs::equivalent(fs::path(library).parent_path(), beside, error)) {
                add("sqlite beside program", Status::kWarn,
                    "no: a host that ships its own SQLite library beside its executable loads "
                    "that one; with this one, harbor.db lives in the SQLite library's directory");
            }
        }
        const std::string narrow = m_options.haveFile ? m_options.file
                                                      : zkdb::platform::sqliteLibraryDirectory() +
                                                            zkdb::frame::kDatabaseFile;
        if (!zkdb::platform::narrowToUtf8(narrow, m_path)) {
            add("database path", Status::kFail, "cannot be converted to UTF-8: open() fails");
            return false;
        }
        add(m_options.haveFile ? "database path (--file)" : "database path", Status::kInfo, m_path);
        if (!m_options.haveFile && !library.empty()) {
            const std::size_t bound = zkdb::platform::kModulePathBound - 1;
            const std::string length = "the SQLite library's file name has " +
                                       std::to_string(library.size()) + " characters";
            judge("path bound",
                  library.size() <= bound
                      ? ""
                      : length + ", the library reads " + std::to_string(bound) +
                            ", so harbor.db is sought in the wrong "
                            "directory: install the host in a shorter one",
                  length + ", within " + std::to_string(bound));
        }
        m_file = fs::u8path(m_path);
        return true;
    }

    bool examineFiles() {
        fs::path directory = m_file.parent_path();
        if (directory.empty()) {
            directory = ".";
        }
        const std::string directoryProblem = problemOf(examine(directory), Kind::kDirectory);
        judge("directory",
              directoryProblem.empty() ? "" : directory.u8string() + ": " + directoryProblem,
              directory.u8string() + ": readable and writable");

        const PathFacts file = examine(m_file);
        const bool create = m_options.createMissing && file.kind == Kind::kMissing;
        const std::string fileProblem = problemOf(file, Kind::kFile);
        if (create) {
            add("file", Status::kInfo, "does not exist yet: creating it");
        } else {
            judge("file",
                  file.kind == Kind::kMissing
                      ? "does not exist: the host's first operation creates it empty, without "
                        "tables (--create-missing creates it with them)"
                      : fileProblem,
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
        } else if (directoryProblem.empty() && fileProblem.empty()) {
            add("journal", Status::kWarn,
                waiting +
                    " waiting: a writer stopped in mid-transaction (or one is running); "
                    "the next connection that writes rolls it back");
        } else {
            add("journal", Status::kFail,
                waiting + " waiting, and this user cannot write here to roll it back");
        }
        return create || file.kind == Kind::kFile;
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
        int flags = m_options.createMissing ? SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE
                                            : SQLITE_OPEN_READONLY;
        std::string name = m_path;
        if (!m_options.createMissing && walWithoutCompanions()) {
            name = fileUri(m_file) + "?immutable=1";
            flags |= SQLITE_OPEN_URI;
        }
        if (!openInto(m_db, name, flags, "open")) {
            return false;
        }
        sqlite3_busy_timeout(m_db.get(), kBusyMilliseconds);
        return true;
    }

    bool quickCheck() {
        std::string first;
        std::size_t rows = 0;
        std::string error;
        const auto keep = [&](const char* text) { first = rows++ == 0 ? text : first; };
        if (!eachRow(m_db.get(), "PRAGMA quick_check", nullptr, keep, error)) {
            add("integrity", Status::kFail,
                "cannot be read: " + error +
                    (sqlite3_errcode(m_db.get()) == SQLITE_BUSY ? " (another process holds it)"
                                                                : ""));
            return false;
        }
        const std::string more = rows > 1 ? " (and " + std::to_string(rows - 1) + " more)" : "";
        judge("integrity", rows == 1 && first == "ok" ? "" : "quick_check: " + first + more,
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
            if (columnsOf(table, present, error) && present.empty() && m_options.createMissing) {
                created = createTable(table, error) && columnsOf(table, present, error);
            }
            if (!error.empty()) {
                add(name, Status::kFail, (present.empty() ? "missing; " : "") + error);
                return;
            }
            if (present.empty()) {
                add(name, Status::kFail, "missing (--create-missing creates it)");
                return;
            }
            std::string missing;
            std::set<std::string> extra = present;
            for (const auto& column : columns) {
                if (present.count(column.name) == 0) {
                    missing += (missing.empty() ? "" : ", ") + std::string(column.name);
                }
                extra.erase(column.name);
            }
            if (!missing.empty()) {
                add(name, Status::kFail,
                    "lacks column(s) the library's statements name: " + missing);
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
    std::vector<Check> m_checks;
    std::string m_path;  // UTF-8, as SQLite receives it
    fs::path m_file;
    Database m_db{nullptr, &sqlite3_close};
    Database m_reference{nullptr, &sqlite3_close};
};

}  // namespace

std::vector<Check> runChecks(const Options& options) { return Doctor(options).run(); }

}  // namespace doctor
