#!/bin/sh
# Runs a test program as an ordinary user (65534), for the cases root cannot
# test because it reads every file. Exits 77 (skipped) unless it runs as root
# with setpriv at hand and the program is reachable by that user.
#
#   as_other_user.sh PROGRAM [ARGUMENTS...]
[ "$(id -u)" = 0 ] && command -v setpriv >/dev/null || exit 77
as_user() {
    setpriv --reuid=65534 --regid=65534 --clear-groups "$@"
}
as_user test -x "$1" || exit 77
# The user needs a temporary folder of its own.
TMPDIR=/tmp as_user "$@"
