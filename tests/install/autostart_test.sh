#!/bin/bash
# qld autostart writes, reports and removes the XDG autostart entry of a private user, and the
# entry starts the program beside the real qld; a folder with a space is quoted in its Exec key.
#
#   autostart_test.sh QLD PROGRAM APP_ID
#
# PROGRAM: the real path of the program that the entry must start.
set -euo pipefail

qld=$1 program=$2 id=$3

fail() {
    echo "autostart test: $*" >&2
    exit 1
}

root=$(mktemp -d "${TMPDIR:-/tmp}/quillow-autostart-XXXXXX")
trap 'rm -rf "$root"' EXIT
export HOME="$root/home" XDG_CONFIG_HOME="$root/config"
mkdir -p "$HOME"
entry="$XDG_CONFIG_HOME/autostart/quillow.desktop"

# WORDS... : runs qld within 10 s, keeping its output in $out and its status in $status.
run() {
    status=0
    out=$(timeout 10 "$qld" autostart "$@" 2>&1) || status=$?
}

run
[[ $status == 0 && $out == "autostart is off" ]] || fail "before: $status '$out'"

run on
[[ $status == 0 && $out == "autostart is on: $entry" ]] || fail "on: $status '$out'"
[[ -f $entry ]] || fail "no entry $entry"
desktop-file-validate "$entry" || fail "the entry is not valid"
grep -qxF "Exec=${program//%/%%}" "$entry" || fail "the entry does not start $program: $(grep Exec "$entry")"
run
[[ $out == "autostart is on: $entry" ]] || fail "status after on: '$out'"
run on
[[ $status == 0 && $(grep -c '^Exec=' "$entry") == 1 ]] || fail "a second on"

# Switched off by the desktop's own settings, the entry does not count.
echo "Hidden=true" >>"$entry"
run
[[ $out == "autostart is off" ]] || fail "a hidden entry counts as on"

run off
[[ $status == 0 && $out == "autostart is off" && ! -e $entry ]] || fail "off: $status '$out'"
run off
[[ $status == 0 && $out == "autostart is off" ]] || fail "off when off: $status '$out'"

# Without XDG_CONFIG_HOME the entry is in ~/.config.
(
    unset XDG_CONFIG_HOME
    run on
    [[ $status == 0 && -f $HOME/.config/autostart/quillow.desktop ]] || fail "no entry in ~/.config"
)

for words in "maybe" "on off" "--now"; do
    # shellcheck disable=SC2086
    run $words
    [[ $status == 2 ]] || fail "'qld autostart $words' ended with $status, not 2"
done
run --help
[[ $status == 0 && $out == "Usage: qld autostart"* && $out == *"/autostart/quillow.desktop "* ]] ||
    fail "--help: $status '$out'"

# A program folder whose path needs quoting: the copy of qld starts the program beside it.
spaced="$root/my apps"
mkdir "$spaced"
cp "$(realpath "$qld")" "$spaced/qld"
cp "$program" "$spaced/quillow"
qld="$spaced/qld"
run on
[[ $status == 0 ]] || fail "on from '$spaced': $status '$out'"
grep -qxF "Exec=\"${spaced//%/%%}/quillow\"" "$entry" || fail "unquoted: $(grep Exec "$entry")"
desktop-file-validate "$entry" || fail "the entry with a quoted path is not valid"
rm "$spaced/quillow"
run on
[[ $status == 1 ]] || fail "on without a program beside qld ended with $status, not 1"
echo "autostart test: passed"
