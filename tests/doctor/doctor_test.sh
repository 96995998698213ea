#!/usr/bin/env bash
# Runs zkdb-doctor the way a support engineer does: copied beside the
# libraries a host ships, in directories whose names are not plain ASCII,
# or pointed at a host with --host, against databases made with the sqlite3
# shell. Checks the exit codes, a line of each report, that every failure
# names its fix, and that nothing changes unless --create-missing is given.
#
#   doctor_test.sh SCHEMA DOCTOR LIBRARY... [-- EMULATOR...]
#
# Without an emulator the SQLite library the doctor links is copied beside
# it too; with one (Wine), the libraries given are all it needs, and
# ZKDB_EXPECT_ACP names the ANSI code page (936 or 1252) it runs under.
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
wine=${#emulator[@]}
root=$([ "$(id -u)" = 0 ] && [ "$wine" = 0 ] && echo 1 || echo 0)
# A directory name the code page holds, and one no code page here holds.
case $wine:${ZKDB_EXPECT_ACP:-1252} in
0:*) plain='Hôte Café' ;;
*:936) plain=主机数据運 ;;
*) plain='Cœur €' ;;
esac
alien=Łódź

# A short scratch path, whatever the checkout's: the library reads only 127
# bytes of its SQLite library's file name.
scratch=$(mktemp -d "${TMPDIR:-/tmp}/zkdb-doctor-XXXXXX")
trap 'chmod -R u+w "$scratch"; rm -rf "$scratch"' EXIT
chmod 755 "$scratch"
sqlite=()
[ "$wine" != 0 ] || sqlite=("$(ldd "${files[0]}" | awk '/libsqlite3\.so/ { print $3; exit }')")
# deploy DIR: the doctor and the libraries a host ships, in DIR.
deploy() { mkdir -p "$1" && cp "${files[@]}" "${sqlite[@]}" "$1/"; }
host=$scratch/$plain/host
deploy "$host"
name=$(basename "${files[0]}")
doctor=$host/$name
out=$scratch/out.txt
cd "$host"

failures=0
fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}
# run CODE PATTERN ARGUMENTS...: runs $doctor, wants exit code CODE, a line
# matching PATTERN (an extended regular expression; !PATTERN: none), and a
# "fix:" line under every failure.
run() {
    local want=$1 pattern=$2 got=0
    shift 2
    "${emulator[@]}" "$doctor" "$@" >"$out" 2>&1 || got=$?
    # The doctor always prints its verdict: no output at all under Wine is a
    # process Wine failed to start, which happens rarely; that run is retried.
    if [ "$wine" != 0 ] && [ ! -s "$out" ]; then
        got=0
        "${emulator[@]}" "$doctor" "$@" >"$out" 2>&1 || got=$?
    fi
    [ "$got" = "$want" ] || fail "$*: exit code $got, expected $want"
    if [ "${pattern:0:1}" = '!' ]; then
        ! grep -qE -- "${pattern:1}" "$out" || fail "$*: a line matches '${pattern:1}'"
    else
        grep -qE -- "$pattern" "$out" || fail "$*: no line matches '$pattern'"
    fi
    awk '/^\[fail\]/ { getline line; if (line !~ /^ +fix: [a-z]/) bad = 1 } END { exit bad }' "$out" ||
        fail "$*: a failure without its fix"
    [ $failures = 0 ] || { cat "$out"; exit 1; }
    echo "ok ($want, $pattern): $*"
}
has() { grep -qE -- "$1" "$out" || { cat "$out"; fail "no line matches '$1'"; exit 1; }; }
tables() { sqlite3 "$1" "SELECT count(*) FROM sqlite_master WHERE type = 'table'"; }

