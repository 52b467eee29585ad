#!/bin/sh
# Sets up, builds (in build-run/) and starts the demo. Any argument gives a
# window. Every option the build relies on is given here, never left to a cache.
set -e
cd "$(dirname "$0")/.."
./scripts/deps.sh run
cmake -S . -B build-run -DCMAKE_BUILD_TYPE=Release -DISOLOOP_WERROR=OFF -DISOLOOP_TESTS=OFF \
  -DISOLOOP_BENCH=OFF -DISOLOOP_SANITIZE= >/dev/null
cmake --build build-run -j"$(nproc)" --target isoloop isoloop_pack
exec ./build-run/isoloop "$@"
