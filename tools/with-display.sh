#!/usr/bin/env bash
# Runs a command on a virtual screen of its own with a window manager on it,
# as a user's desktop has one: starts Xvfb on a free display, starts openbox,
# waits until openbox manages windows, runs the command with DISPLAY set, and
# stops both afterwards. The command's exit status is the script's.
#
#   tools/with-display.sh [-s WIDTHxHEIGHT] command [argument...]
#
# The screen is 1280x1024 (24-bit colour) unless -s gives another size.
#   tools/with-display.sh tools/run.sh
#   tools/with-display.sh ctest --test-dir build -L gui
set -euo pipefail

size="1280x1024"
if [[ "${1:-}" == "-s" ]]; then
    size="$2"
    shift 2
fi
if [[ $# -eq 0 ]]; then
    echo "usage: $0 [-s WIDTHxHEIGHT] command [argument...]" >&2
    exit 2
fi
for program in Xvfb xauth openbox xprop; do
    if ! command -v "$program" >/dev/null; then
        echo "$0: $program is missing (tools/install-deps.sh installs it)" >&2
        exit 2
    fi
done

work="$(mktemp -d)"
xvfb_pid=""
wm_pid=""
stop_all() {
    [[ -n "$wm_pid" ]] && kill "$wm_pid" 2>/dev/null && wait "$wm_pid" 2>/dev/null
    [[ -n "$xvfb_pid" ]] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
    rm -rf "$work"
}
trap stop_all EXIT
trap 'exit 130' INT TERM

# Xvfb picks a free display itself and writes its number once it accepts
# clients. Only clients that hold the cookie may connect.
cookie="$(od -An -N16 -tx1 /dev/urandom | tr -d ' \n')"
export XAUTHORITY="$work/Xauthority"
touch "$XAUTHORITY"
# The server reads every cookie of its file at start, whatever display it names.
xauth -q add :0 MIT-MAGIC-COOKIE-1 "$cookie"
Xvfb -displayfd 3 -screen 0 "${size}x24" -nolisten tcp -auth "$XAUTHORITY" \
    3>"$work/display" 2>"$work/xvfb.log" &
xvfb_pid=$!
for _ in $(seq 200); do
    [[ -s "$work/display" ]] && break
    if ! kill -0 "$xvfb_pid" 2>/dev/null; then
        echo "$0: Xvfb did not start:" >&2
        cat "$work/xvfb.log" >&2
        exit 2
    fi
    sleep 0.05
done
if [[ ! -s "$work/display" ]]; then
    echo "$0: Xvfb gave no display" >&2
    exit 2
fi
export DISPLAY=":$(tr -d '\n' <"$work/display")"
xauth -q add "$DISPLAY" MIT-MAGIC-COOKIE-1 "$cookie"

# openbox with its own empty settings, so what the user keeps in ~/.config
# changes nothing; it announces itself on the root window once it manages.
mkdir -p "$work/config/openbox"
XDG_CONFIG_HOME="$work/config" openbox --sm-disable >"$work/openbox.log" 2>&1 &
wm_pid=$!
managing=""
for _ in $(seq 200); do
    if xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; then
        managing=1
        break
    fi
    if ! kill -0 "$wm_pid" 2>/dev/null; then break; fi
    sleep 0.05
done
if [[ -z "$managing" ]]; then
    echo "$0: openbox did not start:" >&2
    cat "$work/openbox.log" >&2
    exit 2
fi

status=0
"$@" || status=$?
exit "$status"
