#!/bin/sh
# Builds the plain units (no SDL, no GL) with emcc and natively, runs both
# drivers and compares their hash lines. Exits non-zero on any difference.
# usage: tests/web/node/run.sh [PACK]   (emcc and node on PATH; CXX for native)
set -eu

here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../../.." && pwd)
pack=${1:-}

# emcc drives node; a Node.js outside Debian's packages needs Debian's modules.
if [ -z "${NODE_PATH:-}" ] && [ -d /usr/share/nodejs ]; then export NODE_PATH=/usr/share/nodejs; fi

# Top-level units only; edge units live in gl/, sdl/ and egl/ subfolders, and
# any top-level unit that still includes a GL or SDL header is left out too.
sources=""
for dir in base synth geometry texture; do
    for f in "$root/src/$dir"/*.cpp; do
        [ -e "$f" ] || continue
        if grep -Eq '^[[:space:]]*#[[:space:]]*include[[:space:]]*[<"](GL|EGL|SDL)[/._a-zA-Z]*' "$f"; then
            continue
        fi
        sources="$sources $f"
    done
done

out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
flags="-std=c++17 -O2 -ffp-contract=off -fno-fast-math -I$root/src"

echo "building the WebAssembly driver" >&2
# Synchronous instantiation: emscripten 3.1.6 would otherwise fetch() the
# .wasm file, which newer Node.js offers but cannot do for a plain path.
# NODERAWFS lets the driver read the pack from the real file system.
# shellcheck disable=SC2086
emcc $flags $sources "$here/determinism_driver.cpp" -o "$out/driver.js" \
    -sALLOW_MEMORY_GROWTH=1 -sWASM_ASYNC_COMPILATION=0 -sNODERAWFS=1 -sENVIRONMENT=node

echo "building the native driver" >&2
# shellcheck disable=SC2086
${CXX:-c++} $flags $sources "$here/determinism_driver.cpp" -o "$out/driver"

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
