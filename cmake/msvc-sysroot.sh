#!/usr/bin/env bash
# Assembles the sysroot of the MSVC-ABI cross build (cmake/clang-cl-msvc.cmake)
# from Debian packages and the pinned archive of MSVC's standard library:
#
#   cmake/msvc-sysroot.sh ARCHIVE SHA256 SYSROOT -- CLANG-CL-FLAGS...
#
#   SYSROOT/stl/inc      MSVC's standard library headers, unpacked from ARCHIVE
#                        after its sha256 is checked
#   SYSROOT/lib/*.lib    import libraries made by llvm-dlltool from Wine's own
#                        DLLs (ucrtbase, vcruntime140, msvcp140, kernel32, ...):
#                        ucrt.lib, vcruntime.lib, msvcprt.lib, kernel32.lib, ...
#   SYSROOT/lib/msvcrt.lib  the start-up part (toolchain/msvc/startup), the
#                        static half of the runtime every module links
#
# msvcprt.lib also holds the standard library's import-library objects
# (nothrow, the system_error messages, the filesystem calls) compiled from
# ARCHIVE's sources, as Visual Studio's msvcprt.lib does. Everything is
# compiled with the flags given after "--" (those of the toolchain file).
# Needs the Debian packages clang-14, lld-14, llvm-14, libwine-dev, wine64 and
# xz-utils. Does nothing when SYSROOT was assembled from the same inputs.
set -euo pipefail

if [ $# -lt 4 ] || [ "$4" != -- ]; then
    echo "usage: $0 ARCHIVE SHA256 SYSROOT -- CLANG-CL-FLAGS..." >&2
    exit 2
fi
archive=$1 sha=$2 sysroot=$3
shift 4
flags=("$@")
here=$(cd "$(dirname "$0")" && pwd)
toolchain=$here/../toolchain/msvc

for tool in clang-cl-14 llvm-lib-14 llvm-dlltool-14 llvm-readobj-14 sha256sum tar; do
    command -v "$tool" >/dev/null ||
        { echo "$0: '$tool' is missing (Debian packages clang-14, llvm-14, coreutils, tar)" >&2; exit 1; }
done
wine_dlls=
for dir in /usr/lib/x86_64-linux-gnu/wine/x86_64-windows /usr/lib/wine/x86_64-windows; do
    [ -f "$dir/ucrtbase.dll" ] && { wine_dlls=$dir; break; }
done
[ -n "$wine_dlls" ] || { echo "$0: Wine's Windows DLLs are missing (Debian package wine64)" >&2; exit 1; }
[ -f /usr/include/wine/wine/msvcrt/corecrt.h ] ||
    { echo "$0: Wine's CRT headers are missing (Debian package libwine-dev)" >&2; exit 1; }
[ -f "$archive" ] || { echo "$0: no archive $archive" >&2; exit 1; }

# The stamp names every input, so a changed one assembles the sysroot anew.
stamp_text=$(
    echo "$sha"
    printf '%s\n' "${flags[@]}"
    cat "$0"
    find "$toolchain" -type f -print0 | LC_ALL=C sort -z | xargs -0 cat
    dpkg-query -W -f '${Package} ${Version}\n' wine64 libwine-dev clang-14 2>/dev/null || true
)
stamp_sum=$(sha256sum <<<"$stamp_text" | cut -d' ' -f1)
if [ -f "$sysroot/stamp" ] && [ "$(cat "$sysroot/stamp")" = "$stamp_sum" ]; then
    exit 0
fi

actual=$(sha256sum "$archive" | cut -d' ' -f1)
if [ "$actual" != "$sha" ]; then
    echo "$0: $archive has sha256 $actual, expected $sha" >&2
    exit 1
fi

# The headers are unpacked again only for another archive, so a change to
# the stand-ins or the start-up part does not make every source recompile.
rm -rf "$sysroot/lib" "$sysroot/obj" "$sysroot/def"
mkdir -p "$sysroot/lib" "$sysroot/obj" "$sysroot/def"
if [ ! -f "$sysroot/stl/SHA256" ] || [ "$(cat "$sysroot/stl/SHA256")" != "$sha" ]; then
    rm -rf "$sysroot/stl" "$sysroot/msvc-stl"
    tar -xJf "$archive" -C "$sysroot"
    mv "$sysroot/msvc-stl/stl" "$sysroot/stl"
    mv "$sysroot/msvc-stl/LICENSE.txt" "$sysroot/msvc-stl/NOTICE.txt" "$sysroot/stl/"
    rm -rf "$sysroot/msvc-stl"
    echo "$sha" >"$sysroot/stl/SHA256"
fi

# Import libraries: one per DLL, listing what Wine's build of it exports.
# (Wine's own libmsvcp140.a names no C++ function; its DLL exports them.)
implib() {  # implib DLL LIBNAME
    local dll=$1 lib=$2
    {
        echo "LIBRARY $dll.dll"
        echo "EXPORTS"
        llvm-readobj-14 --coff-exports "$wine_dlls/$dll.dll" |
            sed -n 's/^ *Name: \(..*\)$/    "\1"/p'
    } >"$sysroot/def/$dll.def"
    llvm-dlltool-14 -m i386:x86-64 -d "$sysroot/def/$dll.def" -l "$sysroot/lib/$lib.lib"
}
implib ucrtbase ucrt
implib vcruntime140 vcruntime
implib msvcp140 msvcp140
for dll in kernel32 advapi32 user32 shell32 ole32 ws2_32 ntdll; do
    [ -f "$wine_dlls/$dll.dll" ] && implib "$dll" "$dll"
done

compile() {  # compile SOURCE OBJECT [extra flags]
    local source=$1 object=$2
    shift 2
    clang-cl-14 "${flags[@]}" /O2 /c "$@" "/Fo$object" -- "$source"
}

# The start-up part: msvcrt.lib, the name the compiler asks the linker for.
startup=()
for source in "$toolchain"/startup/*.cpp; do
    object=$sysroot/obj/startup-$(basename "$source" .cpp).obj
    # /GS-: the cookie these objects set up cannot guard their own frames.
    compile "$source" "$object" "-I$toolchain/startup" /GS-
    startup+=("$object")
done
llvm-lib-14 "/out:$sysroot/lib/msvcrt.lib" "${startup[@]}"
clang-cl-14 "${flags[@]}" /c "/Fo$sysroot/obj/oldnames.obj" -- "$toolchain/oldnames/oldnames.cpp"
llvm-lib-14 "/out:$sysroot/lib/oldnames.lib" "$sysroot/obj/oldnames.obj"

# msvcprt.lib: msvcp140.dll's imports plus the standard library's
# import-library objects.
stl=()
for name in nothrow syserror_import_lib filesystem locale0_implib; do
    object=$sysroot/obj/stl-$name.obj
    compile "$sysroot/stl/src/$name.cpp" "$object" "-I$sysroot/stl/src" /D_CRTBLD
    stl+=("$object")
done
for source in "$toolchain"/stl/*.cpp; do
    [ -f "$source" ] || continue
    object=$sysroot/obj/stl-$(basename "$source" .cpp).obj
    compile "$source" "$object"
    stl+=("$object")
done
llvm-lib-14 "/out:$sysroot/lib/msvcprt.lib" "$sysroot/lib/msvcp140.lib" "${stl[@]}"

echo "$stamp_sum" >"$sysroot/stamp"
echo "MSVC-ABI sysroot assembled in $sysroot"
