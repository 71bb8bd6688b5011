#!/bin/bash
# Starts the real program on a virtual X display, answers its one question by typing, checks
# that the answer reached the data file, and ends the program as the session would.
#
#   smoke_test.sh QUILLOW_EXECUTABLE QLD_PY
#
# On a failure the screen is kept as smoke-failure.png in the working folder.
set -euo pipefail

readonly caption="Quillow V2.0 - smoke.qld"

fail() {
    echo "smoke test: $*" >&2
    import -window root smoke-failure.png 2>/dev/null || true
    exit 1
}

correct_count() {
    python3 "$qld" dump "$deck" |
        python3 -c 'import json, sys; print(json.load(sys.stdin)["records"][0]["correctCount"])'
}

inside_display() {
    "$program" &
    local pid=$!
    trap 'kill -KILL '"$pid"' 2>/dev/null || true' EXIT

    local window
    window=$(timeout 20 xdotool search --sync --name "^${caption//./\\.}\$" | head -n 1) ||
        fail "no window called \"$caption\""
    timeout 10 xdotool windowfocus --sync "$window" || fail "cannot focus the window"
    xdotool type --delay 30 "Paris"
    xdotool key Return

    local tries=0
    until [[ "$(correct_count)" == 1 ]]; do
        ((++tries < 100)) || fail "the correct answer was not counted in the data file"
        sleep 0.1
    done

    kill -TERM "$pid"
    local status=0
    wait "$pid" || status=$?
    trap - EXIT
    [[ $status == 0 ]] || fail "the program ended with status $status after SIGTERM"
    [[ "$(correct_count)" == 1 ]] || fail "the data file changed at exit"
    echo "smoke test: passed"
}

if [[ "${1:-}" == --inside-display ]]; then
    program=$2 qld=$3 deck=$4
    inside_display
    exit 0
fi

program=$(realpath "$1")
qld=$(realpath "$2")

# A user of its own: nothing reaches the real home, settings or sockets.
root=$(mktemp -d "${TMPDIR:-/tmp}/quillow-smoke-XXXXXX")
trap 'rm -rf "$root"' EXIT
mkdir -p "$root/home/.config/Brightfen" "$root/tmp" "$root/runtime"
chmod 700 "$root/runtime"
export HOME="$root/home" XDG_CONFIG_HOME="$root/home/.config" XDG_RUNTIME_DIR="$root/runtime"
export TMPDIR="$root/tmp"
unset QT_QPA_PLATFORM WAYLAND_DISPLAY

deck="$root/smoke.qld"
python3 "$qld" make "$deck" "Capital of France?|Paris"
printf '[Recent%%20QLD%%20File]\nFile1=%s\n' "$deck" >"$XDG_CONFIG_HOME/Brightfen/Quillow.conf"

timeout 120 xvfb-run -a -s "-screen 0 1024x768x24" \
    bash "$0" --inside-display "$program" "$qld" "$deck"
