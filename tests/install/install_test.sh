#!/usr/bin/env bash
# `cmake --install` into a fresh prefix: the programs, the desktop entry (valid,
# for texts and ZIP archives), the icon and the manual pages land where a
# desktop looks for them.
set -euo pipefail
build=$1
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" >/dev/null
fail() { echo "install: $*" >&2; exit 1; }
for p in yomiseal yomite-render; do
  [ -x "$prefix/bin/$p" ] || fail "bin/$p missing"
done
if grep -q '^YOMITE_DESKTOP:BOOL=ON' "$build/CMakeCache.txt" && [ -e "$build/apps/yomite/yomite" ]; then
  [ -x "$prefix/bin/yomite" ] || fail "bin/yomite missing"
fi
desktop=$prefix/share/applications/io.github.yomite.Viewer.desktop
[ -f "$desktop" ] || fail "desktop entry missing"
grep -q '^MimeType=.*text/plain;' "$desktop" || fail "desktop entry does not open texts"
grep -q '^MimeType=.*application/zip;' "$desktop" || fail "desktop entry does not open ZIP archives"
if command -v desktop-file-validate >/dev/null; then desktop-file-validate "$desktop"; fi
[ -f "$prefix/share/icons/hicolor/scalable/apps/io.github.yomite.Viewer.svg" ] || fail "icon missing"
for m in yomite yomiseal yomite-render; do
  page=$prefix/share/man/man1/$m.1
  [ -f "$page" ] || continue
  # The page must format without warnings.
  out=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$page" 2>&1 >/dev/null || true)
  [ -z "$out" ] || fail "$m.1: $out"
done
[ -f "$prefix/share/man/man1/yomite.1" ] || fail "yomite.1 missing"
echo "install: ok"
