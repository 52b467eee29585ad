#!/bin/sh
# The set-up scripts' own checks. Every shell script parses. A
# stage whose selection holds no test fails (an empty build folder, a tree
# configured without tests, a label or name that matches nothing) instead of
# passing on nothing; every stage named exists; a bad stage name is refused
# before anything is installed. deps.sh, against a stand-in dpkg-query and
# apt-get: sdl12-compat counts as the SDL 1.2 development package, and Node.js
# from elsewhere counts as Node.js. (Whether the package lists hold enough is
# what the debian13 stage's fresh root shows.)
cd "$(dirname "$0")/../.."
. ./scripts/stages.sh
tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT
passed=0
failed=0
expect() { # description, wanted status (0 or "fail"), command...
  what="$1"
  want="$2"
  shift 2
  "$@" >"$tmp/out" 2>&1
  got=$?
  if { [ "$want" = 0 ] && [ $got = 0 ]; } || { [ "$want" = fail ] && [ $got != 0 ]; }; then
    passed=$((passed + 1))
  else
    failed=$((failed + 1))
    echo "FAILED: $what (status $got)"
    cat "$tmp/out"
  fi
}

for script in $(git ls-files '*.sh'); do
  expect "$script parses" 0 sh -n "$script"
done
# A tree holding one labelled test, as CMake writes it.
mkdir -p "$tmp/tree" "$tmp/empty"
cat >"$tmp/tree/CTestTestfile.cmake" <<'END'
add_test(one "true")
set_tests_properties(one PROPERTIES LABELS "app")
END
expect "a selection holding a test passes" 0 check "$tmp/tree" -L "^app$"
expect "an empty build folder fails" fail check "$tmp/empty"
expect "a label that matches nothing fails" fail check "$tmp/tree" -L "^no_such_label$"
expect "a name that matches nothing fails" fail check "$tmp/tree" -R "^NoSuchTest"
for stage in $STAGES; do
  expect "stage $stage exists" 0 type "stage_$stage"
done
expect "an unknown stage is refused" fail sh scripts/test.sh no-such-stage

# deps.sh with INSTALLED as the installed packages; prints what it would install.
mkdir -p "$tmp/bin"
cat >"$tmp/bin/dpkg-query" <<'END'
#!/bin/sh
for last; do :; done
for p in $INSTALLED; do [ "$p" = "$last" ] && echo "install ok installed" && exit 0; done
exit 1
END
cat >"$tmp/bin/apt-get" <<'END'
#!/bin/sh
while [ "$1" = -o ]; do shift 2; done
[ "$1" = install ] || exit 0
for a in "$@"; do case "$a" in install | -*) ;; *) printf '%s ' "$a" ;; esac; done
echo
END
chmod +x "$tmp/bin/dpkg-query" "$tmp/bin/apt-get"
deps() { # installed packages, deps.sh arguments
  INSTALLED="$1" PATH="$tmp/bin:$PATH" sh scripts/deps.sh $2 | tail -n 1 | sed 's/ $//'
}
everything="$(deps "" test)"
with_compat="$(echo "$everything" | sed 's/libsdl1.2-dev/libsdl1.2-compat-dev/')"
expect "sdl12-compat is taken as SDL 1.2" 0 test -z "$(deps "$with_compat" test)"
expect "SDL 1.2 itself is taken as SDL 1.2" 0 test -z "$(deps "$everything" test)"
expect "neither: SDL 1.2 itself is installed" 0 \
  test "$(deps "$(echo "$everything" | sed 's/libsdl1.2-dev//')" test)" = "libsdl1.2-dev"
# Node.js and npm from elsewhere (nodesource brings both, and conflicts with
# Debian's npm) are taken as they are; with neither, Debian's are installed.
mkdir -p "$tmp/node"
printf '#!/bin/sh\n' >"$tmp/node/node"
printf '#!/bin/sh\n' >"$tmp/node/npm"
chmod +x "$tmp/node/node" "$tmp/node/npm"
expect "node and npm on PATH are taken" 0 \
  test -z "$(INSTALLED="" PATH="$tmp/node:$tmp/bin:$PATH" sh scripts/deps.sh node)"
printf '#!/bin/sh\nprintf 18.19.0\n' >"$tmp/node/node"
expect "a Node.js older than 20.19 is refused, named" 0 sh -c \
  "INSTALLED='' PATH='$tmp/node:$tmp/bin:$PATH' sh scripts/deps.sh node 2>&1 >/dev/null | grep -q 'has 18.19.0'"
printf '#!/bin/sh\nprintf 20.19.2\n' >"$tmp/node/node"
expect "Node.js 20.19 (Debian 13's) is taken" 0 \
  env INSTALLED="" PATH="$tmp/node:$tmp/bin:$PATH" sh scripts/deps.sh node
nodeless="$(mktemp -d)"
for tool in sh dpkg-query apt-get apt-cache grep sed tr id; do
  real="$(PATH="$tmp/bin:$PATH" command -v $tool)" && ln -s "$real" "$nodeless/$tool"
done
expect "without node, Debian's nodejs and npm are installed" 0 \
  test "$(INSTALLED="" PATH="$nodeless" sh scripts/deps.sh node | tail -n 1 | sed 's/ $//')" = "nodejs npm"
rm -rf "$nodeless"
expect "deps.sh refuses an unknown set" fail sh scripts/deps.sh everything

# web.sh serve checks its port before the build: a port outside 1..65535 is
# refused with 2, a busy one is named with 1; neither starts a build.
for port in 0 65536 99999 -1 8o80 1e3; do
  expect "web.sh serve refuses PORT='$port'" 0 sh -c \
    "PORT='$port' timeout 20 sh scripts/web.sh serve >'$tmp/web.out' 2>&1; [ \$? = 2 ] &&
     grep -q 'from 1 to 65535' '$tmp/web.out' && ! grep -q serving '$tmp/web.out'"
done
python3 -c '
import socket, sys, time
s = socket.socket()
s.bind(("127.0.0.1", 0))
s.listen()
print(s.getsockname()[1], flush=True)
time.sleep(60)
' >"$tmp/busy" &
busy_pid=$!
for i in 1 2 3 4 5 6 7 8 9 10; do [ -s "$tmp/busy" ] && break; sleep 0.2; done
busy="$(cat "$tmp/busy")"
expect "web.sh serve names a busy port and ends with 1" 0 sh -c \
  "PORT=$busy timeout 20 sh scripts/web.sh serve >'$tmp/web.out' 2>&1; [ \$? = 1 ] &&
   grep -q 'port $busy' '$tmp/web.out' && ! grep -q -e serving -e Traceback '$tmp/web.out'"
kill "$busy_pid"

echo "$passed passed, $failed failed"
[ $failed = 0 ]
