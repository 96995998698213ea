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
# Wine gives a process the ANSI code page of the Unix locale it starts in, so
# each run's Wine session and tests start under LC_ALL=en_US.UTF-8 (1252) or
# zh_CN.UTF-8 (936); ZKDB_EXPECT_ACP tells the tests which code page they
# must see, and they fail under any other. The whole suite runs under 1252;
# under 936 run the tests labelled "codepage", those whose paths are not
# plain ASCII (every other test's paths read the same in both code pages).
# Both locales must be generated (Debian package locales):
#   localedef -i en_US -f UTF-8 en_US.UTF-8; localedef -i zh_CN -f UTF-8 zh_CN.UTF-8
set -euo pipefail
cd "$(dirname "$0")/.."

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
for class in DataBase SqliteDataBase SQLiteHelper SQLiteBuilt SQLitePool \
    DeviceStatePo DeviceStateDao DeviceTablePo DeviceTableDao ChannelTablePo ChannelTableDao \
    SipDeviceTablePo SipDeviceTableDao MqttMessageTablePo MqttMessageTableDao \
    ParamTablePo ParamTableDao; do
    if ! grep -qE "_ZNK?${#class}${class}" <<<"$exports"; then
        echo "class $class is not exported" >&2
        fail=1
    fi
done
if grep -qiE 'libstdc\+\+|libgcc|libwinpthread' <<<"$imports"; then
    echo "ZkDb.dll needs a MinGW runtime DLL" >&2
    fail=1
fi
if [ $fail -ne 0 ]; then
    exit 1
fi

for locale in en_US.UTF-8 zh_CN.UTF-8; do
    if [ "$(LC_ALL=$locale locale charmap 2>/dev/null)" != UTF-8 ]; then
        echo "the locale $locale is missing: localedef -i ${locale%.*} -f UTF-8 $locale" >&2
        exit 1
    fi
done

log=$build/Testing/Temporary/LastTest.log
trap 'bash cmake/wine-session.sh stop "$prefix"' EXIT
# Runs tests under one locale, in a Wine session started under it:
# run_under LOCALE CODE_PAGE [ctest arguments]
run_under() {
    echo
    echo "=== Tests under Wine, LC_ALL=$1, ANSI code page $2 expected ==="
    export LC_ALL=$1 ZKDB_EXPECT_ACP=$2
    bash cmake/wine-session.sh start "$prefix"
    ctest --preset windows "${@:3}"
    bash cmake/wine-session.sh stop "$prefix"
    echo "Code page the tests reported: $(grep -ho 'ANSI code page [0-9]*' "$log" | sort -u)"
}
run_under en_US.UTF-8 1252
run_under zh_CN.UTF-8 936 -L codepage
