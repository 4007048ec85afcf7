#!/bin/sh
# The Wine prefix of one test run: made fresh at the start (so no state of an
# earlier run is left in it) and kept warm by a persistent wineserver until
# the end, so that each test pays only for starting its own program.
#   wine_prefix.sh start|stop PREFIX WINE
set -eu
action=$1 prefix=$2 wine=$3
export WINEPREFIX="$prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
server=$(dirname "$wine")/wineserver
[ -x "$server" ] || server=wineserver
case "$action" in
  start)
    "$server" -k 2>/dev/null || true
    rm -rf "$prefix"
    # No display is needed for the prefix; wineboot says so and goes on.
    DISPLAY= "$wine" wineboot --init >/dev/null 2>&1
    "$server" -w
    # Detached from the test's output, which CTest waits to be closed; so
    # are the services Wine starts for the first program of a server, which
    # live as long as the server does.
    "$server" -p </dev/null >/dev/null 2>&1
    DISPLAY= "$wine" cmd.exe /c exit </dev/null >/dev/null 2>&1
    test -f "$prefix/system.reg"
    ;;
  stop)
    "$server" -k 2>/dev/null || true
    ;;
esac
