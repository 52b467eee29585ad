#!/bin/sh
# Sets up, builds and runs every test, stage by stage (scripts/stages.sh):
#   format   the layout of the sources (clang-format)
#   scripts  the set-up scripts' own test
#   plain    the whole suite (build/)
#   web      the browser build in chromium against the native one, and its
#            plain units under node against native ones (build-web/)
#   asan     the suite under AddressSanitizer + UBSan (build-asan/)
#   tsan     the audio path and the real demo under ThreadSanitizer (build-tsan/)
#   compat   the window and demo suites again against sdl12-compat, plainly and
#            under TSan, where the system's SDL 1.2 is SDL 1.2 itself (build-compat*/)
# Arguments name the stages to run, in their order; none runs them all.
set -e
cd "$(dirname "$0")/.."
. ./scripts/stages.sh
for stage in "$@"; do
  case " $STAGES " in
  *" $stage "*) ;;
  *)
    echo "usage: $0 [stage...], stages: $STAGES" >&2
    exit 2
    ;;
  esac
done
./scripts/deps.sh test
for stage in ${*:-$STAGES}; do
  echo "== $stage"
  "stage_$stage"
done
echo "all tests passed"
