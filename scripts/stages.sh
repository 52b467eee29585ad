# The stages of the test command, sourced by test.sh (and by the scripts'
# own test). Each stage passes every option it relies on, so no option cached
# by an earlier configure (by hand, run.sh or another stage) leaks into it,
# and each check fails when its selection holds no test.
# Adding a suite: it joins the plain and ASan passes by itself, and the
# sdl12-compat pass when its label ends in "_gl"; name it in TSAN_LABELS or
# TSAN_DEMO to join the TSan passes. Adding a stage: a stage_NAME function
# and its name in STAGES.

STAGES="format scripts plain web asan tsan compat debian13"
JOBS="${JOBS:-$(nproc)}"
COMPAT_PACKAGES="libsdl1.2-compat libsdl1.2-compat-dev"
# The ring, the synthesizer and the frame driver with SDL's audio thread.
TSAN_LABELS="^(synth|app)$"
# The real demo under TSan: its audio thread pulling the ring while the main
# thread refills it; and the capture tool with its writer threads.
TSAN_DEMO="^(DemoBinary\.(Window|FullScreen)|DemoMusic|CaptureFrames\.|CaptureVideo\.(Lossless|FailingEncoder))"
# Every suite that opens an SDL window or starts the real demo.
COMPAT_LABELS="_gl$"
# What the demo runs under TSan need.
DEMO_TARGETS="isoloop isoloop_pack isoloop_probe app_gl_tests synth_gl_tests"
export LIBGL_ALWAYS_SOFTWARE=1 SDL_AUDIODRIVER=dummy

# The native build the web stage compares the browser with: the plain stage's.
WEB_NATIVE=build

# The SDL the system's development package gives: sdl12-compat says so in
# its pkg-config name.
system_sdl() {
  if pkg-config --exists sdl12_compat; then echo compat; else echo classic; fi
}

build() { # dir, cmake options beyond the common ones
  d="$1"
  shift
  build_targets "$d" all "$@"
}

build_targets() { # dir, targets, cmake options beyond the common ones
  dir="$1"
  targets="$2"
  shift 2
  cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DISOLOOP_WERROR=ON \
    -DISOLOOP_TESTS=ON "$@" >/dev/null
  cmake --build "$dir" -j"$JOBS" --target $targets
}

check() { # dir, ctest selection
  dir="$1"
  shift
  xvfb-run -a -s "-screen 0 1024x768x24 -noreset" \
    ctest --test-dir "$dir" --output-on-failure --no-tests=error -j"$JOBS" "$@"
}

stage_format() {
  find src tools tests bench -name '*.cpp' -o -name '*.h' | xargs clang-format --dry-run --Werror
  # The browser tests' JavaScript: eslint and prettier, pinned by their lockfile.
  ./scripts/deps.sh node
  (cd tests/web && npm ci --no-audit --no-fund --loglevel=error && npm run lint)
}

stage_scripts() {
  sh tests/scripts/setup_scripts_test.sh
  sh tests/scripts/layering_test.sh
}

# Then every benchmark once, on a tiny setting, so none rots unseen.
stage_plain() {
  build build -DISOLOOP_BENCH=ON -DISOLOOP_SANITIZE=
  ISOLOOP_SDL="$(system_sdl)" check build
  sh bench/smoke.sh build
}

# The browser build: the site from the demo's own sources, the page in
# Debian's chromium (software WebGL) against the native build, and the plain
# units built with emcc against the native ones under node. The scripts
# install what they need (emscripten, chromium, node and npm).
stage_web() {
  ./scripts/deps.sh web
  [ -x "$WEB_NATIVE/isoloop-tool" ] && [ -e "$WEB_NATIVE/julia.3ds" ] ||
    build "$WEB_NATIVE" -DISOLOOP_BENCH=ON -DISOLOOP_SANITIZE=
  ISOLOOP_PACK="$WEB_NATIVE/julia.3ds" ISOLOOP_BUILD="$WEB_NATIVE" sh tests/web/run.sh
  sh tests/web/node/run.sh "$WEB_NATIVE/julia.3ds"
  # The browser's benchmark once, on a few seconds, so it cannot rot unseen.
  node bench/web_fps.js --site build-web/site --pack "$WEB_NATIVE/julia.3ds" --seconds 4 --no-synth
}

