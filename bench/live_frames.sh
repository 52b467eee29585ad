#!/bin/sh
# Live frame times of each scene: the real demo under Xvfb with Mesa's
# software renderer and the synthesizer feeding SDL's dummy audio device, a
# preloaded probe stamping the end of every buffer swap with the drum-hit
# counter. A frame's time runs from the end of one swap to the end of the
# next (the frame driver, the synthesizer, the drawing and the rasterizer).
# Prints, per scene: the frame count; median, 99th percentile and worst frame;
# the median main-thread CPU and the mean process CPU per frame (all threads,
# the rasterizer's too); the frames over the ring's lead of 136 ms; and the
# first frame after each change of scene (wall ms / main-thread CPU ms), where
# the renderer compiles the scene's new state. The start-up frame (end of
# swap 1 to end of swap 2) is shown on its own.
# usage: bench/live_frames.sh BUILD_DIR [SECONDS]   (a full loop takes about 4 minutes)
#   LIVE_FRAMES_LOG=file  keeps the probe's log there
set -e
BUILD="$(cd "${1:?build dir}" && pwd)"
SECONDS_TO_RUN="${2:-250}"
for f in isoloop libisoloop_probe.so julia.3ds; do
  [ -e "$BUILD/$f" ] || { echo "live_frames.sh: $BUILD/$f is missing (build it first)" >&2; exit 1; }
done
if [ -n "$LIVE_FRAMES_LOG" ]; then
  LOG="$LIVE_FRAMES_LOG"
else
  LOG="$(mktemp)"
  trap 'rm -f "$LOG"' EXIT
fi
export LIBGL_ALWAYS_SOFTWARE=1 SDL_AUDIODRIVER=dummy
echo "load before: $(cut -d' ' -f1-3 /proc/loadavg)" >&2
# SIGTERM reaches the demo as a quit event; xvfb-run passes it on.
: >"$LOG" # the probe appends
xvfb-run -a -s "-screen 0 1024x768x24 -noreset" env ISOLOOP_PROBE_LOG="$LOG" ISOLOOP_PROBE_FRAMES=1 \
  LD_PRELOAD="$BUILD/libisoloop_probe.so" timeout -s TERM "$SECONDS_TO_RUN" "$BUILD/isoloop" window \
  >/dev/null || true
echo "load after: $(cut -d' ' -f1-3 /proc/loadavg)" >&2
if ! grep -q '^swapped' "$LOG" || grep -q '^swapped .* -1 -$' "$LOG"; then
  echo "live_frames.sh: no frames, or no drum-hit counter in the log (a stripped isoloop?)" >&2
  exit 1
fi
awk -v lead=136 '
  function sortv(n,   i, j, x) {
    for (i = 0; i < n; i++) for (j = i + 1; j < n; j++) if (v[j] < v[i]) { x = v[i]; v[i] = v[j]; v[j] = x }
  }
  $1 == "swapped" {
    # The probe names the scene from the demo own scene table. The frame that
    # finds 58 hits draws nothing and leaves the counter at 0.
    k = $2; t = $3; main = $4; cpu = $5
    s = $7 == 0 && prevIncs > 0 ? "none" : $8; prevIncs = $7
    if (k == 2) { startup = t - prevT; startupScene = s }
    else if (k > 2) {
      dt = t - prevT
      if (!(s in count)) order[nscenes++] = s
      mc[s, count[s]] = main - prevMain; ft[s, count[s]++] = dt; cpuSum[s] += cpu - prevCpu
      if (dt > worst[s]) worst[s] = dt
      if (s != prevScene) changes[s] = changes[s] sprintf(" %.1f/%.1f", dt, main - prevMain)
      if (dt > lead) over[s]++
    }
    if (k >= 2) prevScene = s
    prevT = t; prevCpu = cpu; prevMain = main
  }
  END {
    printf "start-up frame (end of swap 1 to end of swap 2, %s): %.1f ms\n", startupScene, startup
    printf "%-18s %6s %8s %8s %8s %8s %8s %6s  %s\n", "scene", "frames", "median", "p99", "worst", "main", "process", ">136", "entry frames"
    printf "%-18s %6s %8s %8s %8s %8s %8s %6s  %s\n", "", "", "ms", "ms", "ms", "cpu ms", "cpu ms", "", "ms / main cpu ms"
    for (o = 0; o < nscenes; o++) {
      s = order[o]; n = count[s]
      for (i = 0; i < n; i++) v[i] = ft[s, i]
      sortv(n)
      p99 = v[int(0.99 * (n - 1) + 0.5)]; med = v[int(n / 2)]
      for (i = 0; i < n; i++) v[i] = mc[s, i]
      sortv(n)
      printf "%-18s %6d %8.1f %8.1f %8.1f %8.1f %8.1f %6d %s\n", s, n, med, p99, worst[s], v[int(n / 2)], cpuSum[s] / n, over[s], changes[s]
    }
  }' "$LOG"
