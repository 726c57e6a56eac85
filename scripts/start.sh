#!/usr/bin/env bash
# Installs what is missing, builds, and starts Marrowick.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
# Only the two programs: the tests are built by scripts/test.sh.
"$root/scripts/setup.sh" default -- marrowick marrowick-inspect

bin="$root/build/default"
if [[ -z "${DISPLAY:-}" && -z "${WAYLAND_DISPLAY:-}" && -z "${QT_QPA_PLATFORM:-}" ]]; then
    echo "There is no graphical display here, so the window cannot open; this is what it would list:"
    echo
    echo "\$ marrowick-inspect samples/demo.iff"
    "$bin/inspect/marrowick-inspect" "$root/samples/demo.iff" || true
    echo
    echo "To see the window, run this command again from a desktop session, or over 'ssh -X',"
    echo "or under a virtual display: xvfb-run -s '-screen 0 1280x800x24' scripts/start.sh"
    exit 0
fi
exec "$bin/app/marrowick" "$@"
