#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Checks a packager's build and the .deb it made (`make package` runs it):
# no test, benchmark or fuzz target in a build without tests; the .deb's
# version, dependencies, description and files as Debian lays them out; a
# program built hardened and stripped; and lintian's verdict when lintian is
# installed (CI installs it).
# Usage: package_test.sh PACKAGE_BUILD_DIR
set -euo pipefail

build=$1
fail() { echo "package test: $*" >&2; exit 1; }
cache() { sed -n "s/^$1:[A-Z]*=//p" "$build/CMakeCache.txt"; }

# The build without tests builds the game and its assets, nothing else.
[ "$(cache BUILD_TESTING)" = OFF ] || fail "the package was built with BUILD_TESTING on"
# What it links, by target: the game, its libraries and the two build tools
# alone (the asset tool, and the one that writes the desktop entry's and
# metainfo's translations).
linked=$(ninja -C "$build" -t targets all | sed -n 's/.*_LINKER__\(.*\)_[A-Za-z]*$/\1/p' | sort | tr '\n' ' ')
[ "$linked" = "assetgen desktop-l10n tavimo tavimo_core tavimo_ui tavimo_wmfwriter " ] ||
    fail "a build without tests links more (or less) than the game: $linked"

# A player's `make run` installs the game's packages only, never the
# development tools (clang, LLVM, clang-format); `make test` brings those.
source=$(cd "$(dirname "$0")/../.." && pwd)
deps_of() { make --no-print-directory -n -C "$source" "$1" BUILD="$build/no-such-build" | grep 'install-deps'; }
[ "$(deps_of run)" = "./scripts/install-deps " ] || fail "make run installs more than the game's packages: $(deps_of run)"
deps_of test | grep -q -- '--dev' || fail "make test does not install the development packages"

version=$(cache CMAKE_PROJECT_VERSION)-1
debs=("$build"/tavimo_*.deb)
[ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || fail "expected one .deb in $build, found: ${debs[*]}"
deb=${debs[0]}
[ "$(dpkg-deb -f "$deb" Version)" = "$version" ] || fail "Version is not $version"
depends=$(dpkg-deb -f "$deb" Depends)
for d in fonts-liberation2 fonts-dejavu-core qt6-translations-l10n libqt6widgets6 libqt6multimedia6 libwmflite; do
    grep -q "$d" <<<"$depends" || fail "Depends lacks $d: $depends"
done
long=$(dpkg-deb -f "$deb" Description | awk 'length > 80')
[ -z "$long" ] || fail "description lines over 80 characters: $long"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
dpkg-deb -x "$deb" "$work/root"
root=$work/root
files=$(dpkg-deb -c "$deb" | awk '{ print $NF }')
for f in usr/games/tavimo usr/share/doc/tavimo/copyright usr/share/doc/tavimo/changelog.Debian.gz \
         usr/share/man/man6/tavimo.6.gz usr/share/tavimo/help.txt \
         usr/share/tavimo/help_de.txt usr/share/tavimo/translations/tavimo_de.qm \
         usr/share/tavimo/help_fr.txt usr/share/tavimo/translations/tavimo_fr.qm \
         usr/share/applications/io.github.tavimo.Tavimo.desktop \
         usr/share/metainfo/io.github.tavimo.Tavimo.metainfo.xml \
         usr/share/icons/hicolor/scalable/apps/io.github.tavimo.Tavimo.svg; do
    grep -qx "\./$f" <<<"$files" || fail "the .deb lacks /$f"
done
for size in 16 22 24 32 48 64 128 256; do
    icon=usr/share/icons/hicolor/${size}x${size}/apps/io.github.tavimo.Tavimo.png
    file -b "$root/$icon" 2>/dev/null | grep -q "PNG image data, $size x $size" ||
        fail "/$icon is missing or not $size px"
done
file -b "$root/usr/share/icons/hicolor/scalable/apps/io.github.tavimo.Tavimo.svg" | grep -q 'SVG' ||
    fail "the scalable icon is not SVG"
grep -q '^usr/bin\|^\./usr/bin' <<<"$files" && fail "the .deb puts something in /usr/bin"
grep -qx 'Exec=/usr/games/tavimo' "$root/usr/share/applications/io.github.tavimo.Tavimo.desktop" ||
    fail "the menu entry does not start /usr/games/tavimo"
grep -q "<release version=\"${version%-1}\"" "$root/usr/share/metainfo/io.github.tavimo.Tavimo.metainfo.xml" ||
    fail "the metainfo does not name version ${version%-1}"
# Every screenshot the metainfo shows is one the repository holds.
shots=$(grep -o '<image>[^<]*</image>' "$root/usr/share/metainfo/io.github.tavimo.Tavimo.metainfo.xml" |
    sed 's|<image>https://raw.githubusercontent.com/tavimo/tavimo/main/\(.*\)</image>|\1|')
[ -n "$shots" ] || fail "the metainfo shows no screenshot"
for shot in $shots; do
    file -b "$source/$shot" 2>/dev/null | grep -q '^PNG image' ||
        fail "the metainfo's screenshot $shot is not in the repository"
done
changelog=$root/usr/share/doc/tavimo/changelog.Debian.gz
zcat "$changelog" | head -1 | grep -q "^tavimo ($version) " || fail "the changelog is not for $version"
# gzip -n: no name and no time stamp in the header (bytes 4 to 7 are zero).
[ "$(od -An -tx1 -j4 -N4 "$changelog" | tr -d ' ')" = 00000000 ] || fail "the changelog is time-stamped"
man -l "$root/usr/share/man/man6/tavimo.6.gz" >/dev/null 2>&1 ||
    zcat "$root/usr/share/man/man6/tavimo.6.gz" | grep -q '^\.TH TAVIMO 6' || fail "no manual page tavimo(6)"
grep -q 'GPL-3' "$root/usr/share/doc/tavimo/copyright" || fail "the copyright file names no licence"

# Hardened as dpkg-buildflags asks: a position-independent executable, all
# relocations bound at start and then read-only, stack protector, fortified
# calls; stripped.
exe=$root/usr/games/tavimo
readelf -h "$exe" | grep -q 'Type: *DYN' || fail "the program is not position-independent"
readelf -lW "$exe" | grep -q GNU_RELRO || fail "no read-only relocations (relro)"
readelf -dW "$exe" | grep -Eq 'BIND_NOW|FLAGS_1.* NOW' || fail "relocations are not bound at start (BIND_NOW)"
dynsyms=$(readelf --dyn-syms -W "$exe")
grep -q '__stack_chk_fail' <<<"$dynsyms" || fail "no stack protector"
grep -Eq '__[a-z_]+_chk(@|$| )' <<<"$dynsyms" || fail "no fortified calls (_FORTIFY_SOURCE)"
readelf -SW "$exe" | grep -Eq '\.symtab|\.debug_' && fail "the program is not stripped"

if command -v lintian >/dev/null; then
    # The warnings left are explained in the README (section Package).
    out=$(lintian --fail-on error,warning --suppress-tags-from-file \
          "$(dirname "$0")/../../packaging/lintian-justified" "$deb" 2>&1) ||
        fail "lintian: $out"
else
    echo "package test: lintian is not installed; its check is left out"
fi
echo "package test: passed ($deb)"
