#!/bin/sh
# Builds the determinism driver on the core (no SDL, no GL) with emscripten
# and natively, runs both and compares their hash lines. Exits non-zero on any
# difference.
# usage: tests/web/node/run.sh [PACK]   (emcmake and node on PATH; ISOLOOP_BUILD
# names the native build, default build/, ISOLOOP_WEB_BUILD the browser's)
set -eu

here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../../.." && pwd)
pack=${1:-}

# emcc drives node; a Node.js outside Debian's packages needs Debian's modules.
if [ -z "${NODE_PATH:-}" ] && [ -d /usr/share/nodejs ]; then export NODE_PATH=/usr/share/nodejs; fi

# The driver and the core it links (the subsystems' own lists) are targets of
# both builds (tests/web/tests.cmake): the browser's, configured as
# scripts/web.sh does, and the native one with the tests.
wasm=${ISOLOOP_WEB_BUILD:-$root/build-web/wasm}
native=${ISOLOOP_BUILD:-$root/build}
jobs=${WEB_JOBS:-$(nproc)}

out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT

echo "building the WebAssembly driver" >&2
emcmake cmake -S "$root" -B "$wasm" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$wasm" -j"$jobs" --target determinism_driver
cp "$wasm/determinism_driver.js" "$out/driver.js"
cp "$wasm/determinism_driver.wasm" "$out/"

echo "building the native driver" >&2
[ -f "$native/CMakeCache.txt" ] ||
    cmake -S "$root" -B "$native" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DISOLOOP_TESTS=ON >/dev/null
cmake --build "$native" -j"$jobs" --target determinism_driver
cp "$native/determinism_driver" "$out/driver"

# Both drivers read the pack as julia.3ds from their working directory.
packArg=""
if [ -n "$pack" ]; then
    cp "$pack" "$out/julia.3ds"
    packArg=julia.3ds
fi
cd "$out"
echo "native:" >&2
./driver $packArg >native.txt
mv music.raw native.raw
echo "wasm:" >&2
node driver.js $packArg >wasm.txt
mv music.raw wasm.raw

grep '^hash ' native.txt >native.hash
grep '^hash ' wasm.txt >wasm.hash
if [ ! -s native.hash ]; then
    echo "no hash lines from the native driver" >&2
    exit 1
fi
if diff native.hash wasm.hash >diff.txt; then
    cat native.hash
    echo "wasm and native agree on $(wc -l <native.hash) lines"
else
    echo "wasm and native differ (< native, > wasm):"
    cat diff.txt
    ./driver --compare native.raw wasm.raw
    exit 1
fi
