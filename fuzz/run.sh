#!/usr/bin/env bash
# Runs every libFuzzer target of a fuzz build for a bounded time each,
# starting from the seed corpora in fuzz/corpus/<name>/ (which it never
# writes to). Fails when a target finds a crash, a leak, a time-out or a
# broken property; the input that did it is kept under <build>/fuzz/artifacts.
#
#   cmake --preset fuzz && cmake --build --preset fuzz && fuzz/run.sh
#   fuzz/run.sh [build-dir] [seconds-per-target] [target names...]
#
# The targets that open "harbor.db" find it beside the SQLite library they
# load. This script gives them a private copy of that library in a fresh
# directory, on tmpfs when /dev/shm is usable (commits there cost no disk
# flush, so the statement target runs an order of magnitude faster), and
# removes the directory afterwards. Reproduce a finding with
#   <build>/fuzz/zkdb_fuzz_<name> <artifact>
# (without this script, a target makes its own private copy under /tmp).
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build/fuzz}
seconds=${2:-60}
shift $(($# < 2 ? $# : 2))

if [ $# -gt 0 ]; then
    names=("$@")
else
    names=()
    for binary in "$build"/fuzz/zkdb_fuzz_*; do
        [ -x "$binary" ] && names+=("${binary##*/zkdb_fuzz_}")
    done
fi
if [ ${#names[@]} -eq 0 ]; then
    echo "no fuzz targets under $build/fuzz (configure with --preset fuzz and build first)" >&2
    exit 2
fi

scratch_base=${TMPDIR:-/tmp}
if [ -d /dev/shm ] && [ -w /dev/shm ]; then scratch_base=/dev/shm; fi
work=$(mktemp -d "$scratch_base/zkdb-fuzz-XXXXXX")
trap 'rm -rf "$work"' EXIT
home="$work/home"
mkdir -p "$home"

artifacts="$build/fuzz/artifacts"
mkdir -p "$artifacts"
status=0

for name in "${names[@]}"; do
    binary="$build/fuzz/zkdb_fuzz_$name"
    seeds="$root/fuzz/corpus/$name"
    corpus="$work/corpus/$name"
    mkdir -p "$corpus"
    inputs=("$corpus")
    [ -d "$seeds" ] && inputs+=("$seeds")

    sqlite=$(ldd "$binary" | awk '/libsqlite3\.so/ { print $3; exit }')
    if [ -z "$sqlite" ] || [ ! -f "$sqlite" ]; then
        echo "cannot find the SQLite library of $binary" >&2
        exit 2
    fi
    rm -rf "${home:?}"/*
    cp "$sqlite" "$home/libsqlite3.so.0"

    log="$work/$name.log"
    started=$(date +%s)
    set +e
    # The outer bound only guards against the fuzzer itself getting stuck;
    # -timeout fails any single input that runs for more than 20 s.
    timeout --kill-after=10 $((seconds + 120)) \
        env ZKDB_TEST_SQLITE_HOME="$home" LD_LIBRARY_PATH="$home${LD_LIBRARY_PATH:+:$LD_LIBRARY_PATH}" \
        ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1:strict_string_checks=1}" \
        UBSAN_OPTIONS="${UBSAN_OPTIONS:-halt_on_error=1:print_stacktrace=1}" \
        "$binary" -max_total_time="$seconds" -timeout=20 -rss_limit_mb=3072 -max_len=4096 \
        -print_final_stats=1 -artifact_prefix="$artifacts/$name-" \
        "${inputs[@]}" >"$log" 2>&1
    result=$?
    set -e
    elapsed=$(($(date +%s) - started))

    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
    coverage=$(grep -o 'cov: [0-9]*' "$log" | tail -1 || true)
    kept=$(find "$corpus" -type f | wc -l)
    if [ $result -eq 0 ]; then
        echo "fuzz $name: ${runs:-?} inputs in ${elapsed}s, ${coverage:-cov: ?}, $kept new corpus entries"
    else
        status=1
        echo "fuzz $name: FAILED (exit $result) after ${elapsed}s; last lines of its log:"
        tail -n 60 "$log"
        echo "inputs kept in $artifacts:"
        ls -l "$artifacts" | grep -- "$name-" || true
    fi
done
exit $status
