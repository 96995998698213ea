#!/usr/bin/env bash
# Produces SQLite's amalgamation (sqlite3.c, sqlite3.h) in DEST from the
# source package that Debian publishes, with Debian's patches applied. The
# Windows build compiles sqlite3.dll from it; nothing of it is ever committed.
#
#   cmake/fetch-sqlite-source.sh DEST
#
# Uses the mirror this machine's apt already uses, through a private sources
# file and private package lists, so the system's apt configuration and state
# are left untouched. Needs apt-get, dpkg-source (dpkg-dev), make and tclsh.
# Does nothing when DEST already holds the amalgamation.
set -euo pipefail

if [ $# -ne 1 ]; then
    echo "usage: $0 DEST" >&2
    exit 2
fi
dest=$1
if [ -f "$dest/sqlite3.c" ] && [ -f "$dest/sqlite3.h" ]; then
    exit 0
fi
for tool in apt-get dpkg-source make tclsh; do
    if ! command -v "$tool" >/dev/null; then
        echo "$0: '$tool' is missing (Debian packages: apt, dpkg-dev, make, tcl)" >&2
        exit 1
    fi
done

. /etc/os-release
codename=${VERSION_CODENAME:?no VERSION_CODENAME in /etc/os-release}
mirror=$(apt-get indextargets --format '$(REPO_URI)' 'Created-By: Packages' \
    "Codename: $codename" | head -n 1)
if [ -z "$mirror" ]; then
    echo "$0: apt knows no package source for '$codename'; run apt-get update first" >&2
    exit 1
fi

mkdir -p "$dest"
dest=$(cd "$dest" && pwd)
work=$(mktemp -d "$dest/.fetch-XXXXXX")
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/lists/partial" "$work/cache/archives/partial" "$work/source"
echo "deb-src $mirror $codename main" >"$work/sources.list"

apt_private=(
    -o "Dir::Etc::SourceList=$work/sources.list"
    -o "Dir::Etc::SourceParts=/nonexistent"
    -o "Dir::State::Lists=$work/lists"
    -o "Dir::Cache=$work/cache"
    -o "APT::Sandbox::User=root"
)
apt-get -q "${apt_private[@]}" update >"$work/update.log" 2>&1 ||
    { cat "$work/update.log" >&2; exit 1; }
(cd "$work/source" && apt-get -q "${apt_private[@]}" source sqlite3) >"$work/source.log" 2>&1 ||
    { cat "$work/source.log" >&2; exit 1; }

top=$(find "$work/source" -mindepth 1 -maxdepth 1 -type d -name 'sqlite3-*' | head -n 1)
if [ -z "$top" ] || [ ! -f "$top/Makefile.linux-gcc" ]; then
    echo "$0: unexpected layout of the sqlite3 source package" >&2
    exit 1
fi
mkdir -p "$work/amalgamation"
make -s -C "$work/amalgamation" -f "$top/Makefile.linux-gcc" TOP="$top" sqlite3.c \
    >"$work/make.log" 2>&1 || { cat "$work/make.log" >&2; exit 1; }

cp "$work/amalgamation/sqlite3.c" "$work/amalgamation/sqlite3.h" "$dest/"
basename "$top" >"$dest/SOURCE"
echo "SQLite amalgamation from $(cat "$dest/SOURCE") in $dest"
