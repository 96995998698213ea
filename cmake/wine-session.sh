#!/usr/bin/env bash
# Starts or stops the Wine session in which the Windows test executables run.
#
#   cmake/wine-session.sh start PREFIX   create PREFIX if needed, start a
#                                        persistent wineserver, boot the prefix
#   cmake/wine-session.sh stop PREFIX    stop that wineserver and every
#                                        Windows process of the prefix
#
# PREFIX must be the prefix the build's test emulator uses (ZKDB_WINEPREFIX,
# by default wine-prefix in the build tree). A persistent server lets the
# tests' many short Wine processes start quickly; booting once up front keeps
# the first test from paying for it. Every Wine process started here has its
# standard streams on /dev/null: Wine's background processes inherit them,
# and an inherited pipe would keep the caller's output open for ever.
set -euo pipefail

if [ $# -ne 2 ] || { [ "$1" != start ] && [ "$1" != stop ]; }; then
    echo "usage: $0 start|stop PREFIX" >&2
    exit 2
fi
action=$1
mkdir -p "$2"
export WINEPREFIX
WINEPREFIX=$(cd "$2" && pwd)
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="

wine=$(command -v /usr/lib/wine/wine64 wine64 wine 2>/dev/null | head -n 1 || true)
server=$(command -v /usr/lib/wine/wineserver wineserver 2>/dev/null | head -n 1 || true)
if [ -z "$wine" ] || [ -z "$server" ]; then
    echo "$0: Wine is missing (Debian package wine64)" >&2
    exit 1
fi

case $action in
start)
    "$server" -p </dev/null >/dev/null 2>&1
    "$wine" wineboot --init </dev/null >/dev/null 2>&1
    ;;
stop)
    # Waits for the server to be gone, so a session started next (under
    # another locale) gets a server of its own.
    "$server" -k </dev/null >/dev/null 2>&1 || true
    "$server" -w </dev/null >/dev/null 2>&1 || true
    ;;
esac
