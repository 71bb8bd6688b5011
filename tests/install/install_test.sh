#!/bin/bash
# Installs the build into a prefix of its own (with a '%', which the desktop entry's Exec key
# escapes), runs the desktop's validators on it, starts the installed program as a user of its
# own (first_start.py) and switches the installed qld's autostart on and off.
#
#   install_test.sh BUILD_DIR SOURCE_DIR APP_ID PROGRAM_DIR BIN_DIR DATA_DIR
set -euo pipefail
build=$1 source=$2 id=$3 programdir=$4 bindir=$5 datadir=$6
root=$(mktemp -d "${TMPDIR:-/tmp}/quillow-install-100%-XXXXXX")
prefix=$root/prefix manifest=$build/install_manifest.txt
# The install rewrites the build's list of installed files: keep the list of a real install.
[[ ! -e $manifest ]] || cp -p "$manifest" "$root/manifest"
trap '[[ -e $root/manifest ]] && cp -p "$root/manifest" "$manifest" || rm -f "$manifest"
      rm -rf "$root"' EXIT
fail() {
    echo "install test: $*" >&2
    exit 1
}

cmake --install "$build" --prefix "$prefix" >"$root/log" 2>&1 || fail "cmake --install: $(<"$root/log")"
for file in quillow qld quillow_sound.so backimg.bmp Quillow.wav manual.txt Quillow.qld installed; do
    [[ -f $prefix/$programdir/$file ]] || fail "$file is not in the program folder"
done
desktop=$prefix/$datadir/applications/$id.desktop
desktop-file-validate "$desktop" || fail "desktop-file-validate refused $id.desktop"
grep -qxF "Exec=\"${prefix//%/%%}/$bindir/quillow\"" "$desktop" || fail "the entry does not start quillow"
appstreamcli validate-tree --no-net "$prefix" >"$root/log" 2>&1 || fail "appstreamcli: $(<"$root/log")"

QUILLOW_EXECUTABLE=$prefix/$bindir/quillow QUILLOW_STARTER=$prefix/$programdir/Quillow.qld \
    PYTHONPATH=$(dirname "$0"):$source/tests/e2e:$source/tests/support PYTHONDONTWRITEBYTECODE=1 \
    timeout -k 5 120 python3 -m unittest first_start || fail "the first start"

export HOME=$root XDG_CONFIG_HOME=$root/config
qld=$prefix/$bindir/qld entry=$root/config/autostart/quillow.desktop
program=$(realpath "$prefix/$programdir/quillow")
[[ $("$qld" autostart on) == "autostart is on: $entry" ]] || fail "autostart on"
desktop-file-validate "$entry" || fail "the autostart entry is not valid"
grep -qxF "Exec=${program//%/%%}" "$entry" || fail "the autostart entry does not start $program"
[[ $("$qld" autostart off) == "autostart is off" && ! -e $entry ]] || fail "autostart off"
echo "install test: passed"