# The slow tests too: the capture's stops and full disks are where the tools'
# error paths run. Left out: the traced start-up (apitrace's preloaded tracer
# does not mix with the sanitizers' runtimes) and the package (lintian asks
# for hardening that a sanitizer build leaves out).
stage_asan() {
  build build-asan -DISOLOOP_BENCH=OFF -DISOLOOP_SANITIZE=address
  ISOLOOP_SDL="$(system_sdl)" ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=print_stacktrace=1 \
    check build-asan -LE "trace|package"
}

# TSan sees every lock and atomic in the project; what it reports inside an
# uninstrumented library it cannot judge (see tests/tsan.supp).
tsan_check() { # dir, ctest selection
  TSAN_OPTIONS="halt_on_error=1 suppressions=$(pwd)/tests/tsan.supp" check "$@"
}

stage_tsan() {
  build build-tsan -DISOLOOP_BENCH=OFF -DISOLOOP_SANITIZE=thread
  export ISOLOOP_SDL="$(system_sdl)"
  tsan_check build-tsan -L "$TSAN_LABELS"
  # Mesa's rasterizer threads synchronise in ways TSan cannot see into (the
  # driver is not instrumented): rasterize on the main thread for the demo.
  LP_NUM_THREADS=0 tsan_check build-tsan -R "$TSAN_DEMO"
  unset ISOLOOP_SDL
}

# sdl12-compat from Debian's own packages, unpacked beside the build: apt will
# not install it beside SDL 1.2 (SDL2 itself installs normally). Prints the root.
compat_root() { # dir
  root="$1/root"
  if [ ! -e "$root/.complete" ]; then
    rm -rf "$1" && mkdir -p "$1/debs" "$root"
    (cd "$1/debs" && { apt-get download -q -o APT::Sandbox::User=root $COMPAT_PACKAGES || {
      apt-get update -q && apt-get download -q -o APT::Sandbox::User=root $COMPAT_PACKAGES
    }; } >&2)
    for deb in "$1"/debs/*.deb; do dpkg -x "$deb" "$root"; done
    touch "$root/.complete"
  fi
  echo "$root"
}

# The second SDL: where the system's is SDL 1.2 itself, the suites that open a
# window or start the demo run again against sdl12-compat, plainly and under TSan.
stage_compat() {
  if [ "$(system_sdl)" = compat ]; then
    echo "skipped: the system's SDL 1.2 is sdl12-compat, which the passes above tested"
    return 0
  fi
  root="$(pwd)/$(compat_root build-compat/sdl12-compat)"
  lib="$(find "$root" -path '*/sdl12-compat/libSDL-1.2.so.0')"
  sdl="-DSDL_INCLUDE_DIR=$root/usr/include/SDL -DSDL_LIBRARY=$lib"
  # The binaries find the library through their run path: check that they do.
  build build-compat -DISOLOOP_BENCH=OFF -DISOLOOP_SANITIZE= $sdl
  ldd build-compat/isoloop | grep -q "=> $lib" || {
    echo "build-compat/isoloop does not load $lib" >&2
    return 1
  }
  export ISOLOOP_SDL=compat
  check build-compat -L "$COMPAT_LABELS"
  build_targets build-compat-tsan "$DEMO_TARGETS" -DISOLOOP_BENCH=OFF -DISOLOOP_SANITIZE=thread $sdl
  LP_NUM_THREADS=0 tsan_check build-compat-tsan -R "$TSAN_DEMO"
  unset ISOLOOP_SDL
}

# The plain stage again in a fresh Debian 13 root (debootstrap from the mirror
# this machine's apt uses), on a clean clone of the commit, set-up included,
# as a newcomer there would run it. The bare root is kept between runs.
stage_debian13() {
  sh scripts/check-debian.sh trixie test plain
}
