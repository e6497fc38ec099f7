#!/usr/bin/env bash
# deb_package_test.sh <build dir> <version> <desktop id>
# Makes the Debian package with CPack into a temporary folder and checks its
# name, its file list (everything under /usr, nothing in a home folder) and its
# fields: Depends worked out from the linked libraries plus the font, and the
# SoundFont recommended.
set -euo pipefail
build=$1 version=$2 id=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

cpack --config "$build/CPackConfig.cmake" -G DEB -B "$work" > "$work/cpack.log" 2>&1 || { cat "$work/cpack.log"; fail "cpack"; }
arch=$(dpkg --print-architecture)
deb=$work/pomurina_${version}_$arch.deb
[ -f "$deb" ] || { ls "$work"; fail "no pomurina_${version}_$arch.deb"; }

dpkg-deb -c "$deb" > "$work/listing"
awk '{print $NF}' "$work/listing" | sed 's|^\./|/|' > "$work/files"
for f in /usr/bin/pomurina /usr/share/pomurina/data/FaceData.ini /usr/share/pomurina/title.bmp \
         /usr/share/pomurina/logo.bmp "/usr/share/pomurina/作品について.txt" \
         "/usr/share/applications/$id.desktop" "/usr/share/metainfo/$id.metainfo.xml" \
         "/usr/share/icons/hicolor/48x48/apps/$id.png" "/usr/share/icons/hicolor/256x256/apps/$id.png" \
         "/usr/share/icons/hicolor/scalable/apps/$id.svg" /usr/share/doc/pomurina/README.md; do
  grep -qxF "$f" "$work/files" || fail "not in the package: $f"
done
outside=$(grep -v -e '^/$' -e '^/usr/' "$work/files" || true)
[ -z "$outside" ] || fail "files outside /usr: $outside"
grep -q "^-rwxr-xr-x root/root .* ./usr/bin/pomurina$" "$work/listing" || fail "/usr/bin/pomurina is not an executable of root"

field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = pomurina ] || fail "Package: $(field Package)"
[ "$(field Version)" = "$version" ] || fail "Version: $(field Version)"
depends=$(field Depends)
echo "Depends: $depends"
for dep in libqt6widgets6 libqt6gui6 libqt6core6 libjpeg62-turbo libfluidsynth3 libc6 fonts-ipafont-gothic; do
  [[ ", $depends," == *", $dep"[\ ,]* ]] || fail "Depends lacks $dep"
done
[[ "$(field Recommends)" == *timgm6mb-soundfont* ]] || fail "Recommends: $(field Recommends)"
[[ "$(field Recommends)" == *qt6-translations-l10n* ]] || fail "Recommends: $(field Recommends)"
dpkg-deb -x "$deb" "$work/root"
file "$work/root/usr/bin/pomurina" | grep -q ", stripped" ||
  fail "the packaged executable keeps its debugging symbols"
echo "package: $(basename "$deb"), $(stat -c %s "$deb") bytes, installed size $(field Installed-Size) KiB"
