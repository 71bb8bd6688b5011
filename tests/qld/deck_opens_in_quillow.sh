#!/bin/bash
# A deck imported by qld from a 500-line TSV opens in the real program: it shows the deck in its
# caption, ends with status 0 on SIGTERM, and leaves the deck whole with its header saved.
#
#   deck_opens_in_quillow.sh QLD_EXECUTABLE QUILLOW_EXECUTABLE QLD_PY
set -euo pipefail

qld=$(realpath "$1") quillow=$(realpath "$2") qld_py=$(realpath "$3")
pid=""

fail() {
    echo "deck_opens_in_quillow: $*" >&2
    exit 1
}

# CONDITION...: polls for up to 20 s.
await() {
    local tries=0
    until "$@"; do
        ((++tries < 200)) || return 1
        sleep 0.1
    done
}

# A user of its own: nothing reaches the real home, settings or sockets.
root=$(mktemp -d "${TMPDIR:-/tmp}/qld-quillow-XXXXXX")
trap 'if [[ -n $pid ]]; then kill -KILL "$pid" 2>/dev/null || true; fi; rm -rf "$root"' EXIT
mkdir -p "$root/home/.config/Brightfen" "$root/tmp" "$root/runtime"
chmod 700 "$root/runtime"
export HOME="$root/home" XDG_CONFIG_HOME="$root/home/.config" XDG_RUNTIME_DIR="$root/runtime"
export TMPDIR="$root/tmp" QT_QPA_PLATFORM=offscreen
unset DISPLAY WAYLAND_DISPLAY

deck="$root/cards.qld"
settings="$XDG_CONFIG_HOME/Brightfen/Quillow.conf"
for i in $(seq 1 500); do
    printf 'Frage %d: Wie heißt „%d“?\tAntwort %d\n' "$i" "$i" "$i"
done >"$root/cards.tsv"
"$qld" import "$deck" "$root/cards.tsv" >/dev/null || fail "the import failed"
# A savedTime long past, so that the program's own header write shows.
printf '\001\000\000\000' | dd of="$deck" bs=1 seek=28 conv=notrunc status=none
printf '[Recent%%20QLD%%20File]\nFile1=%s\n' "$deck" >"$settings"

"$quillow" &
pid=$!
caption_shown() {
    kill -0 "$pid" 2>/dev/null || fail "the program ended before showing the deck"
    grep -qxF "Title=Quillow V2.0 - cards.qld" "$settings"
}
await caption_shown || fail "the program did not open the deck"

kill -TERM "$pid"
await eval '! kill -0 "$pid" 2>/dev/null' || fail "the program did not end on SIGTERM"
status=0
wait "$pid" || status=$?
pid=""
((status == 0)) || fail "the program ended with status $status"

"$qld" check "$deck" >/dev/null || fail "the deck does not pass qld check"
"$qld" export "$deck" | cmp -s - "$root/cards.tsv" || fail "the deck's texts changed"
saved=$(python3 "$qld_py" dump "$deck" | python3 -c 'import json, sys; print(json.load(sys.stdin)["header"]["savedTime"])')
((saved > 1)) || fail "the program did not save the header"
echo "deck_opens_in_quillow: passed"