sqlite3 good.db <"$schema"
sqlite3 good.db "INSERT INTO tb_device (dev_id) VALUES ('cam-1')"
cp good.db no-table.db
sqlite3 no-table.db "DROP TABLE tb_param"
cp good.db no-column.db
sqlite3 no-column.db "ALTER TABLE tb_device DROP COLUMN snapshot_url; ALTER TABLE tb_param ADD COLUMN spare"
cp good.db fragment.db  # a wrong fragment count on page 3: one row of quick_check
printf '\021' | dd of=fragment.db bs=1 seek=$((4096 * 2 + 7)) conv=notrunc 2>/dev/null
wal='wal #1%.db'  # a WAL database without its -wal and -shm, named as a URI may not be
cp good.db "$wal"
sqlite3 "$wal" "PRAGMA journal_mode = WAL" >/dev/null
head -c 3000 /dev/zero | tr '\0' 'x' >garbage.db
cp garbage.db garbage.orig
cp garbage.db $'gar"bage\t.db'
cp good.db hot.db
printf x >hot.db-journal

run 0 '^\[ok\]   journal                no hot journal waiting' --file good.db
has 'database path \(--file\) good\.db'
run 1 'extra columns \(fine\): spare' --file no-column.db
run 1 'fix: .*--create-missing' --file no-table.db
run 0 'tb_param +created' --file no-table.db --create-missing
[ "$(tables no-table.db)" = 6 ] || fail "--create-missing left $(tables no-table.db) tables"
[ "$(sqlite3 no-table.db 'SELECT dev_id FROM tb_device')" = cam-1 ] || fail "--create-missing changed tb_device"
run 1 'verdict: 1 problem' --file no-column.db --create-missing
has 'fix: .*ADD COLUMN snapshot_url'
run 1 'quick_check: [*]+ in database main [*]+ Fragmentation .* on page 3[[:cntrl:]]?$' --file fragment.db
run 0 'quick_check: ok' --file "$wal"
run 1 'fix: .*sqlite3 ".*garbage\.db" \.recover' --file garbage.db
has 'cannot be read: file is not a database'
has 'verdict: 1 problem'
cmp -s garbage.db garbage.orig || fail "garbage was changed"
run 1 'no such file' --file absent.db
[ ! -e absent.db ] || fail "a missing file was created"
run 1 'is a directory' --file .
run 1 'warn\] +journal +hot\.db-journal waiting' --file hot.db
has 'fix: let the host .* rolls the journal back'
rm hot.db-journal
run 1 '"fix": "(stop|check) the' --json --file $'gar"bage\t.db'
if command -v python3 >/dev/null; then
    python3 -c 'import json, sys; sys.exit(json.load(open(sys.argv[1]))["healthy"])' "$out" ||
        fail "--json: not an unhealthy JSON object"
fi
run 2 'unknown option' --frobnicate
run 2 '--file needs a value' --file
run 2 '--host needs a value' --host ''
run 0 'usage' --help

# The library's own path: harbor.db beside the SQLite library, missing
# before the host's first run, in a directory the code page holds.
run 0 'in place \(1 warning'
has 'warn.*does not exist yet: the host.s first operation creates it'
[ ! -e harbor.db ] || fail "harbor.db was created without --create-missing"
grep -qF "$plain" "$out" || fail "the directory's name is not shown as it is"
run 0 '!sqlite location|cannot hold'
if [ $root = 1 ]; then
    # As root the file goes to the directory's owner, or to --user's user.
    run 1 'create +refused: root owns the directory' --create-missing
    [ ! -e harbor.db ] || fail "as root, harbor.db was created in root's directory"
    chmod 775 .  # writable for root's group only
    run 1 'refused: nobody may not create files' --create-missing --user nobody
    run 1 'refused: no user no-such-user' --create-missing --user no-such-user
    chgrp nogroup . && chmod 775 .
    run 0 'given to nobody' --create-missing --user nobody
    rm harbor.db && chgrp root . && chmod 755 . && chown nobody .
    run 0 'given to nobody' --create-missing
    [ "$(stat -c %U harbor.db)" = nobody ] || fail "harbor.db belongs to $(stat -c %U harbor.db)"
    chown root . harbor.db
else
    run 0 '' --create-missing
fi
[ "$(tables harbor.db)" = 6 ] || fail "harbor.db has $(tables harbor.db) tables"
leftovers=$(ls -- *-journal *-wal *-shm 2>/dev/null || true)
[ -z "$leftovers" ] || fail "left behind: $leftovers"

