#!/usr/bin/env bash
# Runs zkdb-doctor the way a support engineer does: copied beside the
# libraries a host ships, in a scratch directory of its own, against
# databases made with the sqlite3 shell. Checks the exit codes and that
# nothing changes unless --create-missing is given.
#
#   doctor_test.sh SCHEMA DOCTOR LIBRARY... [-- EMULATOR...]
#
# Without an emulator the SQLite library the doctor links is copied beside
# it too; with one (Wine), the libraries given are all it needs.
set -euo pipefail

schema=$1
shift
files=()
while [ $# -gt 0 ] && [ "$1" != -- ]; do
    files+=("$1")
    shift
done
[ $# -gt 0 ] && shift
emulator=("$@")
command -v sqlite3 >/dev/null || { echo "the sqlite3 shell is missing (Debian package sqlite3)"; exit 1; }

# A short scratch path, whatever the checkout's: the library reads only 127
# characters of its SQLite library's file name.
scratch=$(mktemp -d "${TMPDIR:-/tmp}/zkdb-doctor-XXXXXX")
trap 'chmod -R u+w "$scratch"; rm -rf "$scratch"' EXIT
chmod 755 "$scratch"
host=$scratch/host
mkdir "$host"
cp "${files[@]}" "$host/"
if [ ${#emulator[@]} -eq 0 ]; then
    cp "$(ldd "${files[0]}" | awk '/libsqlite3\.so/ { print $3; exit }')" "$host/"
fi
doctor=./$(basename "${files[0]}")
cd "$host"

failures=0
fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}
# expect CODE WHAT ARGUMENTS...: runs the doctor, keeps its output in out.txt.
expect() {
    local want=$1 what=$2 got=0
    shift 2
    "${emulator[@]}" "$doctor" "$@" >"$scratch/out.txt" 2>&1 || got=$?
    if [ "$got" = "$want" ]; then
        echo "ok: $what"
    else
        fail "$what: exit code $got, expected $want"
        cat "$scratch/out.txt"
    fi
}
tables() { sqlite3 "$1" "SELECT count(*) FROM sqlite_master WHERE type = 'table'"; }

sqlite3 good.db <"$schema"
sqlite3 good.db "INSERT INTO tb_device (dev_id) VALUES ('cam-1')"
cp good.db no-table.db
sqlite3 no-table.db "DROP TABLE tb_param"
cp good.db no-column.db
sqlite3 no-column.db "ALTER TABLE tb_device DROP COLUMN snapshot_url; ALTER TABLE tb_param ADD COLUMN spare"
head -c 3000 /dev/zero | tr '\0' 'x' >garbage.db
cp garbage.db garbage.orig

expect 0 "good file" --file good.db
expect 1 "missing table" --file no-table.db
expect 0 "missing table created" --file no-table.db --create-missing
[ "$(tables no-table.db)" = 6 ] || fail "--create-missing left $(tables no-table.db) tables"
[ "$(sqlite3 no-table.db 'SELECT dev_id FROM tb_device')" = cam-1 ] || fail "--create-missing changed tb_device"
expect 1 "missing column" --file no-column.db
expect 1 "missing column is not created" --file no-column.db --create-missing
grep -q snapshot_url "$scratch/out.txt" || fail "the missing column is not named"
expect 1 "garbage" --file garbage.db
cmp -s garbage.db garbage.orig || fail "garbage was changed"
expect 1 "missing file" --file absent.db
[ ! -e absent.db ] || fail "a missing file was created"
expect 1 "a directory" --file .
expect 1 "no harbor.db beside the SQLite library"
[ ! -e harbor.db ] || fail "harbor.db was created without --create-missing"
! grep -q "sqlite beside program" "$scratch/out.txt" || fail "the SQLite beside the doctor was not seen"
if [ ${#emulator[@]} -eq 0 ]; then
    # Where it was built, the doctor loads the system's SQLite: it says so.
    "${files[0]}" >"$scratch/out.txt" 2>&1 || true
    grep -q "sqlite beside program" "$scratch/out.txt" || fail "a SQLite loaded from elsewhere is not named"
fi
expect 0 "harbor.db created beside the SQLite library" --create-missing
[ "$(tables harbor.db)" = 6 ] || fail "harbor.db has $(tables harbor.db) tables"
expect 2 "unknown option" --frobnicate
expect 2 "--file without a path" --file
expect 0 "--help" --help
expect 0 "--json" --json --file good.db
if command -v python3 >/dev/null; then
    python3 -c 'import json, sys; sys.exit(0 if json.load(open(sys.argv[1]))["healthy"] else 1)' \
        "$scratch/out.txt" || fail "--json: not a healthy JSON object"
else
    grep -q '"healthy": true' "$scratch/out.txt" || fail "--json: no healthy verdict"
fi
leftovers=$(ls -- *-journal *-wal *-shm 2>/dev/null || true)
[ -z "$leftovers" ] || fail "left behind: $leftovers"

# A directory this user cannot write. Root passes every permission check,
# so as root the case runs as the user nobody, where setpriv is at hand.
# Under Wine it is not run: Wine's prefix belongs to the user who made it.
mkdir "$scratch/locked"
cp "$host"/* "$scratch/locked/"
rm -f "$scratch/locked/harbor.db"
chmod 555 "$scratch/locked"
as=()
if [ "$(id -u)" = 0 ]; then
    as=(setpriv --reuid=65534 --regid=65534 --clear-groups)
    "${as[@]}" test -x "$scratch/locked/$doctor" 2>/dev/null || as=(skip)
fi
if [ ${#emulator[@]} -gt 0 ] || [ "${as[*]}" = skip ]; then
    echo "skipped: a directory this user cannot write (Wine, or root without setpriv)"
else
    got=0
    "${as[@]}" "$scratch/locked/$doctor" --create-missing >"$scratch/out.txt" 2>&1 || got=$?
    [ "$got" = 1 ] || fail "unwritable directory: exit code $got, expected 1"
    grep -q "cannot create files" "$scratch/out.txt" || fail "unwritable directory not named"
    [ ! -e "$scratch/locked/harbor.db" ] || fail "harbor.db created in an unwritable directory"
    echo "ok: a directory this user cannot write${as:+ (as nobody)}"
fi

[ $failures = 0 ] || { echo "$failures failure(s)"; exit 1; }
