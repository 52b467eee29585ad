#!/bin/sh
# Tries the README's two commands as a new user would, in a fresh minimal
# Debian root (debootstrap) holding a clean clone of this repository's HEAD,
# and reports how long each took. Needs root.
#   scripts/check-debian.sh bookworm|trixie [run|test [STAGE...]]
# With "run" only steps 1 and 2, with "test" only step 3; stages after "test"
# are passed to the test command (the test stage of CI runs "trixie test plain").
# 1. The run command with no display and SDL's dummy video driver: timed from
#    nothing to the demo's start, which then stops with status 2 (no GL there).
# 2. The headless line of the README under xvfb-run for 90 s, as written there
#    (with the packages it names installed first).
# 3. The test command, timed.
# The root comes from the mirror this machine's apt uses (its sources; or
# DEBIAN_MIRROR). The bare root is made once and kept in $ISOLOOP_ROOTS
# (default /var/tmp/isoloop-roots) with the packages downloaded into it; each
# check works on a fresh copy of it, and the log goes to
# $ISOLOOP_ROOTS/check-SUITE[-run|-test].log.
set -e
suite="$1"
only="$2"
[ $# -ge 2 ] && shift 2 || shift $#
case "$suite $only" in
"bookworm " | "trixie " | bookworm\ run | trixie\ run | bookworm\ test | trixie\ test) ;;
*)
  echo "usage: $0 bookworm|trixie [run|test [STAGE...]]" >&2
  exit 2
  ;;
