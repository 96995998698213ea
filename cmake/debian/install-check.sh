#!/usr/bin/env bash
# The Debian packages, installed on this machine the way users install them.
# Root only: it installs packages and adds a user, and undoes both.
#
#   cmake/debian/install-check.sh [build-dir]      (default: build/default)
#
# From a configured and built tree it makes the packages with cpack, has
# lintian check them (no error allowed), checks that libzkdb1 holds the two
# libraries and nothing else, installs libzkdb1, libzkdb-dev and zkdb-tools
# with apt-get, builds the host of tests/consumer against /usr (CMake package
# and pkg-config) and runs it as a new unprivileged user with
# ZKDB_DATA_DIR=/var/lib/zkdb-consumer: every run finds what the runs before
# it stored there, nothing lands in the system library directory, and without
# the variable the host fails. zkdb-doctor from zkdb-tools then checks the
# file. On every exit the packages are purged and the user, the data
# directory and the scratch directory removed.
#
# Needs: lintian, dpkg-dev (dpkg-shlibdeps for versioned Depends), cmake,
# ninja-build, g++, pkgconf.
set -euo pipefail

source_dir=$(cd "$(dirname "$0")/../.." && pwd)
build_dir=$(cd "${1:-$source_dir/build/default}" && pwd)
host=zkdb-consumer
data=/var/lib/$host
packages=(libzkdb1 libzkdb-dev zkdb-tools)

fail() { echo "install-check: $*" >&2; exit 1; }

[ "$(id -u)" = 0 ] || { echo "install-check: run as root" >&2; exit 2; }
# Nothing this stage would remove may exist before it.
for package in "${packages[@]}"; do
    if dpkg-query -W -f '${db:Status-Status}' "$package" 2>/dev/null | grep -qv '^not-installed$'; then
        echo "install-check: $package is installed already; remove it first" >&2
        exit 2
    fi
done
if id "$host" >/dev/null 2>&1 || [ -e "$data" ]; then
    echo "install-check: the user $host or $data exists already" >&2
    exit 2
fi

work=$(mktemp -d /tmp/zkdb-debian-XXXXXX)
chmod 755 "$work"  # apt's download user and the host's user read from here
cleanup() {
    local status=$?
    dpkg --purge "${packages[@]}" >/dev/null 2>&1 || status=1
    userdel "$host" >/dev/null 2>&1 || true
    rm -rf "$data" "$work"
    exit "$status"
}
trap cleanup EXIT
trap 'exit 130' INT TERM HUP
start=$SECONDS
touch "$work/stamp"

echo "--- packages"
cpack --config "$build_dir/CPackConfig.cmake" -B "$work/packages" >"$work/cpack.log" 2>&1 ||
    { cat "$work/cpack.log"; fail "cpack failed"; }
cd "$work/packages"
for deb in *.deb *.ddeb; do
    echo "$deb"
    dpkg-deb --field "$deb" Depends | sed 's/^/  Depends: /'
    dpkg-deb --contents "$deb" | awk '$6 !~ /\/$/ {print "  " $3, $6, $7, $8}'
done

echo "--- lintian (errors fail the stage; the -dbgsym .ddeb files under a .deb name)"
for ddeb in *.ddeb; do cp "$ddeb" "$work/${ddeb%.ddeb}.deb"; done
lintian --fail-on error --tag-display-limit 0 --display-info ./*.deb "$work"/*-dbgsym_*.deb

# The runtime package: the two libraries (lintian fails on unstripped ones),
# their links and the documentation Debian asks for; no executable.
extra=$(dpkg-deb --fsys-tarfile libzkdb1_*.deb | tar -t | grep -v '/$' |
    grep -Ev '^\./usr/lib/libZk(Db|Lib)\.so\.[0-9.]+$|^\./usr/share/doc/libzkdb1/(copyright|changelog\.gz)$' || true)
[ -z "$extra" ] || fail "libzkdb1 holds more than the libraries: $extra"

echo "--- apt-get install"
DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends \
    ./libzkdb1_*.deb ./libzkdb-dev_*.deb ./zkdb-tools_*.deb
[ "$(pkg-config --variable=includedir zkdb)" = /usr/include ] || fail "zkdb.pc does not name /usr"
schema=$(pkg-config --variable=schemafile zkdb)
[ -f "$schema" ] || fail "no reference schema at '$schema'"

echo "--- a host built against /usr"
cmake -S "$source_dir/tests/consumer" -B "$work/cmake-host" -G Ninja -DZKDB_CONSUME=package \
    >"$work/host.log" 2>&1 || { cat "$work/host.log"; fail "the CMake host does not configure"; }
grep -qx 'ZkDb_DIR:PATH=/usr/lib/cmake/ZkDb' "$work/cmake-host/CMakeCache.txt" ||
    fail "the CMake host found ZkDb elsewhere than /usr"
cmake --build "$work/cmake-host" >"$work/host.log" 2>&1 || { cat "$work/host.log"; fail "the CMake host does not build"; }
# shellcheck disable=SC2046  # pkg-config's flags are separate words
c++ -std=c++17 "$source_dir/tests/consumer/main.cpp" $(pkg-config --cflags --libs zkdb) \
    -o "$work/pkg-config-host"

echo "--- runs as the unprivileged user $host, ZKDB_DATA_DIR=$data"
useradd --system --no-create-home --home-dir /nonexistent --shell /usr/sbin/nologin "$host"
install -d -o "$host" -g "$host" -m 0750 "$data"  # what systemd's StateDirectory= makes
as_host() { (cd / && runuser -u "$host" -- "$@"); }
run=0
for program in cmake-host/consumer cmake-host/consumer pkg-config-host; do
    output=$(as_host env ZKDB_DATA_DIR="$data" "$work/$program" "$schema") ||
        fail "run $((run + 1)) ($program) failed: $output"
    echo "run $((run + 1)), $program: $output"
    [ "$output" = "consumer ok, earlier rows: $run" ] ||
        fail "run $((run + 1)) did not find the $run rows of the runs before it"
    run=$((run + 1))
done
[ "$(stat -c %U "$data/harbor.db")" = "$host" ] || fail "harbor.db in $data is not the host user's"
# Without the variable, the host looks beside the system's SQLite library,
# which this user may not write: it fails, and nothing lands there.
if output=$(as_host "$work/cmake-host/consumer" "$schema"); then
    fail "the host worked without ZKDB_DATA_DIR: $output"
fi
stray=$(find /usr/lib -maxdepth 2 -name 'harbor.db*' -newer "$work/stamp" 2>/dev/null)
[ -z "$stray" ] || fail "harbor.db in a system library directory: $stray"

echo "--- zkdb-doctor from zkdb-tools, as $host"
as_host zkdb-doctor --file "$data/harbor.db"

echo "install-check: ok in $((SECONDS - start)) s"
