#!/usr/bin/env bash
# `cmake --install` into a fresh prefix: the programs, the desktop entry (valid,
# for texts and ZIP archives), the AppStream metadata, the icons and the manual
# pages land where a desktop looks for them.
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
for icon in scalable/apps/io.github.yomite.Viewer.svg 48x48/apps/io.github.yomite.Viewer.png \
  128x128/apps/io.github.yomite.Viewer.png 256x256/apps/io.github.yomite.Viewer.png; do
  [ -f "$prefix/share/icons/hicolor/$icon" ] || fail "icon $icon missing"
done
metainfo=$prefix/share/metainfo/io.github.yomite.Viewer.metainfo.xml
[ -f "$metainfo" ] || fail "AppStream metadata missing"
# The metadata's id is the desktop entry's, and its newest release is this version.
grep -q '<launchable type="desktop-id">io.github.yomite.Viewer.desktop</launchable>' "$metainfo" ||
  fail "the metadata does not name the desktop entry"
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
grep -q "<release version=\"$version\"" "$metainfo" || fail "no release $version in the metadata"
if command -v appstreamcli >/dev/null; then
  out=$(appstreamcli validate --no-net --no-color "$metainfo" 2>&1) || fail "metadata: $out"
  ! grep -q '^[EW]:' <<<"$out" || fail "metadata: $out"
fi
for m in yomite yomiseal yomite-render; do
  page=$prefix/share/man/man1/$m.1.gz
  [ -f "$page" ] || continue
  # The page must format without warnings.
  out=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$page" 2>&1 >/dev/null || true)
  [ -z "$out" ] || fail "$m.1: $out"
done
[ -f "$prefix/share/man/man1/yomite.1.gz" ] || fail "yomite.1.gz missing"
[ -f "$prefix/share/doc/yomite/copyright" ] || fail "copyright missing"
echo "install: ok"
