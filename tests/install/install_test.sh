#!/bin/bash
# Installs the build into ~/.local of a temporary user, checks the installed files one by one and
# with the desktop's validators, starts the installed program from PREFIX/bin on a virtual X
# display as that user, and checks that it made its default data file in the user's data folder.
#
#   install_test.sh BUILD_DIR SOURCE_DIR APP_ID PROGRAM_DIR BIN_DIR DATA_DIR
#
# PROGRAM_DIR, BIN_DIR and DATA_DIR: the install folders relative to the prefix.
set -euo pipefail

fail() {
    echo "install test: $*" >&2
    exit 1
}

# Runs inside the time limit on a display of its own; $prefix is installed, $root is private.
inside_display() {
    timeout 100 Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp \
        3>"$root/display" 2>"$root/xvfb.log" &
    xvfb=$! pid=""
    trap '[[ -z $pid ]] || kill -KILL "$pid" 2>/dev/null || true; kill -TERM "$xvfb" 2>/dev/null || true' EXIT
    trap 'exit 1' TERM INT
    local tries=0
    until grep -q '^[0-9]' "$root/display" 2>/dev/null; do
        ((++tries < 100)) || { cat "$root/xvfb.log" >&2; fail "no Xvfb"; }
        sleep 0.1
    done
    export DISPLAY=":$(head -n 1 "$root/display")"

    (cd "$root" && exec "$prefix/$bindir/quillow") &
    pid=$!
    # The first start finds no default file: the starter deck becomes it, without a message.
    local window
    window=$(timeout 20 xdotool search --sync --onlyvisible --name '^Quillow V2\.0 - Quillow\.qld$' |
        head -n 1) || fail "no window \"Quillow V2.0 - Quillow.qld\" (no picture?)"
    [[ -n $window ]] || fail "no window"
    ! xdotool search --onlyvisible --name '^Quillow$' >/dev/null || fail "a message at the first start"
    kill -TERM "$pid"
    local status=0
    wait "$pid" || status=$?
    pid=""
    ((status == 0)) || fail "the program ended with status $status"
}

if [[ ${1:-} == --inside-display ]]; then
    prefix=$2 root=$3 bindir=$4
    inside_display
    exit 0
fi

build=$1 source=$2 id=$3 programdir=$4 bindir=$5 datadir=$6
here=$(dirname "$(realpath "$0")")
# A '%' in the prefix, which the desktop entry's Exec key escapes.
root=$(mktemp -d "${TMPDIR:-/tmp}/quillow-install-100%-XXXXXX")
# A user's own install: into ~/.local of a private HOME, whose data folder lies in the prefix too.
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
installed() {
    (cd "$prefix" && find . -path ./share/Brightfen -prune -o \( -type f -o -type l \) -print) |
        sed 's|^\./||' | LC_ALL=C sort
}
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

# The installed program as a user of its own whose data folder does not exist yet.
mkdir -p "$root/home" "$root/tmp" "$root/runtime"
chmod 700 "$root/runtime"
export HOME="$root/home"
export XDG_RUNTIME_DIR="$root/runtime" TMPDIR="$root/tmp"
unset QT_QPA_PLATFORM WAYLAND_DISPLAY DISPLAY XDG_CONFIG_HOME XDG_DATA_HOME
before=$(installed)
timeout -k 5 90 bash "$0" --inside-display "$prefix" "$root" "$bindir"

data="$HOME/.local/share/Brightfen/Quillow/Quillow.qld"
[[ -f $data ]] || fail "no default data file $data"
"$prefix/$bindir/qld" check "$data" >/dev/null || fail "the default data file does not pass qld check"
cmp -s <(tail -c +105 "$data") <(tail -c +105 "$source/res/Quillow.qld") ||
    fail "the default data file does not hold the starter deck's questions"
grep -qxF "File1=$data" "$HOME/.config/Brightfen/Quillow.conf" ||
    fail "File1 is not the default data file: $(cat "$HOME/.config/Brightfen/Quillow.conf")"
[[ $(installed) == "$before" ]] || fail "the program wrote into the installed folders"

bash "$here/autostart_test.sh" "$prefix/$bindir/qld" "$(realpath "$prefix/$programdir/quillow")" "$id"
echo "install test: passed"
