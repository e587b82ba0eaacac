#!/usr/bin/env bash
# Wake-ups of the game beside a minimal Qt window program (menu, toolbar, status bar) under Xvfb
# on the xcb platform. A wake-up is a context switch, voluntary or not, summed over every thread
# of the process (/proc/PID/task/*/status), counted over a stretch of time in three states:
#   minimal   the minimal window, idle
#   idle      zorvik on its start screen, no game
#   ticking   the minimal window repainting a small square once a second: what one fall-timer
#             tick with its repaint costs at the least
#   game      zorvik during a game at the starting fall interval (1000 ms), no key pressed
#
#   scripts/wakeups.sh [BUILD_DIR]      (default build)
# Environment: IDLE_SECONDS (30) and GAME_SECONDS (10) per stretch, REPEAT (3) stretches each,
# ZORVIK (BUILD_DIR/zorvik) the program to measure, VERBOSE=1 for the wake-ups of each thread.
set -euo pipefail
cd "$(dirname "$0")/.."

if [[ ${1:-} != --inner ]]; then
    build=${1:-build}
    command -v xvfb-run >/dev/null && command -v xdotool >/dev/null || {
        echo "needs xvfb-run and xdotool: scripts/install-deps.sh xvfb xauth xdotool" >&2
        exit 1
    }
    exec xvfb-run -a -s '-screen 0 1024x768x24 -noreset' "$0" --inner "$build"
fi

build=$2
zorvik=${ZORVIK:-$build/zorvik}
minimal=$build/bench/startup_minimal
idle_seconds=${IDLE_SECONDS:-30}
game_seconds=${GAME_SECONDS:-10}
repeat=${REPEAT:-3}
[[ -x $zorvik && -x $minimal ]] || { echo "build $zorvik and $minimal first" >&2; exit 1; }
export QT_QPA_PLATFORM=xcb QT_SCALE_FACTOR=1
export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-$(mktemp -d)}
chmod 700 "$XDG_RUNTIME_DIR"
# The program's score log goes beside a copy of it, never beside the build's program.
workdir=$(mktemp -d)
cp "$zorvik" "$workdir/zorvik"
zorvik=$workdir/zorvik

# "TID NAME SWITCHES" for every thread of PID.
threads() {
    local task
    for task in /proc/"$1"/task/*; do
        awk -v tid="${task##*/}" -v name="$(cat "$task/comm" 2>/dev/null)" \
            '/ctxt_switches/ { s += $2 } END { print tid, name, s }' "$task/status" 2>/dev/null || true
    done
}

# measure PID SECONDS LABEL: prints the wake-ups of PID over SECONDS seconds.
measure() {
    local pid=$1 seconds=$2 label=$3 before after
    before=$(threads "$pid")
    sleep "$seconds"
    after=$(threads "$pid")
    awk -v label="$label" -v seconds="$seconds" -v verbose="${VERBOSE:-}" '
        NR == FNR { was[$1] = $3; next }
        { d = $3 - was[$1]; total += d; if (verbose != "" && d > 0) line = line sprintf("  %s %d", $2, d) }
        END { printf "%-8s %6d wake-ups in %3d s = %6.2f/s%s\n", label, total, seconds, total / seconds, line }
    ' <(echo "$before") <(echo "$after")
}

# start PROGRAM ARGS...: starts it, waits for its window, prints "PID WINDOW".
start() {
    "$@" >/dev/null 2>&1 &
    local pid=$! window
    window=$(xdotool search --sync --onlyvisible --pid "$pid" | head -n 1)
    sleep 2  # let start-up work settle
    echo "$pid $window"
}

stop() { kill "$1" 2>/dev/null || true; wait "$1" 2>/dev/null || true; }

for ((i = 0; i < repeat; i++)); do
    read -r pid window < <(start "$minimal" --stay)
    measure "$pid" "$idle_seconds" minimal
    stop "$pid"

    read -r pid window < <(start "$minimal" --stay --tick)
    measure "$pid" "$game_seconds" ticking
    stop "$pid"

    read -r pid window < <(start "$zorvik")
    measure "$pid" "$idle_seconds" idle
    # There is no window manager under Xvfb: give the window the keyboard by hand.
    xdotool windowfocus --sync "$window"
    xdotool key ctrl+f
    sleep 0.5
    measure "$pid" "$game_seconds" game
    stop "$pid"
done
rm -rf "$workdir"
