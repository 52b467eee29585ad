#!/bin/sh
# Builds the browser site and the native probe, renders the native reference
# (Mesa, under Xvfb), then runs every browser suite (`npm test` in tests/web)
# under one Xvfb display: the probe's in chromium, the demo's in chromium,
# Firefox ESR and WebKitGTK. Exits non-zero when a check fails. Work files go
# to build-web/. Arguments go to the suites' runner (suite files to run).
#   ISOLOOP_ENGINES=chromium,firefox,webkit   the engines the demo suite runs in
set -e
cd "$(dirname "$0")/../.."
ROOT=$(pwd)
OUT=$ROOT/build-web

# The three browsers (WebKitGTK's MiniBrowser comes with its driver), the
# display, Node.js, emscripten and what the native probe builds with.
./scripts/deps.sh web

# The demo's site takes the pack the plain build made, when there is one.
BUILD=${ISOLOOP_BUILD:-build}
if [ -z "$ISOLOOP_PACK" ] && [ -f "$BUILD/julia.3ds" ]; then
  ISOLOOP_PACK=$(cd "$(dirname "$BUILD/julia.3ds")" && pwd)/julia.3ds
  export ISOLOOP_PACK
fi
scripts/web.sh probe

# The native reference: the same probe through Mesa's GL, a target of the
# native build (tests/web/tests.cmake).
cmake --build "$BUILD" -j"${WEB_JOBS:-$(nproc)}" --target gl_probe
mkdir -p "$OUT/native"
cp "$BUILD/gl_probe" tests/web/gl_probe/probe.ppm "$OUT/native/"
# A display server that is slow to come up on a busy machine gets a second try.
rm -f "$OUT/native/native.ppm"
for try in 1 2 3; do
  (cd "$OUT/native" && xvfb-run -a -s '-screen 0 800x600x24' ./gl_probe --dump native.ppm) && break
  sleep 2
done
[ -s "$OUT/native/native.ppm" ] || { echo "run.sh: no native reference picture" >&2; exit 1; }

# npm's packages, pinned by the lockfile, into tests/web/node_modules. They
# drive Debian's browsers and download none.
(cd tests/web && npm ci --no-audit --no-fund --loglevel=error)

# Firefox and WebKitGTK run headed (their headless modes have no WebGL here):
# one display for all, Mesa's software rasterizer behind it.
ISOLOOP_WEB="$OUT" ISOLOOP_SITE="$OUT/site" ISOLOOP_PROBE_SITE="$OUT/probe-site" \
  ISOLOOP_REFERENCE="$OUT/native/native.ppm" ISOLOOP_BUILD="$(cd "$BUILD" && pwd)" LIBGL_ALWAYS_SOFTWARE=1 \
  xvfb-run -a -s '-screen 0 1024x768x24 -noreset' sh -c 'cd tests/web && npm test -- "$@"' sh "$@"
