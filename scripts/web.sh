#!/bin/sh
# The browser build, with Debian's emscripten (3.1.6 on Debian 12, 3.1.69 on 13).
#   scripts/web.sh [build]   install what is missing, build into build-web/site/
#   scripts/web.sh serve     build, then serve build-web/site on 127.0.0.1
#   scripts/web.sh deps      only install the Debian packages
# The site is static: index.html, page.css, page.js, manifest.json, the
# program (isoloop.js + isoloop.wasm) and its data files.
set -e
cd "$(dirname "$0")/.."

# The GL 1.1 layer: compiled against WebGL's own header, never with gl_web.h.
LAYER_SOURCES="
  src/app/web/gl_immediate.cpp
  src/app/web/gl_lists.cpp
  src/app/web/gl_matrix.cpp
  src/app/web/gl_caps.cpp
  src/app/web/gl_texture.cpp
  src/app/web/gl_draw.cpp
  src/app/web/show_end.cpp"
# The program: plain GL 1.1 code, compiled with gl_web.h forced in. For now the
# probe; the demo's own units (and its browser main loop) go here instead.
PROGRAM_SOURCES="
  tests/web/gl_probe/probe_scene.cpp
  tests/web/gl_probe/probe_picture.cpp
  tests/web/gl_probe/probe_main.cpp"
# Files the page fetches and puts in the program's file system before main.
DATA_FILES="tests/web/gl_probe/probe.ppm"

OUT=build-web
SITE=$OUT/site
CXXFLAGS="-std=c++17 -O2 -Wall -Wextra -ffp-contract=off -fno-fast-math -Isrc"
LDFLAGS="-O2 -sMODULARIZE=1 -sEXPORT_NAME=createIsoloop -sENVIRONMENT=web
  -sALLOW_MEMORY_GROWTH=1 -sFORCE_FILESYSTEM=1 -sEXPORTED_RUNTIME_METHODS=FS"

deps() {
  need=""
  command -v em++ >/dev/null 2>&1 || need="$need emscripten"
  command -v python3 >/dev/null 2>&1 || need="$need python3"
  [ -z "$need" ] && return 0
  SUDO=""
  [ "$(id -u)" -ne 0 ] && SUDO=sudo
  echo "installing:$need"
  # Another apt may hold the lock for a while: wait for it rather than fail.
  tries=0
  until $SUDO apt-get update -q && $SUDO apt-get install -y -q $need; do
    tries=$((tries + 1))
    [ $tries -ge 30 ] && return 1
    echo "apt busy, retrying in 10 s"
    sleep 10
  done
}

build() {
  deps
  # emcc runs its tools with node; a node not from Debian misses Debian's modules.
  export NODE_PATH="${NODE_PATH:-/usr/share/nodejs}"
  mkdir -p "$OUT/obj" "$SITE"
  jobs="${WEB_JOBS:-2}"
  objs=""
  for src in $LAYER_SOURCES $PROGRAM_SOURCES; do
    objs="$objs $OUT/obj/$(echo "$src" | tr / _).o"
  done
  # Compile both kinds, at most $jobs at a time.
  {
    for src in $LAYER_SOURCES; do echo "$src -"; done
    for src in $PROGRAM_SOURCES; do echo "$src src/app/web/gl_web.h"; done
  } | xargs -P "$jobs" -L 1 sh -c '
    src=$0; inc=$1; obj='"$OUT"'/obj/$(echo "$src" | tr / _).o
    if [ "$inc" = "-" ]; then em++ '"$CXXFLAGS"' -c "$src" -o "$obj"
    else em++ '"$CXXFLAGS"' -include "$inc" -c "$src" -o "$obj"; fi'
  # shellcheck disable=SC2086
  em++ $objs $LDFLAGS -o "$SITE/isoloop.js"
  cp src/app/web/index.html src/app/web/page.css src/app/web/page.js "$SITE/"
  files=""
  for f in $DATA_FILES; do
    cp "$f" "$SITE/"
    files="$files${files:+, }\"$(basename "$f")\""
  done
  printf '{"program": "isoloop.js", "files": [%s]}\n' "$files" >"$SITE/manifest.json"
  echo "built $SITE"
}

case "${1:-build}" in
deps) deps ;;
build) build ;;
serve)
  build
  port="${PORT:-8080}"
  echo "serving http://127.0.0.1:$port/"
  exec python3 -m http.server "$port" --bind 127.0.0.1 --directory "$SITE"
  ;;
*)
  echo "usage: $0 [build|serve|deps]" >&2
  exit 2
  ;;
esac
