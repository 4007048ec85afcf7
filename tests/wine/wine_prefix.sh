#!/bin/sh
# The Wine prefix of one test run: made fresh at the start (so no state of an
# earlier run is left in it) and kept warm by a persistent wineserver until
# the end, so that each test pays only for starting its own program.
#   wine_prefix.sh start|stop PREFIX WINE
#
# Nothing of it depends on the machine's locales or fonts: it is made in
# C.UTF-8; the Japanese locale the viewer's scenarios run in is compiled into
# PREFIX/locale (LOCPATH); and the faces Wine draws its menus and message
# boxes with (Tahoma, and MS UI Gothic in a Japanese locale), which Wine
# does not bring, are replaced by IPAPGothic, which scripts/bootstrap
# installs, instead of by whatever face fontconfig would offer.
set -eu
action=$1 prefix=$2 wine=$3
export WINEPREFIX="$prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
export LANG=C.UTF-8 LC_ALL=C.UTF-8
server=$(dirname "$wine")/wineserver
[ -x "$server" ] || server=wineserver
case "$action" in
  start)
    # A server of an earlier run may still be ending: wait for it before
    # its prefix goes, or the new one is made under its feet.
    # Its last programs may still be writing there while they end: try
    # again until the prefix is gone.
    tries=0
    until "$server" -k 2>/dev/null; "$server" -w 2>/dev/null; rm -rf "$prefix" 2>/dev/null; do
      tries=$((tries + 1))
      [ "$tries" -lt 20 ] || { echo "cannot remove $prefix:" >&2; ls -R "$prefix" >&2; exit 1; }
      sleep 0.5
    done
    # No display is needed for the prefix; wineboot says so and goes on.
    DISPLAY= "$wine" wineboot --init >/dev/null 2>&1
    for face in Tahoma "MS UI Gothic"; do
      "$wine" reg add 'HKCU\Software\Wine\Fonts\Replacements' /v "$face" /d IPAPGothic /f \
        >/dev/null 2>&1
    done
    if command -v localedef >/dev/null 2>&1; then
      mkdir -p "$prefix/locale"
      localedef -i ja_JP -f UTF-8 "$prefix/locale/ja_JP.UTF-8" >/dev/null 2>&1 ||
        rm -rf "$prefix/locale/ja_JP.UTF-8"
    fi
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
    "$server" -w 2>/dev/null || true
    ;;
esac
