#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# installed_game_test.sh <build dir> <player driver library> <desktop id>
# Installs the game into a temporary DESTDIR under /usr and checks the laid
# out files and the launcher and metainfo (with their validators when they are
# installed); then starts the INSTALLED executable with a fresh HOME and
# XDG_DATA_HOME, with the player driver preloaded, and checks that the
# player's folder was filled, a face was saved there and the install tree was
# left untouched.
set -euo pipefail
build=$1 driver=$2 id=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
root=$work/root
fail() { echo "FAIL: $*" >&2; exit 1; }

DESTDIR=$root cmake --install "$build" --prefix /usr > "$work/install.log" || { cat "$work/install.log"; fail "install"; }

usr=$root/usr
expected=(
  games/pomurina
  share/pomurina/data/FaceData.ini share/pomurina/data/face0_0.jpg share/pomurina/data/face0_5.jpg
  share/pomurina/title.bmp share/pomurina/logo.bmp "share/pomurina/作品について.txt"
  "share/applications/$id.desktop" "share/metainfo/$id.metainfo.xml"
  "share/icons/hicolor/scalable/apps/$id.svg"
  share/doc/pomurina/README.md share/doc/pomurina/copyright share/doc/pomurina/changelog.gz
  share/man/man6/pomurina.6.gz share/man/ja/man6/pomurina.6.gz
)
for size in 48 64 128 256; do expected+=("share/icons/hicolor/${size}x$size/apps/$id.png"); done
for f in "${expected[@]}"; do [ -s "$usr/$f" ] || fail "not installed: /usr/$f"; done
[ -x "$usr/games/pomurina" ] || fail "/usr/games/pomurina is not executable"
[ ! -e "$usr/bin" ] || fail "something installed in /usr/bin: $(ls "$usr/bin")"
for size in 48 64 128 256; do
  file "$usr/share/icons/hicolor/${size}x$size/apps/$id.png" | grep -q "PNG image data, $size x $size" ||
    fail "icon of ${size}px is not a ${size}x$size PNG"
done
outside=$(cd "$root" && find . -mindepth 1 -maxdepth 1 ! -name usr)
[ -z "$outside" ] || fail "installed outside /usr: $outside"
grep -qx "Icon=$id" "$usr/share/applications/$id.desktop" || fail "the launcher names another icon"
grep -qx "Exec=/usr/games/pomurina" "$usr/share/applications/$id.desktop" ||
  fail "the launcher starts $(grep ^Exec= "$usr/share/applications/$id.desktop")"
grep -qx "  <project_license>GPL-3.0-or-later</project_license>" "$usr/share/metainfo/$id.metainfo.xml" ||
  fail "the metainfo names no GPL-3.0-or-later licence"
if command -v desktop-file-validate > /dev/null; then
  desktop-file-validate "$usr/share/applications/$id.desktop" || fail "desktop-file-validate"
else
  echo "desktop-file-validate not installed: launcher not validated"
fi
if command -v appstreamcli > /dev/null; then
  appstreamcli validate --no-net "$usr/share/metainfo/$id.metainfo.xml" || fail "appstreamcli validate"
else
  echo "appstreamcli not installed: metainfo not validated"
fi

# The first start of a player who never played.
(cd "$root" && find . -printf '%p %s %T@\n' | sort) > "$work/tree.before"
home=$work/home
mkdir -p "$home"
status=0
env -u POMURINA_HOME HOME="$home" XDG_DATA_HOME="$home/data-home" QT_QPA_PLATFORM=offscreen \
    LD_PRELOAD="$driver" timeout 150 "$usr/games/pomurina" > "$work/run.log" 2>&1 || status=$?
cat "$work/run.log"
[ "$status" -eq 0 ] || fail "the installed game ended with status $status"
grep -q "^driver: face selection reached" "$work/run.log" || fail "the face selection was not reached"
grep -q "^driver: saved 初めての顔" "$work/run.log" || fail "no face was saved"

player=$home/data-home/pomurina
for f in data/FaceData.ini title.bmp logo.bmp "作品について.txt"; do
  cmp -s "$usr/share/pomurina/$f" "$player/$f" || fail "the player's folder lacks a copy of $f"
done
[ "$(ls "$player/data" | wc -l)" -eq "$(ls "$usr/share/pomurina/data" | wc -l)" ] || fail "catalogue copied in part"
saved="$player/Library/初めての顔.jpg"
[ -s "$saved" ] || fail "no picture at $saved"
file "$saved" | grep -q "JPEG image data" || fail "the saved face is not a JPEG"
[ -z "$(ls -A "$home" | grep -vx data-home)" ] || fail "files written beside the player's data folder: $(ls -A "$home")"
(cd "$root" && find . -printf '%p %s %T@\n' | sort) > "$work/tree.after"
diff "$work/tree.before" "$work/tree.after" || fail "the game changed its install tree"
echo "installed game: files, launcher, metainfo, first start and save all fine"
