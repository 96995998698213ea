#!/usr/bin/env bash
# Builds a host as a separate project against an unpacked Windows zip, as a
# Windows host team does, and runs it under Wine:
#
#   cmake/consume-windows-zip.sh ZIP TOOLCHAIN [cmake arguments of the host]
#
# ZIP is a zip that cpack made (ZkDb-<version>-win64-mingw.zip or
# ZkDb-<version>-win64-msvc.zip), TOOLCHAIN the toolchain file the host is
# built with (cmake/mingw-w64-x86_64.cmake for the first). The zip is
# unpacked into a directory whose name code page 1252 cannot hold whole
# ("Hôte 主机"); tests/consumer is built there through the zip's CMake package
# (CMAKE_PREFIX_PATH) and deployed with the Windows recipe of
# docs/windows.md: the DLLs and harbor.sql beside the program. The consumer
# runs twice (the second run finds the first one's rows), then its loader
# (LoadLibrary, two threads, FreeLibrary; its exit code is the rows it read)
# twice, in a Wine session under en_US.UTF-8 (code page 1252). The host reads
# harbor.sql by its UTF-16 name, and its data directory comes from
# ZKDB_DATA_DIR, which is read in UTF-16: the routes docs/windows.md gives
# for such a directory. A host compiled in MSVC mode is also compiled with
# /MDd, /MT and _ITERATOR_DEBUG_LEVEL=1, which the headers must stop.
set -euo pipefail
if [ $# -lt 2 ]; then
    echo "usage: $0 ZIP TOOLCHAIN [cmake arguments]" >&2
    exit 2
fi
zip=$(realpath "$1")
toolchain=$(realpath "$2")
shift 2
cd "$(dirname "$0")/.."

export LC_ALL=en_US.UTF-8
scratch=$(mktemp -d /tmp/zkdb-host-XXXXXX)
prefix=$PWD/build/consumer-wine-prefix
trap 'bash cmake/wine-session.sh stop "$prefix"; rm -rf "$scratch"' EXIT
home="$scratch/Hôte 主机"
mkdir -p "$home"
(cd "$home" && cmake -E tar xf "$zip")
zkdb=$(echo "$home"/ZkDb-*-win64-*)
host=$home/host
cmake -S tests/consumer -B "$host" -G Ninja "-DCMAKE_TOOLCHAIN_FILE=$toolchain" \
    "-DCMAKE_PREFIX_PATH=$zkdb" -DCMAKE_DISABLE_FIND_PACKAGE_SQLite3=ON -DZKDB_DEPLOY=ON "$@"
cmake --build "$host"

fail() {
    echo "$*" >&2
    exit 1
}
# A Visual Studio host compiled with a runtime the DLLs cannot share stops at
# the headers (compiled only: Wine has no debug runtime to link against).
if grep -qs 'FRONTEND_VARIANT "MSVC"' "$host"/CMakeFiles/*/CMakeCXXCompiler.cmake; then
    cxx=$(sed -n 's/^set(CMAKE_CXX_COMPILER "\(.*\)")$/\1/p' "$host"/CMakeFiles/*/CMakeCXXCompiler.cmake)
    # The flags as the compiler's command line reads them: quoted ones whole.
    mapfile -t flags < <(sed -n 's/^CMAKE_CXX_FLAGS:[A-Z]*=//p' "$host/CMakeCache.txt" | xargs printf '%s\n')
    for runtime in /MDd /MT "/MD /D_ITERATOR_DEBUG_LEVEL=1"; do
        # shellcheck disable=SC2086 # the runtime's options are words
        if "$cxx" "${flags[@]}" $runtime /std:c++17 /Zs "/I$zkdb/include" -- tests/consumer/main.cpp \
            >"$scratch/guard.txt" 2>&1 || ! grep -q 'ZkDb/ZkLib: compile this host' "$scratch/guard.txt"; then
            cat "$scratch/guard.txt" >&2
            fail "a host compiled with $runtime was not stopped by the headers"
        fi
        echo "a host compiled with $runtime stops at the headers: ok"
    done
fi

bash cmake/wine-session.sh start "$prefix"
wine=$(command -v /usr/lib/wine/wine64 wine64 wine 2>/dev/null | head -n 1)
export WINEPREFIX=$prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" ZKDB_DATA_DIR="Z:$host"
for run in 1 2; do
    output=$("$wine" "$host/consumer.exe" | tr -d '\r') || true
    echo "consumer.exe, run $run: $output"
    [ "$output" = "consumer ok, earlier rows: $((run - 1))" ] || fail "consumer.exe failed"
done
for run in 1 2; do
    code=0
    "$wine" "$host/consumer_loader.exe" || code=$?
    echo "consumer_loader.exe, run $run: exit code $code (the rows it read)"
    [ "$code" = "$run" ] || fail "consumer_loader.exe failed"
done
[ -f "$host/harbor.db" ] || fail "no harbor.db in $host"
