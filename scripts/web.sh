#!/bin/sh
# The show in a browser, built with Debian's emscripten (3.1.6 on Debian 12,
# 3.1.69 on 13) from the demo's own sources (src/app/web/web.cmake).
#   scripts/web.sh [build]   install what is missing, build build-web/site/
#   scripts/web.sh serve     build, then serve build-web/site on 127.0.0.1
#   scripts/web.sh probe     also build the GL layer's test page, build-web/probe-site/
#   scripts/web.sh deps      only install the Debian packages
# The site is static: index.html, page.css, page.js, manifest.json, the
# program (isoloop.js + isoloop.wasm) and the picture pack julia.3ds, which the
# native isoloop-tool makes (ISOLOOP_PACK=FILE names one made already).
set -e
cd "$(dirname "$0")/.."

OUT=build-web
SITE=$OUT/site

# emscripten, and cmake and the native build's packages for the picture pack.
deps() {
  ./scripts/deps.sh site
}

# The picture pack, made by the native tool (built here when none is given).
pack() {
  if [ -n "$ISOLOOP_PACK" ]; then
    cp "$ISOLOOP_PACK" "$1"
    return
  fi
  cmake -S . -B "$OUT/native" -DCMAKE_BUILD_TYPE=Release -DISOLOOP_WERROR=OFF \
    -DISOLOOP_TESTS=OFF -DISOLOOP_BENCH=OFF -DISOLOOP_SANITIZE= >/dev/null
  cmake --build "$OUT/native" -j"$(nproc)" --target isoloop_pack
  cp "$OUT/native/julia.3ds" "$1"
}

# A site: the page, a program and its data files. The manifest lists each
# file the page fetches with the size it has, which the page checks before
# it offers Start.
site() { # dir program data-file...
  dir="$1"
  program="$2"
  shift 2
  mkdir -p "$dir"
  cp src/app/web/page/index.html src/app/web/page/page.css src/app/web/page/page.js "$dir/"
  cp "$OUT/wasm/$program.js" "$OUT/wasm/$program.wasm" "$dir/"
  files=""
  for f in "$@"; do
    files="$files${files:+, }$(entry "$f")"
  done
  printf '{"program": %s, "module": %s, "files": [%s]}\n' "$(entry "$dir/$program.js")" \
    "$(entry "$dir/$program.wasm")" "$files" >"$dir/manifest.json"
}

entry() { # file
  printf '{"name": "%s", "size": %s}' "$(basename "$1")" "$(wc -c <"$1" | tr -d ' ')"
}

# The pack the tools accept has exactly the size its layout gives; a site is
# never built around another.
check_pack() { # file
  want=$(sed -n 's/.*PACK_SIZE = \([0-9]*\).*/\1/p' src/texture/pack_layout.h)
  have=$(wc -c <"$1" | tr -d ' ')
  [ "$have" = "$want" ] || {
    echo "$0: $1 has $have bytes, a picture pack has $want" >&2
    exit 1
  }
}

build() {
  deps
  # emcc runs its tools with node; a node not from Debian misses Debian's modules.
  export NODE_PATH="${NODE_PATH:-/usr/share/nodejs}"
  emcmake cmake -S . -B "$OUT/wasm" -DCMAKE_BUILD_TYPE=Release >/dev/null
  cmake --build "$OUT/wasm" -j"${WEB_JOBS:-$(nproc)}" --target isoloop "$@"
  rm -rf "$SITE"
  mkdir -p "$SITE"
  pack "$SITE/julia.3ds"
  check_pack "$SITE/julia.3ds"
  site "$SITE" isoloop "$SITE/julia.3ds"
  echo "built $SITE"
}

case "${1:-build}" in
deps) deps ;;
build) build ;;
probe)
  build gl_probe
  rm -rf "$OUT/probe-site"
  site "$OUT/probe-site" gl_probe tests/web/gl_probe/probe.ppm
  cp tests/web/gl_probe/probe.ppm "$OUT/probe-site/"
  echo "built $OUT/probe-site"
  ;;
serve)
  port="${PORT:-8080}"
  case "$port" in
  [1-9] | [1-9][0-9] | [1-9][0-9][0-9] | [1-9][0-9][0-9][0-9] | [1-9][0-9][0-9][0-9][0-9]) ;;
  *) port=0 ;;
  esac
  if [ "$port" -lt 1 ] || [ "$port" -gt 65535 ]; then
    echo "web.sh serve: PORT must be a whole number from 1 to 65535, not '${PORT}'" >&2
    exit 2
  fi
  # The server binds before it says so; a busy port is named, once before
  # the build (which takes minutes) and again when serving.
  serve_py='
import functools, http.server, sys
port, site = int(sys.argv[1]), sys.argv[2]
handler = functools.partial(http.server.SimpleHTTPRequestHandler, directory=site)
try:
    httpd = http.server.ThreadingHTTPServer(("127.0.0.1", port), handler)
except OSError as e:
    sys.exit("web.sh serve: cannot serve on 127.0.0.1 port %d: %s" % (port, e.strerror))
if site == "-":
    sys.exit(0)
print("serving http://127.0.0.1:%d/ (Ctrl-C ends it)" % port, flush=True)
try:
    httpd.serve_forever()
except KeyboardInterrupt:
    pass
'
  python3 -c "$serve_py" "$port" - || exit 1
  build
  exec python3 -c "$serve_py" "$port" "$SITE"
  ;;
*)
  echo "usage: $0 [build|serve|probe|deps]" >&2
  exit 2
  ;;
esac
