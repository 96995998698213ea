# Sourced by the Windows stages (cmake/build-windows.sh for MinGW-w64,
# cmake/build-windows-msvc.sh for the MSVC ABI), from the project's root:
#
#   zkdb_exported_classes         the classes ZkDb.dll must export
#   zkdb_check_export_list        fails unless every class shows in the export
#                                 list on stdin, found by the extended regular
#                                 expression PATTERN with CLASS and LENGTH
#                                 replaced: zkdb_check_export_list PATTERN
#   zkdb_run_tests PRESET         the whole suite under ANSI code page 1252,
#                                 then the tests labelled "codepage" under
#                                 936, each in a Wine session of its own
#
# Wine gives a process the ANSI code page of the Unix locale it starts in, so
# each run's Wine session and tests start under LC_ALL=en_US.UTF-8 (1252) or
# zh_CN.UTF-8 (936); ZKDB_EXPECT_ACP tells the tests which code page they
# must see, and they fail under any other. Both locales must be generated
# (Debian package locales):
#   localedef -i en_US -f UTF-8 en_US.UTF-8; localedef -i zh_CN -f UTF-8 zh_CN.UTF-8

zkdb_exported_classes=(DataBase SqliteDataBase SQLiteHelper SQLiteBuilt SQLitePool
    DeviceStatePo DeviceStateDao DeviceTablePo DeviceTableDao ChannelTablePo ChannelTableDao
    SipDeviceTablePo SipDeviceTableDao MqttMessageTablePo MqttMessageTableDao
    ParamTablePo ParamTableDao)

zkdb_check_export_list() {
    local exports class pattern status=0
    exports=$(cat)
    for class in "${zkdb_exported_classes[@]}"; do
        pattern=${1//CLASS/$class}
        pattern=${pattern//LENGTH/${#class}}
        if ! grep -qE "$pattern" <<<"$exports"; then
            echo "class $class is not exported" >&2
            status=1
        fi
    done
    return $status
}

# Runs tests under one locale, in a Wine session started under it:
# zkdb_run_under PRESET LOCALE CODE_PAGE [ctest arguments]
zkdb_run_under() {
    local preset=$1 build prefix log
    build=build/$preset
    prefix=$build/wine-prefix
    log=$build/Testing/Temporary/LastTest.log
    echo
    echo "=== Tests of the $preset build under Wine, LC_ALL=$2, ANSI code page $3 expected ==="
    LC_ALL=$2 bash cmake/wine-session.sh start "$prefix"
    # The session is stopped whatever ctest says, so the next one starts
    # under its own locale.
    local status=0
    LC_ALL=$2 ZKDB_EXPECT_ACP=$3 ctest --preset "$preset" "${@:4}" || status=$?
    bash cmake/wine-session.sh stop "$prefix"
    echo "Code page the tests reported: $(grep -ho 'ANSI code page [0-9]*' "$log" | sort -u)"
    return $status
}

zkdb_run_tests() {
    local locale
    for locale in en_US.UTF-8 zh_CN.UTF-8; do
        if [ "$(LC_ALL=$locale locale charmap 2>/dev/null)" != UTF-8 ]; then
            echo "the locale $locale is missing: localedef -i ${locale%.*} -f UTF-8 $locale" >&2
            return 1
        fi
    done
    zkdb_run_under "$1" en_US.UTF-8 1252 &&
        zkdb_run_under "$1" zh_CN.UTF-8 936 -L codepage
}
