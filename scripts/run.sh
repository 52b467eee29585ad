#!/bin/sh
# Sets up, builds and starts the demo. Any argument gives a window.
set -e
cd "$(dirname "$0")/.."
./scripts/deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release -DISOLOOP_TESTS=OFF -DISOLOOP_BENCH=OFF >/dev/null
cmake --build build -j"$(nproc)" --target isoloop isoloop_pack
exec ./build/isoloop "$@"
