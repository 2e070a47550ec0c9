#!/usr/bin/env bash
# No include cycle runs through the folders of src/. The check itself is tried
# on small trees first, so that a check that passes everything cannot pass
# here.
# Usage: include_cycles_test.sh HOUSE_FIGURES
set -uo pipefail

figures=$1
fail() { echo "include-cycles test: $*" >&2; exit 1; }
tree=$(mktemp -d)
trap 'rm -rf "$tree"' EXIT

# A tree whose files hold only the given includes: "from/File.cpp:to/File.h ...".
make_tree() {
  rm -rf "$tree/src"
  for spec in "$@"; do
    file=${spec%%:*}
    mkdir -p "$tree/src/$(dirname "$file")" "$tree/src/$(dirname "${spec#*:}")"
    printf '#include "%s"\n' "${spec#*:}" >>"$tree/src/$file"
    touch "$tree/src/${spec#*:}"
  done
}

make_tree play/Form6.cpp:board/Form2.h board/Form2Play.cpp:play/Form6.h
out=$("$figures" --check --root "$tree") && fail "a two-way pair passed: $out"
grep -q "board <-> play" <<<"$out" || fail "the pair is not named: $out"
grep -q "play/Form6.cpp -> board/Form2.h" <<<"$out" || fail "the include is not named: $out"

make_tree board/Form2.cpp:scores/Form4.h scores/Form4.cpp:viewer/Form3.h viewer/Form3.cpp:board/Form2.h
out=$("$figures" --check --root "$tree") && fail "a cycle of three folders passed: $out"
grep -q "include cycle among board, scores, viewer" <<<"$out" || fail "the cycle is not named: $out"

make_tree start/StartUp.cpp:board/Form2.h start/StartUp.cpp:config/Form1.h board/Form2.cpp:app/Module1.h config/Form1.cpp:board/Form2.h
out=$("$figures" --check --root "$tree") || fail "start-up above the windows failed: $out"

make_tree app/StartUp.cpp:board/Form2.h board/Form2.cpp:app/Module1.h
out=$("$figures" --check --root "$tree") && fail "start-up back inside app closed a pair: $out"
grep -q "app/StartUp.cpp -> board/Form2.h" <<<"$out" || fail "the include is not named: $out"

out=$("$figures" --check) || { echo "$out"; fail "src/ has a two-way include pair"; }
exit 0
