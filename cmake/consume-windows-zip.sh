#!/usr/bin/env bash
# Builds a host as a separate project against an unpacked Windows zip, the
# way a Windows host team does, and runs it under Wine:
#
#   cmake/consume-windows-zip.sh ZIP TOOLCHAIN [cmake arguments of the host]
#
# ZIP is a zip that cpack made (build/windows/packages/ZkDb-*-win64-mingw.zip
# or the MSVC build's ZkDb-*-win64-msvc.zip), TOOLCHAIN the toolchain file
# the host is built with (cmake/mingw-w64-x86_64.cmake, or the MSVC-ABI
# one). tests/consumer/RunConsumer.cmake unpacks the zip into a directory
# whose name is not ASCII, builds tests/consumer there through the zip's
# CMake package (CMAKE_PREFIX_PATH), deploys it with the Windows recipe of
# docs/windows.md ($<TARGET_RUNTIME_DLLS>, the schema beside the program),
# and runs it twice, then its loader (LoadLibrary, two threads, FreeLibrary)
# twice. The runs happen in a Wine session of their own under en_US.UTF-8,
# so the host's directory name is read in code page 1252.
set -euo pipefail
if [ $# -lt 2 ]; then
    echo "usage: $0 ZIP TOOLCHAIN [cmake arguments]" >&2
    exit 2
fi
zip=$(realpath "$1")
toolchain=$(realpath "$2")
cd "$(dirname "$0")/.."

prefix=$PWD/build/consumer-wine-prefix
wine=$(command -v /usr/lib/wine/wine64 wine64 wine 2>/dev/null | head -n 1)
version=$(sed -n 's/^ *VERSION \([0-9.]*\)$/\1/p' CMakeLists.txt | head -n 1)
export LC_ALL=en_US.UTF-8
trap 'bash cmake/wine-session.sh stop "$prefix"' EXIT
bash cmake/wine-session.sh start "$prefix"
host_args=$(IFS=';'; echo "${*:3}")
cmake -DSOURCE_DIR="$PWD" -DFROM="$zip" -DVERSION="$version" -DGENERATOR=Ninja \
    -DTOOLCHAIN="$toolchain" "-DHOST_ARGS=$host_args" \
    "-DEMULATOR=env;WINEPREFIX=$prefix;WINEDEBUG=-all;WINEDLLOVERRIDES=mscoree,mshtml=;$wine" \
    -P tests/consumer/RunConsumer.cmake
