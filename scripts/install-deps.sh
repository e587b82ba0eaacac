#!/usr/bin/env bash
# Installs the Debian packages Zorvik needs, and nothing when they are all present:
#   install-deps.sh [PACKAGE]...          what building and running the game needs (make run)
#   install-deps.sh --test [PACKAGE]...   that, and what the tests, the package check and the
#                                         benchmarks need (make test)
# PACKAGE names extra packages for a given purpose, e.g. `install-deps.sh xvfb xauth` for
# screenshots. Uses sudo when not run as root; without root and sudo it names the command to run
# as root, and fails.
set -euo pipefail

packages=(
    cmake make g++ pkg-config
    qt6-base-dev libcanberra-dev libasound2-dev libx11-dev
    # The lock keys: XCB's XKB events under X; under Wayland Qt's platform interface, the
    # Wayland client library and libxkbcommon.
    libxcb-xkb-dev qt6-base-private-dev libwayland-dev libxkbcommon-dev
    # Debian's hardening flags (dpkg-buildflags)
    dpkg-dev
    # Qt's own Dutch texts
    qt6-translations-l10n
)
if [[ ${1-} == --test ]]; then
    shift
    packages+=(
        libgtest-dev libgmock-dev libbenchmark-dev
        # The installed program's files and the Debian package: checking the generated images,
        # the desktop entry, the metainfo and the manual page; file and lintian.
        python3 desktop-file-utils appstream groff-base file lintian
        # The colour chooser's and the status bar's tests on an X server under the GTK theme,
        # the latter with GNOME's font
        xvfb xauth qt6-gtk-platformtheme fonts-cantarell
        # xdotool: the command-line tests look for the program's window on the X server
        xdotool
        # Ninja (CI builds with it too)
        ninja-build
    )
fi
packages+=("$@")

missing=()
for p in "${packages[@]}"; do
    status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
    [[ "$status" == "install ok installed" ]] || missing+=("$p")
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

sudo=()
if [[ $(id -u) -ne 0 ]]; then
    if ! command -v sudo >/dev/null || ! sudo true; then
        echo "install-deps.sh: Zorvik needs packages that are not installed, and installing" \
            "them needs root, which sudo does not give you here. As root, run:" >&2
        echo "    apt-get update && apt-get install --no-install-recommends ${missing[*]}" >&2
        exit 1
    fi
    sudo=(sudo)
fi
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -qq
"${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
