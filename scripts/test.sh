#!/bin/sh
# Sets up, builds and runs every test: the plain build, then the suite under
# AddressSanitizer + UBSan, then the audio path under ThreadSanitizer.
set -e
cd "$(dirname "$0")/.."
./scripts/deps.sh
JOBS="$(nproc)"
export LIBGL_ALWAYS_SOFTWARE=1 SDL_AUDIODRIVER=dummy

build() { # dir, extra cmake args
  dir="$1"; shift
  cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DISOLOOP_WERROR=ON "$@" >/dev/null
  cmake --build "$dir" -j"$JOBS"
}
check() { # dir, ctest args
  dir="$1"; shift
  xvfb-run -a -s "-screen 0 1024x768x24 -noreset" ctest --test-dir "$dir" --output-on-failure -j"$JOBS" "$@"
}

echo "== format"
find src tools tests bench -name '*.cpp' -o -name '*.h' | xargs clang-format --dry-run --Werror

echo "== plain build"
build build
check build

echo "== AddressSanitizer + UBSan"
build build-asan -DISOLOOP_SANITIZE=address -DISOLOOP_BENCH=OFF
ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=print_stacktrace=1 check build-asan -LE slow

echo "== ThreadSanitizer (audio path)"
build build-tsan -DISOLOOP_SANITIZE=thread -DISOLOOP_BENCH=OFF
# The ring, the synthesizer and the frame driver, then the real demo with
# SDL's audio thread pulling the ring while the main thread refills it, and
# the capture tool's writer threads.
export TSAN_OPTIONS=halt_on_error=1
check build-tsan -L "^(synth|app)$"
# Mesa's rasterizer threads synchronise in ways TSan cannot see into (the
# driver is not instrumented): rasterize on the main thread for this run.
export LP_NUM_THREADS=0
check build-tsan -R "^(DemoBinary\.(Window|Escape)|DemoMusic|CaptureFrames\.|CaptureVideo\.(Lossless|FailingEncoder))"
echo "all tests passed"
