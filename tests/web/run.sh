#!/bin/sh
# Builds the browser site and the native probe, renders the native reference
# (Mesa, under Xvfb), then runs the browser tests in Debian's chromium.
# Exits non-zero when a check fails. Work files go to build-web/.
set -e
cd "$(dirname "$0")/../.."
ROOT=$(pwd)
OUT=$ROOT/build-web

installed() {
  dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q "install ok installed"
}
need=""
for p in chromium xvfb xauth nodejs npm libgl-dev libglu1-mesa-dev libgl1-mesa-dri g++; do
  installed "$p" || need="$need $p"
done
# SDL 1.2 itself, or sdl12-compat (the SDL 1.2 API over SDL2) where that replaced it.
installed libsdl1.2-dev || installed libsdl1.2-compat-dev || need="$need libsdl1.2-dev"
# A node from elsewhere (say nodesource) already brings npm.
command -v npm >/dev/null 2>&1 && need=$(echo "$need" | sed 's/ nodejs//; s/ npm//')
if [ -n "$need" ]; then
  SUDO=""
  [ "$(id -u)" -ne 0 ] && SUDO=sudo
  $SUDO apt-get update -q && $SUDO apt-get install -y -q $need
fi

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

# npm's packages live outside the source tree, pinned by the lockfile.
mkdir -p "$OUT/npm"
cp tests/web/package.json tests/web/package-lock.json "$OUT/npm/"
(cd "$OUT/npm" && npm ci --no-audit --no-fund --loglevel=error)
# Both suites run; either failing fails the whole.
status=0
NODE_PATH="$OUT/npm/node_modules" node tests/web/web_test.js \
  --site "$OUT/probe-site" --reference "$OUT/native/native.ppm" "$@" || status=1
# The demo's site; its capture is compared with the native isoloop-tool's.
NODE_PATH="$OUT/npm/node_modules" node tests/web/demo_test.js \
  --site "$OUT/site" --build "$BUILD" || status=1
exit $status
