#!/usr/bin/env bash
# Makes docs/screenshot.png from the real program: starts it under Xvfb, starts a game with
# Ctrl+F, plays a few keys and grabs the window while the game runs.
#
#   scripts/screenshot.sh [BUILD_DIR]      (default build)
set -euo pipefail
cd "$(dirname "$0")/.."

if [[ ${1:-} != --inner ]]; then
    build=${1:-build}
    scripts/install-deps.sh xvfb xauth xdotool imagemagick
    [[ -x $build/zorvik ]] || make BUILD="$build" game
    mkdir -p docs
    exec xvfb-run -a -s '-screen 0 1024x768x24 -noreset' "$0" --inner "$build"
fi

build=$2
export CANBERRA_DRIVER=none QT_SCALE_FACTOR=1 QT_QPA_PLATFORM=xcb
export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-$(mktemp -d)}
chmod 700 "$XDG_RUNTIME_DIR"
"$build/zorvik" &
pid=$!
trap 'kill $pid 2>/dev/null || true' EXIT
window=$(xdotool search --sync --onlyvisible --name Zorvik | head -n 1)
sleep 0.5
# There is no window manager under Xvfb: give the window the keyboard by hand.
xdotool windowfocus --sync "$window"

play() {  # play KEY... : each key, then a short pause
    for key in "$@"; do
        xdotool key "$key"
        sleep 0.15
    done
}
xdotool key ctrl+f
sleep 1.2
play Left Left Left Up space
sleep 1.2
play Right Right Right End space
sleep 1.2
play Up Left space
sleep 1.2
play Right Right Up space
sleep 2.2
play Down Down
import -window "$window" docs/screenshot.png
echo "docs/screenshot.png written"
