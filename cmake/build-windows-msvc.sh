#!/usr/bin/env bash
# Builds the Windows DLLs (ZkDb.dll, ZkLib.dll, sqlite3.dll) with the MSVC
# ABI, the one Visual Studio hosts link (the "windows-msvc" presets:
# clang-cl, lld-link, MSVC's standard library from the pinned archive), runs
# the whole test suite under Wine with ANSI code page 1252, the tests
# labelled "codepage" again under 936 (cmake/windows-stage.sh), and makes the
# zip for Visual Studio hosts, ZkDb-<version>-win64-msvc.zip:
#
#   cmake/build-windows-msvc.sh
#
# Run as root, it installs the Debian packages it needs: clang-14, lld-14,
# llvm-14, libwine-dev, wine64, wine, googletest (GoogleTest's source) and,
# for SQLite's source, dpkg-dev, make, tcl, xz-utils; locales for the two
# code pages. The archive of MSVC's standard library is taken from
# ../shared/msvc-stl/ beside the project (ZKDB_MSVC_STL_ARCHIVE overrides).
# SQLite's amalgamation is the MinGW build's (build/windows/sqlite-amalgamation)
# when that build made one, so Debian's source is fetched once.
#
# Before the tests run, the export and import tables of ZkDb.dll are checked:
# createDatabase under its plain name, every other export MSVC-decorated,
# imports only from kernel32, the Visual C++ runtime (msvcp140, vcruntime140,
# ucrtbase or api-ms-win-crt-*), ZkLib and sqlite3.
set -euo pipefail
cd "$(dirname "$0")/.."
. cmake/windows-stage.sh

if [ "$(id -u)" = 0 ]; then
    export DEBIAN_FRONTEND=noninteractive
    apt-get install -y --no-install-recommends \
        clang-14 lld-14 llvm-14 libwine-dev wine64 wine googletest \
        dpkg-dev make tcl xz-utils locales cmake ninja-build
    localedef -i en_US -f UTF-8 en_US.UTF-8
    localedef -i zh_CN -f UTF-8 zh_CN.UTF-8
fi

build=build/windows-msvc
prefix=$build/wine-prefix
configure=(-DZKDB_WINEPREFIX="$PWD/$prefix")
if [ -n "${ZKDB_MSVC_STL_ARCHIVE:-}" ]; then
    configure+=(-DZKDB_MSVC_STL_ARCHIVE="$ZKDB_MSVC_STL_ARCHIVE")
fi
mingw_sqlite=build/windows/sqlite-amalgamation
if [ -f "$mingw_sqlite/sqlite3.c" ] && [ -f "$mingw_sqlite/sqlite3.h" ]; then
    configure+=(-DZKDB_SQLITE_SOURCE_DIR="$PWD/$mingw_sqlite")
fi

cmake --preset windows-msvc "${configure[@]}"
# The MSVC branches of the project's build are what this stage exercises.
if ! grep -q 'CMAKE_CXX_COMPILER_FRONTEND_VARIANT "MSVC"' "$build"/CMakeFiles/*/CMakeCXXCompiler.cmake; then
    echo "the windows-msvc build does not see an MSVC-like compiler front end" >&2
    exit 1
fi
cmake --build --preset windows-msvc

readobj=llvm-readobj-14
dll=$build/bin/ZkDb.dll
exports=$("$readobj" --coff-exports "$dll" | sed -n 's/^ *Name: \(..*\)$/\1/p')
imports=$("$readobj" --coff-imports "$dll" | sed -n 's/^ *Name: \(.*\.dll\)$/\1/Ip')
echo
echo "Exports of $dll: $(wc -l <<<"$exports"), of which plain: $(grep -v '^?' <<<"$exports" | tr '\n' ' ')"
echo "Imports: $(tr '\n' ' ' <<<"$imports")"
fail=0
if ! grep -qx 'createDatabase' <<<"$exports"; then
    echo "createDatabase is not exported under its plain name" >&2
    fail=1
fi
if grep -v '^?' <<<"$exports" | grep -vqx 'createDatabase'; then
    echo "exports neither createDatabase nor MSVC-decorated: $(grep -v '^?' <<<"$exports" | grep -vx createDatabase | tr '\n' ' ')" >&2
    fail=1
fi
zkdb_check_export_list '[?@0-9]CLASS@' <<<"$exports" || fail=1
unexpected=$(grep -viE '^(kernel32|msvcp140|vcruntime140|ucrtbase|api-ms-win-crt-[a-z0-9-]+|ZkLib|sqlite3)\.dll$' <<<"$imports" || true)
if [ -n "$unexpected" ]; then
    echo "ZkDb.dll imports from other DLLs: $(tr '\n' ' ' <<<"$unexpected")" >&2
    fail=1
fi
if [ $fail -ne 0 ]; then
    exit 1
fi

trap 'bash cmake/wine-session.sh stop "$prefix"' EXIT
zkdb_run_tests windows-msvc

echo
echo "=== The zip for Visual Studio hosts ==="
rm -f "$build"/packages/ZkDb-*-win64-msvc.zip
cpack --config "$build/CPackConfig.cmake"
zip=$(ls "$build"/packages/ZkDb-*-win64-msvc.zip)
cmake -E tar tf "$zip" | tee "$build/packages/contents.txt"
for entry in bin/ZkDb.dll bin/ZkLib.dll bin/sqlite3.dll bin/zkdb-doctor.exe lib/ZkDb.lib lib/ZkLib.lib \
    include/ZkDb/ZkDb.h include/ZkLib/StringUtil.h lib/cmake/ZkDb/ZkDbConfig.cmake \
    lib/cmake/ZkDb/ZkDbTargets.cmake share/zkdb/harbor.sql LICENSE NOTICE.txt \
    notices/msvc-stl-LICENSE.txt notices/msvc-stl-NOTICE.txt; do
    grep -q "^ZkDb-[^/]*-win64-msvc/$entry\$" "$build/packages/contents.txt" ||
        { echo "missing from $zip: $entry" >&2; exit 1; }
done
if grep -q '\.pc$' "$build/packages/contents.txt"; then
    echo "$zip holds a pkg-config file" >&2
    exit 1
fi
