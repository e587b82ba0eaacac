#!/usr/bin/env bash
# Start-up of the game beside a minimal Qt window program (menu, toolbar, status bar): the time
# from exec to the first painted frame (and exit), and the peak resident memory, as medians of
# RUNS alternating runs, on the offscreen platform and, where xvfb-run exists, under Xvfb (xcb).
#
#   scripts/bench-startup.sh [BUILD_DIR]      (default build; RUNS=20)
set -euo pipefail
cd "$(dirname "$0")/.."
inner=
if [[ ${1:-} == --inner ]]; then
    inner=yes
    shift
fi
build=${1:-build}
runs=${RUNS:-20}
game=$build/bench/startup_zorvik
minimal=$build/bench/startup_minimal
[[ -x $game && -x $minimal ]] || { echo "build $game and $minimal first" >&2; exit 1; }
export CANBERRA_DRIVER=none QT_SCALE_FACTOR=1
if [[ -z ${XDG_RUNTIME_DIR:-} ]]; then
    export XDG_RUNTIME_DIR=/tmp/zorvik-bench-$(id -u)
    mkdir -p -m 700 "$XDG_RUNTIME_DIR"
fi

# One run: prints "<microseconds> <peak KiB>".
measure() {
    local start end out
    start=$(date +%s%N)
    out=$(QT_QPA_PLATFORM=$1 "$2" 2>/dev/null)
    end=$(date +%s%N)
    echo "$(((end - start) / 1000)) ${out##* }"
}

median() { sort -n | awk '{ a[NR] = $1 } END { print (NR % 2) ? a[(NR + 1) / 2] : (a[NR / 2] + a[NR / 2 + 1]) / 2 }'; }

# All runs on one platform, then the table lines.
bench_platform() {
    local platform=$1 tmp
    tmp=$(mktemp -d)
    measure "$platform" "$minimal" >/dev/null  # warm the file cache
    measure "$platform" "$game" >/dev/null
    for ((i = 0; i < runs; i++)); do
        measure "$platform" "$minimal" >>"$tmp/minimal"
        measure "$platform" "$game" >>"$tmp/game"
    done
    local mt gt mr gr
    mt=$(cut -d' ' -f1 "$tmp/minimal" | median)
    gt=$(cut -d' ' -f1 "$tmp/game" | median)
    mr=$(cut -d' ' -f2 "$tmp/minimal" | median)
    gr=$(cut -d' ' -f2 "$tmp/game" | median)
    awk -v p="$platform" -v mt="$mt" -v gt="$gt" -v mr="$mr" -v gr="$gr" 'BEGIN {
        printf "%-9s exec->first paint: minimal %6.1f ms, zorvik %6.1f ms, ratio %.2f\n", p, mt / 1000, gt / 1000, gt / mt
        printf "%-9s peak RSS:          minimal %6.1f MB, zorvik %6.1f MB, ratio %.2f\n", p, mr / 1024, gr / 1024, gr / mr
    }'
    rm -rf "$tmp"
}

if [[ -n $inner ]]; then
    bench_platform xcb
    exit 0
fi

echo "median of $runs runs each"
bench_platform offscreen
if command -v xvfb-run >/dev/null; then
    RUNS=$runs xvfb-run -a -s '-screen 0 1024x768x24 -noreset' "$0" --inner "$build"
else
    echo "xcb       skipped: xvfb-run is not installed (scripts/install-deps.sh xvfb xauth)"
fi
