#!/bin/bash
# Starts the real program on a virtual X display with a tray host, answers its one question by
# typing, checks that the answer reached the data file, hides the window with Escape, brings it
# back with a click on the tray icon, and ends the program as the session would.
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

map_state() {
    xwininfo -id "$1" 2>/dev/null | sed -n 's/^ *Map State: *//p'
}

# WINDOW STATE WHAT: polls for up to 10 s until the window's Map State is STATE.
await_state() {
    local tries=0
    until [[ "$(map_state "$1")" == "$2" ]]; do
        ((++tries < 100)) || fail "$3 (Map State: $(map_state "$1"))"
        sleep 0.1
    done
}

# The program's tray icon: its window called "Quillow", embedded in the tray host's panel.
tray_icon() {
    local w
    for w in $(xdotool search --classname '^quillow$' 2>/dev/null); do
        [[ "$(xdotool getwindowname "$w" 2>/dev/null)" == Quillow ]] || continue
        xwininfo -id "$w" -tree 2>/dev/null | grep -q 'Parent window id:.*(the root window)' ||
            echo "$w"
    done
}

# Ends whatever the display session started (the program, the tray host, the server).
cleanup() {
    [[ -z "${pid:-}" ]] || kill -KILL "$pid" 2>/dev/null || true
    [[ -z "${trayer:-}" ]] || kill -TERM "$trayer" 2>/dev/null || true
    kill -TERM "$xvfb" 2>/dev/null || true
}

inside_display() {
    # A display of its own: -displayfd picks a free number without racing other servers. The
    # server and the tray host are bounded in time, should this shell be killed before its trap.
    timeout 150 Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp \
        3>"$root/display" 2>"$root/xvfb.log" &
    xvfb=$! trayer="" pid=""
    trap cleanup EXIT
    trap 'exit 1' TERM INT
    local tries=0
    until grep -q '^[0-9]' "$root/display" 2>/dev/null; do
        ((++tries < 100)) || { cat "$root/xvfb.log" >&2; echo "smoke test: no Xvfb" >&2; exit 1; }
        sleep 0.1
    done
    DISPLAY=":$(head -n 1 "$root/display")"
    export DISPLAY

    timeout 150 trayer --edge top --align right --widthtype request --height 24 >/dev/null 2>&1 &
    trayer=$!
    timeout 20 xdotool search --sync --classname '^trayer$' >/dev/null || fail "no tray host"

    "$program" &
    pid=$!

    local window
    window=$(timeout 20 xdotool search --sync --name "^${caption//./\\.}\$" | head -n 1) ||
        fail "no window called \"$caption\""
    await_state "$window" IsViewable "the window did not show"
    timeout 10 xdotool windowfocus --sync "$window" || fail "cannot focus the window"
    xdotool type --delay 30 "Paris"
    xdotool key Return

    tries=0
    until [[ "$(correct_count)" == 1 ]]; do
        ((++tries < 100)) || fail "the correct answer was not counted in the data file"
        sleep 0.1
    done

    # Escape hides the window to the tray; a click on the icon brings it back.
    local icon=""
    tries=0
    until icon=$(tray_icon | head -n 1) && [[ -n "$icon" ]]; do
        ((++tries < 100)) || fail "no tray icon embedded in the tray"
        sleep 0.1
    done
    xdotool key Escape
    await_state "$window" IsUnMapped "Escape did not hide the window"
    [[ "$(map_state "$icon")" == IsViewable ]] ||
        fail "the tray icon is not viewable while the window is hidden"
    local WIDTH=0 HEIGHT=0
    eval "$(xdotool getwindowgeometry --shell "$icon" | grep -E '^(WIDTH|HEIGHT)=[0-9]+$')"
    ((WIDTH > 0 && HEIGHT > 0)) || fail "the tray icon has no size"
    timeout 10 xdotool mousemove --sync --window "$icon" $((WIDTH / 2)) $((HEIGHT / 2)) click 1 ||
        fail "cannot click the tray icon"
    await_state "$window" IsViewable "a click on the tray icon did not bring the window back"
    tries=0
    until [[ "$(xdotool getwindowfocus 2>/dev/null)" == "$window" ]]; do
        ((++tries < 100)) || fail "the window came back without the keyboard focus"
        sleep 0.1
    done

    kill -TERM "$pid"
    local status=0
    wait "$pid" || status=$?
    pid=""
    [[ $status == 0 ]] || fail "the program ended with status $status after SIGTERM"
    [[ "$(correct_count)" == 1 ]] || fail "the data file changed at exit"
    tries=0
    while [[ -n "$(tray_icon)" ]]; do
        ((++tries < 50)) || fail "the tray icon stayed after the program ended"
        sleep 0.1
    done
    hidden_at_start_sleeps
    echo "smoke test: passed"
}

# Context switches of all the program's threads so far.
switches() {
    cat /proc/"$1"/task/*/status 2>/dev/null |
        awk '/^(non)?voluntary_ctxt_switches/ { n += $2 } END { print n + 0 }'
}

# Started with "Don't appear immediately after execution", the program waits in the tray and
# sleeps: a blinking text cursor in the hidden window would wake it twice a second.
hidden_at_start_sleeps() {
    python3 -c 'import struct, sys
with open(sys.argv[1], "r+b") as f:
    f.seek(20); f.write(struct.pack("<i", 1))' "$deck"
    "$program" &
    pid=$!
    local window tries=0
    window=$(timeout 20 xdotool search --sync --name "^${caption//./\\.}\$" | head -n 1) ||
        fail "no window after a start hidden"
    until [[ -n "$(tray_icon)" && "$(map_state "$window")" == IsUnMapped ]]; do
        ((++tries < 100)) || fail "the window started with the option did not hide to the tray"
        sleep 0.1
    done
    sleep 1
    local before after
    before=$(switches "$pid")
    sleep 3
    after=$(switches "$pid")
    ((after - before <= 3)) || fail "the hidden program woke $((after - before)) times in 3 s"
    kill -TERM "$pid"
    wait "$pid" || fail "the program hidden at start did not end cleanly"
    pid=""
}

if [[ "${1:-}" == --inside-display ]]; then
    program=$2 qld=$3 deck=$4 root=$5
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
unset QT_QPA_PLATFORM WAYLAND_DISPLAY DISPLAY

deck="$root/smoke.qld"
python3 "$qld" make "$deck" "Capital of France?|Paris"
printf '[Recent%%20QLD%%20File]\nFile1=%s\n' "$deck" >"$XDG_CONFIG_HOME/Brightfen/Quillow.conf"

timeout -k 5 120 bash "$0" --inside-display "$program" "$qld" "$deck" "$root"
