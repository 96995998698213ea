#!/usr/bin/env bash
# Builds the Windows DLLs (ZkDb.dll, ZkLib.dll, sqlite3.dll) with MinGW-w64
# and runs the whole test suite under Wine, with the "windows" presets, once
# for each ANSI code page a host may have, 1252 (Western) and 936 (Simplified
# Chinese):
#
#   cmake/build-windows.sh
#
# Needs the Debian packages g++-mingw-w64-x86-64-posix, wine64, wine, and for
# SQLite's source dpkg-dev, make, tcl and xz-utils. The binaries end up in
# build/windows/bin. Before the tests run, the export table of ZkDb.dll is
# checked: createDatabase under its plain name, the classes' members, and no
# MinGW runtime DLL among its imports.
#
# The whole suite runs under 1252; under 936 run the tests labelled
# "codepage", those whose paths are not plain ASCII (every other test's paths
# read the same in both code pages); cmake/windows-stage.sh says how, and
# which locales that needs.
set -euo pipefail
cd "$(dirname "$0")/.."
. cmake/windows-stage.sh

build=build/windows
prefix=$build/wine-prefix

cmake --preset windows -DZKDB_WINEPREFIX="$PWD/$prefix"
cmake --build --preset windows

objdump=x86_64-w64-mingw32-objdump
dll=$build/bin/ZkDb.dll
exports=$("$objdump" -p "$dll" | sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p')
imports=$("$objdump" -p "$dll" | sed -n 's/^[[:space:]]*DLL Name: //p')
echo
echo "Exports of $dll (excerpt):"
grep -E 'createDatabase|DataBase|SQLiteHelper12openDatabase|DeviceStateDao3add' <<<"$exports"
echo "Imports: $(tr '\n' ' ' <<<"$imports")"
fail=0
if ! grep -qE '^[[:space:]]*\[[ 0-9]+\] createDatabase$' <<<"$exports"; then
    echo "createDatabase is not exported under its plain name" >&2
    fail=1
fi
zkdb_check_export_list '_ZNK?LENGTHCLASS' <<<"$exports" || fail=1
if grep -qiE 'libstdc\+\+|libgcc|libwinpthread' <<<"$imports"; then
    echo "ZkDb.dll needs a MinGW runtime DLL" >&2
    fail=1
fi
if [ $fail -ne 0 ]; then
    exit 1
fi

trap 'bash cmake/wine-session.sh stop "$prefix"' EXIT
zkdb_run_tests windows
