#!/usr/bin/env bash
# Installs the built game into a temporary prefix, makes the prefix
# read-only and starts the installed program headless as a new player would:
# its data files must appear in the per-user data folder, the prefix must
# stay as installed, and a second start must read the files back. Then
# `make uninstall` (the build's uninstall target) must take it all away again.
# Usage: install_test.sh BUILD_DIR
set -euo pipefail

build=$1
work=$(mktemp -d)
# The install below writes the build's install manifest: the player's own
# (from an earlier real install) comes back afterwards.
manifest=$build/install_manifest.txt
[ -e "$manifest" ] && cp -p "$manifest" "$work/manifest.player"
restore() {
    if [ -e "$work/manifest.player" ]; then cp -p "$work/manifest.player" "$manifest"; else rm -f "$manifest"; fi
    chmod -R u+w "$work"
    rm -rf "$work"
}
trap restore EXIT
prefix=$work/prefix
fail() { echo "install test: $*" >&2; exit 1; }

cmake --install "$build" --prefix "$prefix" >/dev/null
[ -x "$prefix/games/tavimo" ] || fail "no executable in games/"
[ -e "$prefix/bin" ] && fail "something was installed in bin/"
for f in share/man/man6/tavimo.6.gz share/doc/tavimo/copyright share/doc/tavimo/changelog.Debian.gz \
         share/icons/hicolor/scalable/apps/io.github.tavimo.Tavimo.svg \
         share/icons/hicolor/16x16/apps/io.github.tavimo.Tavimo.png; do
    [ -s "$prefix/$f" ] || fail "$f was not installed"
done
chmod -R a-w "$prefix"
# Root may write into read-only folders: the snapshot tells whether anything did.
snapshot() { (cd "$prefix" && find . -printf '%p %s %T@ %m\n' | sort); }
before=$(snapshot)

# A fresh home for every start, so nothing of the machine's player is used.
run() {
    local home=$1
    mkdir -p "$home/runtime"
    chmod 700 "$home/runtime"
    # The sanitizers' settings pass through; the player's surroundings do not.
    local keep=()
    for v in ASAN_OPTIONS LSAN_OPTIONS UBSAN_OPTIONS; do
        [ -n "${!v:-}" ] && keep+=("$v=${!v}")
    done
    env -i "${keep[@]}" PATH="$PATH" HOME="$home" XDG_DATA_HOME="$home/data" XDG_CONFIG_HOME="$home/config" \
        XDG_CACHE_HOME="$home/cache" XDG_RUNTIME_DIR="$home/runtime" QT_QPA_PLATFORM=offscreen \
        QT_LOGGING_RULES='qt.multimedia*=false' TAVIMO_EXIT_AFTER_DEAL=1 \
        timeout 120 "$prefix/games/tavimo"
}

home=$work/player
data=$home/data/tavimo
out=$(run "$home") || fail "first start did not deal a board"
echo "$out" | grep -q '^dealt ' || fail "first start: $out"

printf '1,1,Sky.jpg,1,1,0,10,9550,6750,9435,6000\r\n' >"$work/init.expected"
cmp "$data/init.txt" "$work/init.expected" || fail "init.txt is not the default line"
printf '%s\r\n0\r\n' "$prefix/share/tavimo/Graphics1," >"$work/dirs.expected"
cmp "$data/dirs.txt" "$work/dirs.expected" || fail "dirs.txt does not name the installed Graphics"
[ "$(snapshot)" = "$before" ] || fail "the installed prefix changed"

# Second start: the player's own settings and folder list are read, not reset.
mkdir -p "$home/pictures"
for f in $(ls "$prefix/share/tavimo/Graphics" | head -6); do
    cp "$prefix/share/tavimo/Graphics/$f" "$home/pictures/"
done
printf '1,0,Sky.jpg,2,1,0,10,9550,6750,9435,6000\r\n' >"$data/init.txt"
printf '%s\r\n%s\r\n0\r\n' "$home/pictures1," "$prefix/share/tavimo/Graphics0," >"$data/dirs.txt"
cp "$data/init.txt" "$work/init.own"
cp "$data/dirs.txt" "$work/dirs.own"
out=$(run "$home") || fail "second start did not deal a board"
cmp "$data/init.txt" "$work/init.own" || fail "second start replaced init.txt"
cmp "$data/dirs.txt" "$work/dirs.own" || fail "second start did not keep the folder list"
[ "$(snapshot)" = "$before" ] || fail "the installed prefix changed on the second start"

# Two copies started at once on a new data folder: both deal, and the files
# are whole default files, whoever wrote last.
both=$work/both
run "$both" >"$work/one.out" &
first=$!
run "$both" >"$work/two.out" || fail "the second of two copies did not deal"
wait "$first" || fail "the first of two copies did not deal"
cmp "$both/data/tavimo/init.txt" "$work/init.expected" || fail "two copies left a damaged init.txt"
cmp "$both/data/tavimo/dirs.txt" "$work/dirs.expected" || fail "two copies left a damaged dirs.txt"
# The uninstall removes every installed file and the game's own folders,
# and leaves a file of someone else's beside them.
chmod -R u+w "$prefix"
touch "$prefix/share/applications/other.desktop"
cmake --build "$build" --target uninstall >/dev/null || fail "the uninstall target failed"
left=$(cd "$prefix" && find . -type f ! -name other.desktop)
[ -z "$left" ] || fail "uninstall left: $left"
[ -e "$prefix/share/applications/other.desktop" ] || fail "uninstall removed a file it did not install"
[ -e "$prefix/share/tavimo" ] && fail "uninstall left share/tavimo/"
echo "install test: passed"
