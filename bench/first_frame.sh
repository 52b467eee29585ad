#!/bin/sh
# Times the demo's start-up against the floor (isoloop-floor: the same SDL
# video start, GL window and loading picture, then one cleared frame), runs of
# the two interleaved under Xvfb with Mesa's software renderer. A preloaded
# probe stamps each buffer swap from process start: swap 1 shows the loading
# picture, swap 2 the first frame. Prints the medians of both programs, their
# difference, and the demo's peak memory.
# usage: bench/first_frame.sh BUILD_DIR [RUNS]
set -e
BUILD="$(cd "${1:?build dir}" && pwd)"
RUNS="${2:-15}"
for f in isoloop isoloop-floor libisoloop_probe.so julia.3ds; do
  [ -e "$BUILD/$f" ] || { echo "first_frame.sh: $BUILD/$f is missing (build it first)" >&2; exit 1; }
done
LOG="$(mktemp)"
export LIBGL_ALWAYS_SOFTWARE=1 SDL_AUDIODRIVER=dummy
trap 'rm -f "$LOG"' EXIT

run() { # label, program, keys
  # The probe goes into the program only, not into the X server.
  xvfb-run -a -s "-screen 0 1024x768x24 -noreset" env ISOLOOP_PROBE_LOG="$LOG" ISOLOOP_PROBE_KEYS="$3" \
    LD_PRELOAD="$BUILD/libisoloop_probe.so" "$BUILD/$2" window >/dev/null
  awk -v who="$1" '$1 == "swap" && ($2 == 1 || $2 == 2) { printf "%s swap%s %s\n", who, $2, $3 }
       $1 == "peak" { printf "%s peak %s\n", who, $2 }' "$LOG"
}

i=0
while [ "$i" -lt "$RUNS" ]; do
  run floor isoloop-floor ""
  run demo isoloop "30:down-esc"
  i=$((i + 1))
done | awk '
  function median(key,   n, i, j, x, v) {
    n = count[key]
    for (i = 0; i < n; i++) v[i] = t[key, i]
    for (i = 0; i < n; i++) for (j = i + 1; j < n; j++) if (v[j] < v[i]) { x = v[i]; v[i] = v[j]; v[j] = x }
    return n % 2 ? v[int(n / 2)] : (v[n / 2 - 1] + v[n / 2]) / 2
  }
  $2 == "peak" { if ($3 > peak[$1]) peak[$1] = $3; next }
  { t[$1 " " $2, count[$1 " " $2]++] = $3 }
  END {
    printf "runs %d of each, interleaved; milliseconds from process start, medians\n", count["demo swap2"]
    printf "%-30s %8s %8s %10s\n", "", "floor", "demo", "demo-floor"
    f1 = median("floor swap1"); d1 = median("demo swap1")
    f2 = median("floor swap2"); d2 = median("demo swap2")
    printf "%-30s %8.1f %8.1f %+10.1f\n", "loading picture (swap 1)", f1, d1, d1 - f1
    printf "%-30s %8.1f %8.1f %+10.1f\n", "first frame (swap 2)", f2, d2, d2 - f2
    printf "peak memory: floor %.1f MiB, demo %.1f MiB\n", peak["floor"] / 1024, peak["demo"] / 1024
  }'
