#!/usr/bin/env bash
# The Debian package as a user meets it: CPack packages this build's programs
# as scripts/package deb does, lintian finds no error, apt would install it
# here (its dependencies resolve), and dpkg installs it into an empty root of
# its own (dpkg --root), where the programs run: yomite-render draws the sample
# with the settings from the user's configuration directory, `man yomite`
# shows the manual, the desktop entry and the AppStream metadata validate.
# `dpkg -r` then leaves nothing behind but the user's settings.
#   deb_test.sh BUILD_DIR SOURCE_DIR   (exit 77: a tool is missing)
set -euo pipefail
build=$1
source=$2
for tool in cpack dpkg dpkg-shlibdeps lintian desktop-file-validate appstreamcli man; do
  command -v "$tool" >/dev/null || { echo "skipped: $tool is not installed (scripts/bootstrap)"; exit 77; }
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "deb: $*" >&2; exit 1; }

(cd "$build" && cpack -G DEB -B "$work/package" >"$work/cpack.log" 2>&1) ||
  { cat "$work/cpack.log"; fail "cpack failed"; }
deb=$(ls "$work"/package/yomite_*_amd64.deb)
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
[ "$(basename "$deb")" = "yomite_${version}_amd64.deb" ] || fail "named $(basename "$deb")"
[ "$(dpkg-deb -f "$deb" Version)" = "$version" ] || fail "version $(dpkg-deb -f "$deb" Version)"
depends=$(dpkg-deb -f "$deb" Depends)
for needed in libgtk-3-0 libpango-1.0-0 libzip4 fonts-ipafont-gothic fonts-ipafont-mincho; do
  grep -q "$needed" <<<"$depends" || fail "Depends lacks $needed: $depends"
done

lintian_root=()
[ "$(id -u)" -ne 0 ] || lintian_root=(--allow-root)
lintian "${lintian_root[@]}" --fail-on error "$deb" || fail "lintian reports an error"

# What apt would do with it here: every dependency resolves.
if [ "$(id -u)" -eq 0 ]; then
  apt-get install --simulate --no-download -qq "$deb" >"$work/apt.log" 2>&1 ||
    { cat "$work/apt.log"; fail "its dependencies do not resolve"; }
fi

root=$work/root
mkdir -p "$root/var/lib/dpkg/updates" "$root/var/lib/dpkg/info"
touch "$root/var/lib/dpkg/status"
dpkg_root=(dpkg --root="$root" --force-not-root --force-script-chrootless --log=/dev/null)
# The empty root holds none of the libraries and fonts: the host's serve.
"${dpkg_root[@]}" --force-depends -i "$deb" >"$work/dpkg.log" 2>&1 || { cat "$work/dpkg.log"; fail "dpkg -i failed"; }
[ "$("${dpkg_root[@]}" -s yomite | sed -n 's/^Status: //p')" = "install ok installed" ] ||
  fail "not installed"

home=$work/home
export HOME=$home XDG_CONFIG_HOME=$home/.config
mkdir -p "$XDG_CONFIG_HOME/yomite"
render=$root/usr/bin/yomite-render
sample=$source/samples/yomite-no-hon.txt
"$render" -o "$work/page.png" "$sample" || fail "yomite-render did not draw the sample"
[ "$(head -c 8 "$work/page.png" | od -An -tx1 | tr -d ' ')" = 89504e470d0a1a0a ] || fail "no PNG"
# The installed program lays the sample out as the build's does, and takes the
# user's settings from the configuration directory (none beside it in /usr/bin).
standard=$("$render" --dump-lines "$sample")
[ "$standard" = "$("$build/apps/yomite-render/yomite-render" --dump-lines "$sample")" ] ||
  fail "the installed yomite-render lays the sample out otherwise"
printf '[Font]\nWidth=20\n' >"$XDG_CONFIG_HOME/yomite/YOMITE.INI"
[ "$("$render" --dump-lines "$sample")" != "$standard" ] ||
  fail "the settings in $XDG_CONFIG_HOME/yomite were not read"

manual=$(LC_ALL=C.UTF-8 MANWIDTH=80 MANPATH=$root/usr/share/man man -P cat yomite 2>&1) ||
  fail "man yomite: $manual"
grep -q 'XDG_CONFIG_HOME/yomite/' <<<"$manual" || fail "man yomite shows no settings file"

desktop=$root/usr/share/applications/io.github.yomite.Viewer.desktop
desktop-file-validate "$desktop" || fail "the desktop entry does not validate"
grep -qx 'MimeType=text/plain;application/zip;' "$desktop" || fail "the desktop entry's types"
metainfo=$root/usr/share/metainfo/io.github.yomite.Viewer.metainfo.xml
out=$(appstreamcli validate --no-net --no-color "$metainfo" 2>&1) || fail "metadata: $out"
! grep -q '^[EW]:' <<<"$out" || fail "metadata: $out"
for f in usr/bin/yomite usr/bin/yomiseal usr/share/icons/hicolor/256x256/apps/io.github.yomite.Viewer.png \
  usr/share/doc/yomite/copyright usr/share/doc/yomite/changelog.gz; do
  [ -e "$root/$f" ] || fail "$f missing"
done

"${dpkg_root[@]}" -r yomite >/dev/null || fail "dpkg -r failed"
left=$(cd "$root" && find . -mindepth 1 -not -path './var/lib/dpkg' -not -path './var/lib/dpkg/*' \
  -not -path './var/lib' -not -path './var')
[ -z "$left" ] || fail "dpkg -r left: $left"
[ -f "$XDG_CONFIG_HOME/yomite/YOMITE.INI" ] || fail "the user's settings went"
echo "deb: ok"
