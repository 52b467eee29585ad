#!/bin/sh
# Times the capture tool: one whole loop of the show at 640x480, 60 fps, into
# lossless .mkv and into .mp4, then a shorter stretch at 1920x1440 with 4
# samples per pixel. Reports video seconds per wall second, peak memory (the
# tool or ffmpeg, whichever is larger) and where the time went: the frame
# (synthesis and scene calls), read-back (the software rasterizer finishes
# there), waiting for the encoder, and the CPU of capture and encoder. A run
# without encoding (a stand-in ffmpeg that only drains its pipes) and the
# synthesis alone (render-music over the same span) split it further.
# usage: bench/capture.sh BUILD_DIR [BIG_SECONDS [LOOP_SECONDS]]
#   LOOP_SECONDS  films that much instead of each whole loop (a quick check)
set -e
BUILD="$(cd "${1:?build dir}" && pwd)"
BIG="${2:-20}"
LOOP="${3:+--seconds $3}"
OUT="$(mktemp -d)"
trap 'rm -rf "$OUT"' EXIT
export LIBGL_ALWAYS_SOFTWARE=1
TOOL="$BUILD/isoloop-tool"

run() { # label, capture arguments
  label="$1"; shift
  /usr/bin/time -f "%e %M" -o "$OUT/time" env PATH="${TOOL_PATH:-$PATH}" \
    "$TOOL" capture "$@" --quiet --stats 2> "$OUT/stats"
  read -r wall peak < "$OUT/time"
  printf '%-22s wall %7.1f s  peak %6.1f MiB\n  %s\n' "$label" "$wall" "$(awk "BEGIN { print $peak / 1024 }")" \
    "$(grep '^capture:' "$OUT/stats")"
}

echo "machine: $(nproc) cores, load $(cut -d' ' -f1-3 /proc/loadavg)"
# shellcheck disable=SC2086
run "loop 640x480 mkv" "$OUT/loop.mkv" --log "$OUT/loop.tsv" $LOOP
echo "  one loop: $(($(wc -l < "$OUT/loop.tsv") - 1)) passes, first demo pass $(awk -F'\t' '$4 != "loading" && NR > 1 { print $1; exit }' "$OUT/loop.tsv"), last pass $(tail -n 1 "$OUT/loop.tsv" | cut -f1) ($(tail -n 1 "$OUT/loop.tsv" | cut -f4)), $(du -h "$OUT/loop.mkv" | cut -f1)"
run "20 s 640x480 mkv" "$OUT/short.mkv" --seconds "${3:-20}"
# shellcheck disable=SC2086
run "loop 640x480 mp4" "$OUT/loop.mp4" $LOOP
echo "  $(du -h "$OUT/loop.mp4" | cut -f1)"
# A stand-in encoder that only drains its pipes, alone on PATH: with no
# ffprobe there the tool skips reading back a file nobody wrote.
mkdir "$OUT/bin"
printf '#!/bin/sh\n/bin/cat <&3 >/dev/null & /bin/cat <&4 >/dev/null\nwait\n' > "$OUT/bin/ffmpeg"
chmod +x "$OUT/bin/ffmpeg"
# shellcheck disable=SC2086
TOOL_PATH="$OUT/bin" run "loop, no encoding" "$OUT/null.mkv" $LOOP
seconds="$(tail -n 1 "$OUT/loop.tsv" | cut -f2)"
start="$(date +%s.%N)"
"$TOOL" render-music --seconds "$((seconds / 1000 + 1))" --out "$OUT/music.wav"
echo "synthesis alone        $(awk "BEGIN { print $(date +%s.%N) - $start }") s for $((seconds / 1000 + 1)) s of music"
rm -f "$OUT"/*.mkv "$OUT"/*.mp4
run "${BIG} s 1920x1440 x4" "$OUT/big.mkv" --size 1920x1440 --samples 4 --seconds "$BIG"
