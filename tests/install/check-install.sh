#!/usr/bin/env bash
# Installs the build into a temporary DESTDIR and checks what a desktop sees there: the desktop
# entry and the AppStream metainfo validate, every man page renders, and the installed programs
# run from their installed paths with the source and build trees hidden (a private mount
# namespace lays empty folders over them), so they cannot lean on files of either.
#   check-install.sh CMAKE BUILD_DIR SOURCE_DIR
set -euo pipefail
cmake=$1 build=$2 source=$3
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
DESTDIR="$root/dest" "$cmake" --install "$build" --prefix /usr >/dev/null
usr="$root/dest/usr"

# Both validators pass what they only remark on: any remark at all fails here.
remarks=$(desktop-file-validate "$usr"/share/applications/*.desktop 2>&1 &&
    appstreamcli validate --no-net --pedantic "$usr"/share/metainfo/*.metainfo.xml |
    grep -v '^✔ Validation was successful.$' || true)
[ -z "$remarks" ] || { echo "$remarks"; exit 1; }
for page in "$usr"/share/man/man1/*.1.gz; do
    warnings=$(MANPAGER=cat MANWIDTH=80 man --warnings -l "$page" 2>&1 >/dev/null)
    [ -z "$warnings" ] || { echo "$page: $warnings"; exit 1; }
done
[ "$(ls "$usr"/share/man/man1)" = "$(printf '%s\n' ctrlwave-stomplet.1.gz stomplet-sim.1.gz stomplet.1.gz)" ]

run_installed='
    set -e
    stomplet --demo status | grep -qx "STATE: Interface Mode"
    ctrlwave-stomplet --version | grep -qx "ctrlwave-stomplet [0-9.]*"
    QT_QPA_PLATFORM=offscreen ctrlwave-stomplet --demo --screenshot "$HOME/shot.png" >/dev/null
    [ -s "$HOME/shot.png" ]'
hide='for dir in "$1" "$0"; do mount -t tmpfs none "$dir"; done'
mkdir "$root/home"
export PATH="$usr/bin:/usr/bin:/bin" HOME="$root/home" XDG_DATA_HOME="$root/home"
if unshare --map-root-user --mount true 2>/dev/null; then
    unshare --map-root-user --mount sh -c "$hide; $run_installed" "$source" "$build"
else
    echo "no private mount namespace here: the installed programs run beside the build tree"
    sh -c "$run_installed"
fi
