#!/bin/sh
# The test command's own checks: a stage whose selection holds no test fails
# (an empty build folder, a tree configured without tests, a label or name
# that matches nothing) instead of passing on nothing; every stage named
# exists; a bad stage name is refused before anything is installed.
cd "$(dirname "$0")/../.."
. ./scripts/stages.sh
tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT
passed=0
failed=0
expect() { # description, wanted status (0 or "fail"), command...
  what="$1"
  want="$2"
  shift 2
  "$@" >"$tmp/out" 2>&1
  got=$?
  if { [ "$want" = 0 ] && [ $got = 0 ]; } || { [ "$want" = fail ] && [ $got != 0 ]; }; then
    passed=$((passed + 1))
  else
    failed=$((failed + 1))
    echo "FAILED: $what (status $got)"
    cat "$tmp/out"
  fi
}

# A tree holding one labelled test, as CMake writes it.
mkdir -p "$tmp/tree" "$tmp/empty"
cat >"$tmp/tree/CTestTestfile.cmake" <<'END'
add_test(one "true")
set_tests_properties(one PROPERTIES LABELS "app")
END
expect "a selection holding a test passes" 0 check "$tmp/tree" -L "^app$"
expect "an empty build folder fails" fail check "$tmp/empty"
expect "a label that matches nothing fails" fail check "$tmp/tree" -L "^no_such_label$"
expect "a name that matches nothing fails" fail check "$tmp/tree" -R "^NoSuchTest"
for stage in $STAGES; do
  expect "stage $stage exists" 0 type "stage_$stage"
done
expect "an unknown stage is refused" fail sh scripts/test.sh no-such-stage

echo "$passed passed, $failed failed"
[ $failed = 0 ]
