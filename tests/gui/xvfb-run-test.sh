#!/usr/bin/env bash
# Runs a command on the private X server that xvfb-server.sh started, with Qt's xcb platform.
#   xvfb-run-test.sh <state-dir> <command> [arguments...]
set -euo pipefail
state_dir=$1
shift
display=$(cat "$state_dir/xvfb.display" 2>/dev/null || true)
if [ -z "$display" ]; then
    echo "no private X server runs (see xvfb-server.sh)" >&2
    exit 1
fi
export DISPLAY=":$display" QT_QPA_PLATFORM=xcb
exec "$@"
