#!/usr/bin/env bash
# Runs the test suite in one process under valgrind's memcheck: any invalid
# access, use of uninitialised memory or leak (definite, indirect or
# possible) fails the run.
#
#   tests/valgrind.sh [build-dir] [gtest filter]
#
# Use a build without sanitizers (default: build/default).
#
# The test program normally copies the SQLite library into a private
# directory and runs itself again from there (so "harbor.db" lands in that
# directory); under valgrind that second run would escape the tool. This
# script makes the private copy itself and hands it over through the
# environment, so the program runs once, entirely under memcheck.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build/default}
filter=${2:-*}
binary="$build/tests/zkdb_tests"

if [ ! -x "$binary" ]; then
    echo "no test program at $binary (build first)" >&2
    exit 2
fi
sqlite=$(ldd "$binary" | awk '/libsqlite3\.so/ { print $3; exit }')
if [ -z "$sqlite" ] || [ ! -f "$sqlite" ]; then
    echo "cannot find the SQLite library of $binary" >&2
    exit 2
fi

home=$(mktemp -d /tmp/zkdb-valgrind-XXXXXX)
trap 'rm -rf "$home"' EXIT
cp "$sqlite" "$home/libsqlite3.so.0"

ZKDB_TEST_SQLITE_HOME="$home" LD_LIBRARY_PATH="$home${LD_LIBRARY_PATH:+:$LD_LIBRARY_PATH}" \
    valgrind --tool=memcheck --leak-check=full \
    --errors-for-leak-kinds=definite,indirect,possible \
    --show-leak-kinds=definite,indirect,possible \
    --error-exitcode=1 --quiet \
    "$binary" --gtest_filter="$filter" --gtest_brief=1
