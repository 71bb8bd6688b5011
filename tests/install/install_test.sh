#!/bin/bash
# Installs the build into ~/.local of a temporary user, checks the installed files one by one and
# with the desktop's validators, starts the installed program from PREFIX/bin on a display of its
# own (first_start.py), and tries the installed qld autostart.
#
#   install_test.sh BUILD_DIR SOURCE_DIR APP_ID PROGRAM_DIR BIN_DIR DATA_DIR
#
# PROGRAM_DIR, BIN_DIR and DATA_DIR: the install folders relative to the prefix.
set -euo pipefail

fail() {
    echo "install test: $*" >&2
    exit 1
}

build=$1 source=$2 id=$3 programdir=$4 bindir=$5 datadir=$6
here=$(dirname "$(realpath "$0")")
# A '%' in the prefix, which the desktop entry's Exec key escapes.
root=$(mktemp -d "${TMPDIR:-/tmp}/quillow-install-100%-XXXXXX")
# A user's own install: into ~/.local of a private HOME.
prefix="$root/home/.local"
# The install writes its list of files into the build folder: keep the list of a real install.
manifest="$build/install_manifest.txt"
[[ ! -e $manifest ]] || cp -p "$manifest" "$root/manifest"
restore() {
    if [[ -e $root/manifest ]]; then cp -p "$root/manifest" "$manifest"; else rm -f "$manifest"; fi
    rm -rf "$root"
}
trap restore EXIT

timeout 60 cmake --install "$build" --prefix "$prefix" >"$root/install.log" 2>&1 ||
    { cat "$root/install.log" >&2; fail "cmake --install failed"; }

# Every installed file, and nothing else.
icons=(16 32 48 64 128 256)
expected=(
    "$bindir/qld" "$bindir/quillow"
    "$programdir/Quillow.qld" "$programdir/Quillow.wav" "$programdir/backimg.bmp"
    "$programdir/installed"
    "$programdir/manual.txt" "$programdir/qld" "$programdir/quillow" "$programdir/quillow_sound.so"
    "$datadir/applications/$id.desktop" "$datadir/metainfo/$id.metainfo.xml"
)
for size in "${icons[@]}"; do
    expected+=("$datadir/icons/hicolor/${size}x$size/apps/$id.png")
done
installed() { (cd "$prefix" && find . ! -type d) | sed 's|^\./||' | LC_ALL=C sort; }
diff <(printf '%s\n' "${expected[@]}" | LC_ALL=C sort) <(installed) ||
    fail "the installed files differ from the expected ones (< expected, > installed)"

for program in quillow qld; do
    link="$prefix/$bindir/$program"
    [[ -L $link && $(readlink "$link") != /* ]] || fail "$bindir/$program is not a relative link"
    [[ $(realpath "$link") == "$(realpath "$prefix/$programdir/$program")" ]] ||
        fail "$bindir/$program does not lead to $programdir/$program"
    [[ -x $prefix/$programdir/$program && ! -L $prefix/$programdir/$program ]] ||
        fail "$programdir/$program is not an executable file"
    ! readelf -d "$prefix/$programdir/$program" | grep -q 'R.*PATH' ||
        fail "$programdir/$program has a run path"
done
for file in backimg.bmp Quillow.wav manual.txt Quillow.qld; do
    cmp -s "$source/res/$file" "$prefix/$programdir/$file" || fail "$programdir/$file differs"
done
for size in "${icons[@]}"; do
    icon="$prefix/$datadir/icons/hicolor/${size}x$size/apps/$id.png"
    [[ $(identify -format '%m %wx%h' "$icon") == "PNG ${size}x$size" ]] ||
        fail "the icon for ${size}x$size is $(identify -format '%m %wx%h' "$icon")"
done

desktop="$prefix/$datadir/applications/$id.desktop"
desktop-file-validate "$desktop" || fail "desktop-file-validate refused $id.desktop"
grep -qxF "Exec=\"${prefix//%/%%}/$bindir/quillow\"" "$desktop" || fail "the desktop entry does not start quillow"
grep -qx "Icon=$id" "$desktop" || fail "the desktop entry's icon is not $id"
grep -qx 'Categories=\(.*;\)\?Education;.*' "$desktop" || fail "the desktop entry is not in Education"
metainfo="$prefix/$datadir/metainfo/$id.metainfo.xml"
appstreamcli validate --no-net "$metainfo" >"$root/appstream.log" 2>&1 ||
    { cat "$root/appstream.log" >&2; fail "appstreamcli refused the metainfo"; }
appstreamcli validate-tree --no-net "$prefix" >"$root/appstream.log" 2>&1 ||
    { cat "$root/appstream.log" >&2; fail "appstreamcli refused the installed tree"; }
grep -qF "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$metainfo" ||
    fail "the metainfo does not launch $id.desktop"

# The installed program started by a user of its own, on a display of its own.
before=$(installed)
QUILLOW_EXECUTABLE="$prefix/$bindir/quillow" QUILLOW_STARTER="$prefix/$programdir/Quillow.qld" \
    PYTHONPATH="$here:$source/tests/e2e:$source/tests/support" PYTHONDONTWRITEBYTECODE=1 \
    timeout -k 5 120 python3 -m unittest first_start || fail "the first start failed"
[[ $(installed) == "$before" ]] || fail "the program wrote into the installed folders"

# qld autostart writes, reports and removes the XDG autostart entry of a private user, and the
# entry starts the program beside qld; a folder with a space is quoted in its Exec key.
qld="$prefix/$bindir/qld" program=$(realpath "$prefix/$programdir/quillow")
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
desktop-file-validate "$entry" || fail "autostart: the entry is not valid"
grep -qxF "Exec=${program//%/%%}" "$entry" || fail "autostart: the entry does not start $program: $(grep Exec "$entry")"
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
desktop-file-validate "$entry" || fail "autostart: the entry with a quoted path is not valid"
rm "$spaced/quillow"
run on
[[ $status == 1 ]] || fail "on without a program beside qld ended with $status, not 1"
echo "install test: passed"
