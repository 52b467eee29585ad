#!/bin/sh
# The README's two commands on a fresh Debian 13 (trixie); see check-debian.sh.
exec "$(dirname "$0")/check-debian.sh" trixie "$@"
