#!/usr/bin/env bash
# A maintainer runs one test function by naming it: the executable runs that
# function in the class that has it and no other test function, and passes;
# a name that no class has fails the run.
# Usage: one_function_test.sh TEST_EXECUTABLE FUNCTION
set -uo pipefail

exe=$1
fn=$2
fail() { echo "one-function test: $*" >&2; exit 1; }

out=$("$exe" "$fn" 2>&1)
status=$?
[ $status -eq 0 ] || { echo "$out"; fail "'$fn' alone exited with $status"; }
ran=$(echo "$out" | grep -E '^(PASS|FAIL!|SKIP) +: ' | grep -vE '::(initTestCase|cleanupTestCase)\(\)')
[ "$(echo "$ran" | grep -c .)" -eq 1 ] || { echo "$out"; fail "expected one function to run, got: $ran"; }
grep -qE "^PASS +: [A-Za-z_]+::$fn\(\)" <<<"$ran" || { echo "$out"; fail "'$fn' did not pass"; }
grep -q 'Function not found' <<<"$out" && { echo "$out"; fail "a class was asked for a function it lacks"; }

out=$("$exe" noSuchTestFunction 2>&1) && { echo "$out"; fail "an unknown function name passed"; }
exit 0
