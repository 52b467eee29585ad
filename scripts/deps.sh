#!/bin/sh
# Installs the Debian packages the demo, its tools and its tests need.
set -e
PACKAGES="build-essential cmake pkg-config libsdl1.2-dev libgl-dev libglu1-mesa-dev libegl-dev
  libgl1-mesa-dri libglx-mesa0 libegl-mesa0 libgtest-dev libbenchmark-dev libsndfile1-dev
  libpng-dev libfreetype-dev libimagequant-dev fonts-dejavu-core xvfb xauth clang-format
  assimp-utils ffmpeg"
missing=""
for p in $PACKAGES; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
done
[ -z "$missing" ] && exit 0
SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO=sudo
echo "installing:$missing"
$SUDO apt-get update -q
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -q $missing
