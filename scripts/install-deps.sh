#!/usr/bin/env bash
# Installs the Debian packages that building, testing and running Zorvik need, and nothing when
# they are all present. Uses sudo when not run as root.
set -euo pipefail

packages=(
    cmake make g++ pkg-config
    qt6-base-dev libcanberra-dev libx11-dev
    libgtest-dev libgmock-dev libbenchmark-dev
    # Ninja (CI builds with it too), XCB to probe the display, Xvfb for tests on a real X server.
    ninja-build libxcb1-dev xvfb
)
# Extra packages for a given purpose, e.g. `install-deps.sh xvfb xauth` for screenshots.
packages+=("$@")

missing=()
for p in "${packages[@]}"; do
    status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
    [[ "$status" == "install ok installed" ]] || missing+=("$p")
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

echo "Installing: ${missing[*]}"
sudo=()
[[ $(id -u) -eq 0 ]] || sudo=(sudo)
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -qq
"${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