esac
if [ "$only" != test ] && [ $# -gt 0 ]; then
  echo "usage: $0 bookworm|trixie [run|test [STAGE...]]" >&2
  exit 2
fi
if [ "$(id -u)" != 0 ]; then
  echo "$0: needs root (debootstrap, chroot, mount)" >&2
  exit 2
fi
repo="$(cd "$(dirname "$0")/.." && pwd)"
roots="${ISOLOOP_ROOTS:-/var/tmp/isoloop-roots}"

# The Debian archive this machine's apt uses: the first "deb" source in
# sources.list or in deb822 form, leaving out the security archive.
apt_mirror() {
  for f in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
    [ -f "$f" ] && sed -n 's/^deb \(\[[^]]*\] \)\{0,1\}\([a-z]*:[^ ]*\) .*/\2/p' "$f"
  done
  for f in /etc/apt/sources.list.d/*.sources; do
    [ -f "$f" ] && awk '
      /^[ \t]*$/ { if (deb && uri != "") print uri; deb = 0; uri = "" ; next }
      /^Types:/ { deb = ($0 ~ /[ \t]deb([ \t]|$)/) }
      /^URIs:/ { uri = $2 }
      END { if (deb && uri != "") print uri }' "$f"
  done
}
mirror="${DEBIAN_MIRROR:-$(apt_mirror | grep debian | grep -v security | head -n 1)}"
mirror="${mirror:-http://deb.debian.org/debian}"
if ! command -v debootstrap >/dev/null; then
  apt-get update -q
  DEBIAN_FRONTEND=noninteractive apt-get install -y -q debootstrap
fi

mkdir -p "$roots"
# One check of a suite at a time: a second would make the bare root or remove
# the first's copy under it. It waits for the first.
exec 9>"$roots/check-$suite.lock"
if ! flock -n 9; then
  echo "waiting for another check of Debian $suite on this machine" >&2
  flock 9
fi
base="$roots/base-$suite"
if [ ! -e "$base/.complete" ]; then
  rm -rf "$base"
  debootstrap --variant=minbase "$suite" "$base" "$mirror"
  touch "$base/.complete"
fi

root="$roots/check-$suite${only:+-$only}"
log="$root.log"
# Downloaded packages are kept beside the bare root for the next check (they
# are installed afresh each time; only the download is saved).
debs="$roots/debs-$suite"
mkdir -p "$debs"
unmount() { # lazily when a process that just ended still holds a mount
  for m in var/cache/apt/archives dev proc sys; do
    if mountpoint -q "$root/$m" 2>/dev/null; then
      umount -R "$root/$m" 2>/dev/null || umount -R -l "$root/$m" || true
    fi
  done
}
trap unmount EXIT
unmount
rm -rf "$root"
cp -a "$base" "$root"
rm -f "$root/.complete"
cp /etc/resolv.conf "$root/etc/resolv.conf"
# Certificate authorities this machine adds to Debian's (a network that
# inspects TLS, as npm's registry meets it here): the root trusts them too
# once ca-certificates is installed in it.
# node reads them from the bundle through NODE_EXTRA_CA_CERTS.
extra_ca=""
if ls /usr/local/share/ca-certificates/*.crt >/dev/null 2>&1; then
  mkdir -p "$root/usr/local/share/ca-certificates"
  cp /usr/local/share/ca-certificates/*.crt "$root/usr/local/share/ca-certificates/"
  extra_ca="NODE_EXTRA_CA_CERTS=/etc/ssl/certs/ca-certificates.crt"
fi
mount -t proc proc "$root/proc"
mount -t sysfs sysfs "$root/sys"
mount --rbind /dev "$root/dev"
mount --make-rslave "$root/dev"
mount --bind "$debs" "$root/var/cache/apt/archives"
git clone -q "$repo" "$root/home/isoloop"
echo "checking $(git -C "$repo" rev-parse --short HEAD) on Debian $suite; log in $log"

in_root() { # shell command, run in the clone as a new root user would
  chroot "$root" /usr/bin/env -i HOME=/root LANG=C.UTF-8 $extra_ca \
    PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
    sh -c "cd /home/isoloop && $1"
}
size() { # MB on disk, without the clone and apt's downloads
  all=$(du -smx "$root" | cut -f1)
  aside=$(du -smxc "$root/home" "$root/var/cache/apt" "$root/var/lib/apt/lists" | tail -n 1 | cut -f1)
  echo $((all - aside))
}

: >"$log"
size0=$(size)
if [ "$only" != test ]; then
  t0=$(date +%s)
  status=0
  in_root "SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy ./scripts/run.sh window" >>"$log" 2>&1 || status=$?
  t1=$(date +%s)
  if [ $status != 2 ] || ! grep -q "^Couldn't set 640x480 OpenGL video mode: " "$log"; then
    echo "run command: the demo did not start (status $status), see $log" >&2
    exit 1
  fi
  run_time=$((t1 - t0))
  run_size=$(($(size) - size0))
  echo "run command: $run_time s to the demo, $run_size MB installed"

  in_root "apt-get install -y -q --no-install-recommends xvfb xauth" >>"$log" 2>&1
  status=0
  in_root "SDL_AUDIODRIVER=dummy xvfb-run -a -s '-screen 0 1024x768x24 -noreset' \
    timeout --preserve-status 90 ./scripts/run.sh window >run.out 2>run.err" || status=$?
  cat "$root/home/isoloop/run.out" "$root/home/isoloop/run.err" >>"$log"
  if [ $status != 0 ] || ! grep -q "hmm mag die console weg aub?" "$root/home/isoloop/run.out"; then
    echo "run command under xvfb-run: status $status, see $log" >&2
    exit 1
  fi
  echo "run command under xvfb-run: ran, ended cleanly on SIGTERM after 90 s"
  echo "Debian $suite: run command $run_time s to the demo ($run_size MB installed)"
fi
if [ "$only" = run ]; then
  unmount
  rm -rf "$root"
  exit 0
fi

t2=$(date +%s)
status=0
in_root "./scripts/test.sh $*" >>"$log" 2>&1 || status=$?
t3=$(date +%s)
if [ $status != 0 ]; then
  tail -n 80 "$log"
  echo "test command: failed (status $status) after $((t3 - t2)) s, see $log" >&2
  exit 1
fi
tail -n 5 "$log"
echo "Debian $suite: test command${*:+ ($*)} $((t3 - t2)) s ($(($(size) - size0)) MB installed)"
unmount
rm -rf "$root"
