#!/bin/sh
# Runs every native benchmark once on a tiny setting, so none can rot unseen:
# each must start, find what it needs in the build and print its table. The
# figures mean nothing at these sizes. (The browser's, bench/web_fps.js, runs
# in the browser stage.)
# usage: bench/smoke.sh BUILD_DIR
set -e
BUILD="$(cd "${1:?build dir}" && pwd)"
cd "$(dirname "$0")"
out="$(mktemp)"
trap 'rm -f "$out"' EXIT
failed=0
bench() { # name, command...
  name="$1"
  shift
  if "$@" >"$out" 2>&1; then
    echo "ran $name: $(grep -c . "$out") lines"
  else
    echo "FAILED: $name (status $?)"
    tail -n 20 "$out"
    failed=$((failed + 1))
  fi
}
quick="--benchmark_min_time=0.01"
bench synth "$BUILD/isoloop-synth-bench" --benchmark_repetitions=1
bench geometry "$BUILD/geometry_bench" "$quick" --benchmark_filter=BM_OneSolid/0
bench scenes sh -c "cd '$BUILD' && ./scenes_bench $quick --benchmark_filter=tunnel"
bench soak "$BUILD/isoloop-soak" 1
bench first_frame sh first_frame.sh "$BUILD" 1
bench live_frames sh live_frames.sh "$BUILD" 8
bench capture sh capture.sh "$BUILD" 1 1
[ $failed = 0 ]
