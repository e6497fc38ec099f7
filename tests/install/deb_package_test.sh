#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# deb_package_test.sh <build dir> <version> <desktop id>
# Makes the Debian package with CPack into a temporary folder and checks its
# name, its file list (everything under /usr, nothing in a home folder), its
# fields (Depends worked out from the linked libraries, Qt's print support
# for the New Year card and libheif for HEIC photographs among them, plus
# the font and Qt's image plugins for WebP photographs, the SoundFont
# recommended), its documents (DEP-5 copyright, changelog, manual page), the
# hardening of the program, and that lintian reports no error and no warning. Ends with the package's size and installed size.
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
for f in /usr/games/pomurina /usr/share/pomurina/data/FaceData.ini /usr/share/pomurina/title.bmp \
         /usr/share/pomurina/logo.bmp "/usr/share/pomurina/作品について.txt" \
         "/usr/share/applications/$id.desktop" "/usr/share/metainfo/$id.metainfo.xml" \
         "/usr/share/icons/hicolor/48x48/apps/$id.png" "/usr/share/icons/hicolor/256x256/apps/$id.png" \
         "/usr/share/icons/hicolor/scalable/apps/$id.svg" /usr/share/doc/pomurina/README.md \
         /usr/share/doc/pomurina/copyright /usr/share/doc/pomurina/changelog.gz /usr/share/man/man6/pomurina.6.gz; do
  grep -qxF "$f" "$work/files" || fail "not in the package: $f"
done
outside=$(grep -v -e '^/$' -e '^/usr/' "$work/files" || true)
[ -z "$outside" ] || fail "files outside /usr: $outside"
grep -q "^-rwxr-xr-x root/root .* ./usr/games/pomurina$" "$work/listing" || fail "/usr/games/pomurina is not an executable of root"
! grep -q "^/usr/bin/" "$work/files" || fail "a program in /usr/bin: $(grep "^/usr/bin/" "$work/files")"

field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = pomurina ] || fail "Package: $(field Package)"
[ "$(field Version)" = "$version" ] || fail "Version: $(field Version)"
depends=$(field Depends)
echo "Depends: $depends"
for dep in libqt6widgets6 libqt6gui6 libqt6core6 libqt6printsupport6 libjpeg62-turbo libheif1 libfluidsynth3 libc6 \
           fonts-ipafont-gothic qt6-image-formats-plugins; do
  [[ ", $depends," == *", $dep"[\ ,]* ]] || fail "Depends lacks $dep"
done
[[ "$(field Recommends)" == *timgm6mb-soundfont* ]] || fail "Recommends: $(field Recommends)"
[[ "$(field Recommends)" == *qt6-translations-l10n* ]] || fail "Recommends: $(field Recommends)"
[[ "$(field Recommends)" == *libdlib-data* ]] || fail "Recommends: $(field Recommends)"
[ "$(field Section)" = games ] || fail "Section: $(field Section)"
dpkg-deb -x "$deb" "$work/root"
exe=$work/root/usr/games/pomurina
file "$exe" | grep -q ", stripped" || fail "the packaged executable keeps its debugging symbols"

# Hardening: a position-independent executable, full RELRO bound at load
# time, the stack protector and fortified libc calls.
# (Read into files first: grep -q leaving a pipe early fails it under pipefail.)
readelf -hldW --dyn-syms "$exe" > "$work/elf"
grep -q "Type:.*DYN" "$work/elf" || fail "not a position-independent executable"
grep -q GNU_RELRO "$work/elf" || fail "no RELRO segment"
grep -q "(FLAGS).*BIND_NOW" "$work/elf" || fail "symbols are not bound at load time (-z now)"
grep -q " __stack_chk_fail@" "$work/elf" || fail "no stack protector"
grep -q " __[a-z]*_chk@" "$work/elf" || fail "no fortified libc calls"

# Documents: the machine-readable copyright with the licence, a changelog
# whose latest entry is this version, both compressed files made by gzip -n
# (no time stamp, byte 4 to 7 of the header zero), and the manual page
# formatting without a warning.
doc=$work/root/usr/share/doc/pomurina
head -1 "$doc/copyright" | grep -qx "Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/" ||
  fail "the copyright file is not machine-readable"
grep -qx "License: GPL-3.0-or-later" "$doc/copyright" || fail "the copyright file names no GPL-3.0-or-later"
head -1 <(gzip -dc "$doc/changelog.gz") | grep -q "^pomurina ($version) " ||
  fail "the changelog's latest entry is not $version: $(gzip -dc "$doc/changelog.gz" | head -1)"
english=$work/root/usr/share/man/man6/pomurina.6.gz
japanese=$work/root/usr/share/man/ja/man6/pomurina.6.gz
for gz in "$doc/changelog.gz" "$english" "$japanese"; do
  [ "$(od -An -tx1 -j4 -N4 "$gz" | tr -d ' ')" = 00000000 ] || fail "$(basename "$gz") carries a time stamp"
done
# The English page reads in the C locale (plain ASCII, the default of many
# systems) without a warning or a lost word; the Japanese one in UTF-8 at
# any width.
if command -v man > /dev/null; then
  for width in 60 80 120; do
    warnings=$(LC_ALL=C MANWIDTH=$width man --warnings -l "$english" 2>&1 > /dev/null)
    [ -z "$warnings" ] || fail "the English manual page has warnings in the C locale: $warnings"
    warnings=$(LC_ALL=C.UTF-8 MANWIDTH=$width man --warnings -E UTF-8 -l "$japanese" 2>&1 > /dev/null)
    [ -z "$warnings" ] || fail "the Japanese manual page has warnings: $warnings"
  done
  ! gzip -dc "$english" | LC_ALL=C grep -q '[^[:print:][:space:]]' || fail "the English manual page holds non-ASCII text"
  for word in POMURINA_HOME libdlib-data Scores.ini Play.ini .pomurina.lock; do
    LC_ALL=C MANWIDTH=80 man -l "$english" 2>/dev/null | grep -qF -- "$word" || fail "the English manual page does not name $word"
  done
  LC_ALL=C.UTF-8 MANWIDTH=80 man -E UTF-8 -l "$japanese" 2>/dev/null | grep -q "自動で囲む" ||
    fail "the Japanese manual page does not tell of 自動で囲む"
fi

# The archive's own checker: no error and no warning (information is shown).
# Status 1 is what --fail-on reports; anything else means lintian did not run.
command -v lintian > /dev/null || fail "lintian is not installed (tools/setup installs it)"
status=0
LC_ALL=C.UTF-8 lintian --display-info --pedantic --show-overrides --fail-on error,warning "$deb" \
  > "$work/lintian" 2> "$work/lintian.err" || status=$?
echo "lintian:"
cat "$work/lintian"
grep -v "^running with root privileges" "$work/lintian.err" >&2 || true
! grep -q "^[EW]: " "$work/lintian" || fail "lintian reports errors or warnings"
[ "$status" -eq 0 ] || fail "lintian ended with status $status"
unpacked=$(du -sk --apparent-size "$work/root" | cut -f1)
echo "package: $(basename "$deb"), $(stat -c %s "$deb") bytes, Installed-Size $(field Installed-Size) KiB" \
     "(files unpacked: $unpacked KiB)"
