#!/bin/sh
# The core and its edges never reach up into the tools or the tests: fails,
# naming the file, when a file under src/ includes a header that is neither
# beside it nor under src/ (one from tools/ or tests/ through a search path),
# or names a folder above its own.
cd "$(dirname "$0")/../.." || exit 1
out=$(mktemp)
trap 'rm -f "$out"' EXIT
find src -name '*.cpp' -o -name '*.h' | while read -r f; do
  dir=$(dirname "$f")
  sed -n 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"\([^"]*\)".*/\1/p' "$f" |
    while read -r h; do
      case "$h" in ../* | */../*) echo "$f: includes $h, a folder above its own" ;; esac
      { [ -e "$dir/$h" ] || [ -e "src/$h" ]; } && continue
      where=outside
      [ -e "tools/$h" ] && where=tools/
      [ -e "tests/$h" ] || [ -e "tests/common/$h" ] && where=tests/
      echo "$f: includes $h, which is not under src/ (found: $where)"
    done
done >"$out"
if [ -s "$out" ]; then
  cat "$out"
  exit 1
fi
echo "nothing under src/ includes a header from outside src/"
