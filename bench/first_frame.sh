#!/bin/sh
# Times the demo from process start to its first frame (the second buffer swap;
# the first shows the loading picture) and reports its peak memory, over
# several runs under Xvfb with Mesa's software renderer.
# usage: bench/first_frame.sh BUILD_DIR [RUNS]
set -e
BUILD="$(cd "${1:?build dir}" && pwd)"
RUNS="${2:-7}"
LOG="$(mktemp)"
export LIBGL_ALWAYS_SOFTWARE=1 SDL_AUDIODRIVER=dummy
trap 'rm -f "$LOG"' EXIT
i=0
while [ "$i" -lt "$RUNS" ]; do
  # The probe goes into the demo only, not into the X server.
  xvfb-run -a -s "-screen 0 1024x768x24 -noreset" env ISOLOOP_PROBE_LOG="$LOG" ISOLOOP_PROBE_KEYS="30:down-esc" \
    LD_PRELOAD="$BUILD/libisoloop_probe.so" "$BUILD/isoloop" window >/dev/null
  awk '$1 == "swap" && $2 == 2 { printf "first_frame_ms %s\n", $3 }
       $1 == "peak" { printf "peak_kb %s\n", $2 }' "$LOG"
  i=$((i + 1))
done | awk '
  $1 == "first_frame_ms" { t[n++] = $2 }
  $1 == "peak_kb" { if ($2 > peak) peak = $2 }
  END {
    for (i = 0; i < n; i++) for (j = i + 1; j < n; j++) if (t[j] < t[i]) { x = t[i]; t[i] = t[j]; t[j] = x }
    printf "runs %d  first frame: median %.1f ms (min %.1f, max %.1f)  peak memory %.1f MiB\n",
      n, t[int(n / 2)], t[0], t[n - 1], peak / 1024
  }'
