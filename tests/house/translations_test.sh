#!/usr/bin/env bash
# Runs `translations/update` (lupdate over the sources) on copies of the
# catalogues and fails when a text lacks its translation or the catalogues
# differ from what the sources make of them: a new English text without its
# German and French fails here, as does a translation left for a text gone.
set -euo pipefail
source=${1:?usage: $0 <source folder>}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
status=0
for ts in "$source"/translations/tavimo_*.ts; do
    copy=$work/$(basename "$ts")
    cp "$ts" "$copy"
    "$source/translations/update" "$copy"
    name=$(basename "$ts")
    for kind in unfinished vanished obsolete; do
        n=$(grep -c "type=\"$kind\"" "$copy" || true)
        if [ "$n" -gt 0 ]; then
            echo "$name: $n $kind message(s):" >&2
            grep -B3 "type=\"$kind\"" "$copy" | grep '<source>' | head -20 >&2 || true
            status=1
        fi
    done
    if ! diff -q "$ts" "$copy" >/dev/null; then
        echo "$name is not what lupdate makes of the sources; run make translations:" >&2
        diff "$ts" "$copy" | head -40 >&2 || true
        status=1
    fi
done
exit $status