# --host: the host's SQLite library decides; ZKDB_DATA_DIR, set or given,
# overrides it. A doctor without SQLite beside it loads the system's.
cd "$scratch"
sys=$scratch/system
mkdir "$sys"
cp "${files[@]}" "$sys/"
mkdir data
hostdir=$(basename "$host")
run 0 "database path +.*$plain.$hostdir.harbor\.db" --host "$host/$name"
run 1 'no such file' --host "$scratch/absent"
mkdir lonely && cp "${files[0]}" lonely/  # no SQLite library of its own, none on Windows
run 1 "$([ "$wine" = 0 ] && echo 'sqlite location' || echo 'no sqlite3.dll')" --host "$scratch/lonely/$name"
run 0 'from --data-dir' --host "$host/$name" --data-dir "$scratch/data" --create-missing --user "$(id -un)"
ZKDB_DATA_DIR=$scratch/data run 0 'ZKDB_DATA_DIR \(from the environment\)' --host "$host/$name"
if [ "$wine" = 0 ]; then
    run 1 'fix: ship libsqlite3.so.0 beside .*ZKDB_DATA_DIR' --host "$sys/$name"
    run 1 'cannot list its libraries' --host "$schema"
    doctor=$sys/$name run 1 'fix: .*give --host EXE'
    LD_LIBRARY_PATH=$host doctor=$sys/$name run 0 'warn.*not beside this program'
    # Whatever a fault does, the user nobody cannot write the system's directory.
    as=()
    [ $root = 0 ] || as=(setpriv --reuid=65534 --regid=65534 --clear-groups)
    emulator=("${as[@]}")
    run 1 'create +refused: nothing is changed in a system library directory' --host "$sys/$name" --create-missing
    emulator=()
fi

# The SQLite library's file name over the bound: harmless while the cut
# shortens only the file name, wrong once it reaches the directory.
short=$scratch/$(printf 's%.0s' $(seq $((116 - ${#scratch}))))
exact=$scratch/$(printf 'e%.0s' $(seq $((wine > 0 ? 112 - ${#scratch} : 110 - ${#scratch}))))
long=$scratch/$(printf 'l%.0s' $(seq $((140 - ${#scratch}))))
deploy "$short"
deploy "$long"
doctor=$short/$name run 0 'cut shortens only the file name'
deploy "$exact"
doctor=$exact/$name run 0 '!cut shortens'
has 'file name has 127 bytes'
doctor=$long/$name run 1 'cut reaches the directory'
has 'fix: set ZKDB_DATA_DIR.*shorter directory'
doctor=$long/$name run 0 '!path bound' --data-dir "$scratch/data"
deploy "$scratch/$alien"
doctor=$scratch/$alien/$name run $((wine > 0)) "$([ "$wine" = 0 ] && echo '!')code page cannot hold.*$alien"

# A directory this user cannot write. Root passes every permission check,
# so as root the case runs as the user nobody, where setpriv is at hand.
# Under Wine it is not run: Wine's prefix belongs to the user who made it.
if [ "$wine" = 0 ]; then
    deploy "$scratch/locked"
    cp "$host/$wal" "$scratch/locked/"
    cp "$host/$wal" "$scratch/locked/wal.db"  # with an empty -wal, but no -shm
    : >"$scratch/locked/wal.db-wal"
    cp "$host/good.db" "$scratch/locked/secret.db"
    chmod 000 "$scratch/locked/secret.db"
    chmod 555 "$scratch/locked"
    emulator=("${as[@]}")
    doctor=$scratch/locked/$name run 1 'quick_check: ok' --file "$scratch/locked/$wal"
    doctor=$scratch/locked/$name run 1 'quick_check: ok' --file "$scratch/locked/wal.db"
    doctor=$scratch/locked/$name run 1 'verdict: 3 problem' --file "$scratch/locked/secret.db"
    doctor=$scratch/locked/$name run 1 'cannot create files' --create-missing
    has 'fix: .* needs write and search permission'
    [ $root = 0 ] || has 'owned by root\): chown nobody'
    [ ! -e "$scratch/locked/harbor.db" ] || fail "harbor.db created in an unwritable directory"
fi
echo "all cases passed"
