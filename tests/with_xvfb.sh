#!/bin/bash
# with_xvfb.sh COMMAND...: runs COMMAND on a private 1280x720 Xvfb.
set -u
. "$(dirname "$0")/xvfb.sh"
log=$(mktemp /tmp/tarnwick_xvfb_XXXXXX.log)
trap 'stop_xvfb; rm -f "$log"' EXIT
start_xvfb 1280x720 "$log" || { echo "Xvfb did not start" >&2; exit 1; }
export ALSOFT_DRIVERS=null
"$@"
