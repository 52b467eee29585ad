#!/bin/sh
# Installs the Debian packages (12 or 13) that are missing for one purpose:
#   deps.sh run    building and running the demo and its tools
#   deps.sh site   that, plus emscripten: building and serving the browser site
#   deps.sh web    the site, plus the browsers, Node.js and the virtual display
#                  its tests drive (chromium, Firefox ESR, WebKitGTK's driver)
#   deps.sh node   Node.js and npm (the browser tests' lint and format check)
#   deps.sh test   the run set, plus the native tests, the format check, the
#                  second SDL and a fresh Debian root (also with no argument);
#                  the browser stage of the tests adds the web set itself
# An entry "a|b" is met by either package (SDL 1.2 itself or sdl12-compat, the
# SDL 1.2 API over SDL2) and installs the first when neither is there.
set -e
RUN="build-essential cmake pkg-config libsdl1.2-dev|libsdl1.2-compat-dev
  libgl-dev libglu1-mesa-dev libegl-dev libgl1-mesa-dri libglx-mesa0 libegl-mesa0
  libsndfile1-dev libpng-dev libfreetype-dev libimagequant-dev fonts-dejavu-core"
SITE="$RUN emscripten python3"
WEB="$SITE chromium firefox-esr webkit2gtk-driver xvfb xauth g++"
TEST="$RUN libgtest-dev libbenchmark-dev xvfb xauth clang-format assimp-utils
  libsdl2-2.0-0 ffmpeg lintian desktop-file-utils appstream dpkg-dev debootstrap time"
# Wanted by the tests where the distribution has them (a test without one says
# it is skipped, and why): apitrace traces the demo's GL calls.
OPTIONAL_TEST="apitrace"

case "${1:-test}" in
run) wanted="$RUN" ;;
site) wanted="$SITE" ;;
web) wanted="$WEB" ;;
node) wanted="" ;;
test) wanted="$TEST" ;;
*)
  echo "usage: $0 run|site|web|node|test" >&2
  exit 2
  ;;
esac

installed() {
  dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q "install ok installed"
}

missing=""
for entry in $wanted; do
  found=""
  for p in $(echo "$entry" | tr '|' ' '); do
    installed "$p" && found=1 && break
  done
  [ -n "$found" ] || missing="$missing ${entry%%|*}"
done
case "${1:-test}" in
web | node)
  # The browser tests are an npm project. A Node.js from elsewhere (say
  # nodesource) brings its own npm and conflicts with Debian's.
  if ! command -v node >/dev/null 2>&1 || ! command -v npm >/dev/null 2>&1; then
    missing="$missing nodejs npm"
  fi
  node_floor=1
  ;;
esac
if [ "${1:-test}" = test ]; then
  for p in $OPTIONAL_TEST; do
    installed "$p" || ! apt-cache show "$p" >/dev/null 2>&1 || missing="$missing $p"
  done
fi
# Their lint (eslint 10) and drivers want Node.js 20.19 or later: Debian 13's
# own, or one from elsewhere on Debian 12 (whose own is 18).
check_node() {
  [ -n "$node_floor" ] || return 0
  v="$(node -e 'process.stdout.write(process.versions.node)' 2>/dev/null)" || return 0
  case "$v" in [0-9]*.[0-9]*) ;; *) return 0 ;; esac
  major="${v%%.*}"
  minor="${v#*.}"
  minor="${minor%%.*}"
  if [ "$major" -lt 20 ] || { [ "$major" = 20 ] && [ "$minor" -lt 19 ]; }; then
    echo "$0: the browser tests need Node.js 20.19 or later; this machine has $v" >&2
    exit 1
  fi
}
if [ -z "$missing" ]; then
  check_node
  exit 0
fi
SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO=sudo
echo "installing:$missing"
# Another apt (an unattended upgrade, a second set-up) may hold the lock for a
# while: wait up to five minutes for it rather than fail.
wait_lock="-o DPkg::Lock::Timeout=300"
$SUDO apt-get $wait_lock update -q
DEBIAN_FRONTEND=noninteractive $SUDO apt-get $wait_lock install -y -q --no-install-recommends $missing
check_node
