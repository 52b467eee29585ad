#!/bin/sh
# Installs the Debian packages (12 or 13) that are missing for one purpose:
#   deps.sh run    building and running the demo and its tools
#   deps.sh test   that, plus the tests, the format check and the second SDL
#                  (also with no argument)
# An entry "a|b" is met by either package (SDL 1.2 itself or sdl12-compat, the
# SDL 1.2 API over SDL2) and installs the first when neither is there.
set -e
RUN="build-essential cmake pkg-config libsdl1.2-dev|libsdl1.2-compat-dev
  libgl-dev libglu1-mesa-dev libegl-dev libgl1-mesa-dri libglx-mesa0 libegl-mesa0
  libsndfile1-dev libpng-dev libfreetype-dev libimagequant-dev fonts-dejavu-core"
TEST="$RUN libgtest-dev libbenchmark-dev xvfb xauth clang-format assimp-utils
  libsdl2-2.0-0 ffmpeg lintian desktop-file-utils appstream dpkg-dev"
# Wanted by the tests where the distribution has them (a test without one says
# it is skipped, and why): apitrace traces the demo's GL calls.
OPTIONAL_TEST="apitrace"

case "${1:-test}" in
run) wanted="$RUN" ;;
test) wanted="$TEST" ;;
*)
  echo "usage: $0 run|test" >&2
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
if [ "${1:-test}" = test ]; then
  for p in $OPTIONAL_TEST; do
    installed "$p" || ! apt-cache show "$p" >/dev/null 2>&1 || missing="$missing $p"
  done
fi
[ -z "$missing" ] && exit 0
SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO=sudo
echo "installing:$missing"
$SUDO apt-get update -q
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -q --no-install-recommends $missing
