#!/usr/bin/env bash
# Starts the debugger built by build.sh on the simulated adapter board.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
bin="$root/build/bin"
if [[ ! -x "$bin/ostrel-debugger" || ! -f "$bin/libsimboard.so" ]]; then
  echo "build the debugger first: tools/build.sh" >&2
  exit 1
fi
unset VEXA_SIM_HEX
export VEXA_D2XX_LIBRARY="$bin/libsimboard.so"
exec "$bin/ostrel-debugger" "$@"
