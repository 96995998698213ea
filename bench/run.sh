#!/bin/sh
# Runs zkdb_bench and prints the table of ratios: the library against the
# floor its design allows, against one open connection, across threads.
#
#   bench/run.sh [build-dir] [extra zkdb_bench options]
#
# build-dir defaults to build/default (the "default" preset). Three runs:
#  1. everything, the database in a private directory under /tmp (or under
#     $ZKDB_PRIVATE_HOME_PARENT), which is on the local disk here;
#  2. the write cases again with the database on /dev/shm, a tmpfs, to show
#     how much of a write is the file system's sync;
#  3. the thread cases again with SQLite's memory statistics, and the
#     process-wide mutex every SQLite allocation then takes, turned off.
# Environment: ZKDB_BENCH_REPETITIONS (default 5), ZKDB_BENCH_MIN_TIME in
# seconds (default 0.3), ZKDB_BENCH_OUT (directory for the JSON files;
# default <build-dir>/bench/results/<date-time>, kept, so a run can be read
# again with bench/ratios.py). Needs python3 (Debian package python3).
set -eu

here=$(cd "$(dirname "$0")" && pwd)
build=${1:-$here/../build/default}
[ $# -gt 0 ] && shift
bench=$build/bench/zkdb_bench
if [ ! -x "$bench" ]; then
    echo "no $bench; build first: cmake --preset default && cmake --build --preset default" >&2
    exit 2
fi

repetitions=${ZKDB_BENCH_REPETITIONS:-5}
min_time=${ZKDB_BENCH_MIN_TIME:-0.3}
if ! command -v python3 >/dev/null 2>&1; then
    echo "bench/run.sh needs python3 for its table of ratios: apt-get install python3" >&2
    exit 2
fi

out=${ZKDB_BENCH_OUT:-$build/bench/results/$(date -u +%Y%m%dT%H%M%SZ)}
mkdir -p "$out"

common="--benchmark_format=json --benchmark_repetitions=$repetitions
        --benchmark_enable_random_interleaving=true --benchmark_min_time=$min_time"

echo "zkdb_bench: full run on the local disk ($repetitions repetitions, interleaved)..." >&2
extra="$*"
# shellcheck disable=SC2086
"$bench" $common $extra >"$out/disk.json"

set -- "$out/disk.json"
if [ -d /dev/shm ] && [ -w /dev/shm ]; then
    echo "zkdb_bench: write cases on /dev/shm..." >&2
    # shellcheck disable=SC2086
    ZKDB_PRIVATE_HOME_PARENT=/dev/shm "$bench" $common $extra \
        --benchmark_filter='^(point|persistent)/[^/]*\.(add|update)/' >"$out/tmpfs.json"
    set -- "$@" --tmpfs "$out/tmpfs.json"
fi

echo "zkdb_bench: thread cases with SQLite's memory statistics off..." >&2
# shellcheck disable=SC2086
ZKDB_BENCH_SQLITE_MEMSTATUS=0 "$bench" $common $extra \
    --benchmark_filter='^threads/' >"$out/memstatus-off.json"
set -- "$@" --memstatus-off "$out/memstatus-off.json"

python3 "$here/ratios.py" "$@"
echo "zkdb_bench: the runs are kept in $out" >&2
