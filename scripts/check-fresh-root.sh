#!/usr/bin/env bash
# Tries the Debian package as a player on a fresh Debian 12 would: debootstraps a minimal
# bookworm into a folder, installs the package there with dpkg -i and apt-get install -f, plays
# one game of the installed zorvik under Xvfb as an ordinary user, closes the report, looks for
# the record in ~/.local/share/zorvik/zorvik.txt, and removes the package with dpkg -r. The game
# prints nothing on stderr, also where the machine has no sound card and its sounds fail.
# Needs root (debootstrap, chroot, mount) and the network; not run by CI.
#
#   scripts/check-fresh-root.sh DEB [ROOT]
#
# DEB is the package (make package writes build/zorvik_1.0b_<arch>.deb). ROOT is the folder of
# the Debian root, made when missing and reused after (default /var/tmp/zorvik-fresh-root);
# remove it by hand for a really fresh start. The mirror is $MIRROR, http://deb.debian.org/debian
# by default.
set -euo pipefail

deb=$(realpath "${1:?usage: $0 DEB [ROOT]}")
root=${2:-/var/tmp/zorvik-fresh-root}
mirror=${MIRROR:-http://deb.debian.org/debian}
player=player

step() { printf '\n== %s\n' "$*"; }
fail() {
    echo "FAIL: $*" >&2
    exit 1
}
in_root() { chroot "$root" /usr/bin/env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin LANG=C.UTF-8 "$@"; }

[[ $(id -u) -eq 0 ]] || fail "run this as root: debootstrap, chroot and mount need it"
[[ -f $deb ]] || fail "no package $deb: run make package first"

if [[ ! -x $root/usr/bin/apt-get ]]; then
    step "debootstrap a minimal Debian 12 into $root"
    command -v debootstrap >/dev/null || fail "debootstrap is missing: apt-get install debootstrap"
    debootstrap --variant=minbase bookworm "$root" "$mirror"
fi

mounts=()
cleanup() {
    for ((i = ${#mounts[@]} - 1; i >= 0; i--)); do umount -l "${mounts[i]}" || true; done
}
trap cleanup EXIT
for fs in proc sys dev dev/pts; do
    mountpoint -q "$root/$fs" && continue
    case $fs in
        proc) mount -t proc proc "$root/proc" ;;
        sys) mount -t sysfs sys "$root/sys" ;;
        *) mount --bind "/$fs" "$root/$fs" ;;
    esac
    mounts+=("$root/$fs")
done
cp /etc/resolv.conf "$root/etc/resolv.conf"

step "install $(basename "$deb") with dpkg -i, then apt-get install -f"
in_root apt-get update -qq
cp "$deb" "$root/tmp/zorvik.deb"
if in_root dpkg -i /tmp/zorvik.deb; then
    echo "dpkg -i found every dependency installed already"
else
    echo "(dpkg -i leaves zorvik unconfigured until its dependencies are there)"
fi
in_root env DEBIAN_FRONTEND=noninteractive apt-get install -f -y -qq --no-install-recommends
[[ $(in_root dpkg-query -W -f='${Status}' zorvik) == "install ok installed" ]] ||
    fail "zorvik is not installed after apt-get install -f"
in_root dpkg-query -W -f='Installed ${Package} ${Version}: ${Depends}\n' zorvik

step "tools to play it: Xvfb, xauth and xdotool (the player's test kit, not the package's)"
in_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends \
    xvfb xauth xdotool

step "an ordinary user, $player, finds zorvik on the PATH and in the menu"
in_root id "$player" >/dev/null 2>&1 || in_root useradd --create-home --shell /bin/bash "$player"
in_root rm -rf "/home/$player/.local/share/zorvik"
program=$(in_root su --login "$player" -c 'command -v zorvik') || fail "zorvik is not on the PATH"
echo "zorvik is $program"
[[ -f $root/usr/share/applications/nl.zorvik.Zorvik.desktop ]] || fail "no desktop entry"
[[ -f $root/usr/share/icons/hicolor/256x256/apps/nl.zorvik.Zorvik.png ]] || fail "no icon"

step "play one game as $player under Xvfb: start, drop a few pieces, stop with Esc, close the report"
cat >"$root/tmp/play-one-game.sh" <<'EOF'
#!/bin/bash
# Runs inside xvfb-run as the player.
set -euo pipefail
export QT_QPA_PLATFORM=xcb
export XDG_RUNTIME_DIR=$(mktemp -d)
zorvik 2>"$XDG_RUNTIME_DIR/stderr" &
pid=$!
window=$(xdotool search --sync --onlyvisible --name Zorvik | head -n 1)
sleep 1
xdotool windowfocus --sync "$window"
xdotool key ctrl+f
sleep 1
for key in Left space Right Right space Up space; do
    xdotool key "$key"
    sleep 0.4
done
xdotool key Escape
# The report: the one other window that shows.
for _ in $(seq 50); do
    report=$(xdotool search --onlyvisible --name . | grep -vx "$window" | head -n 1 || true)
    [[ -n $report ]] && break
    sleep 0.2
done
[[ -n $report ]] || { echo "no report appeared" >&2; kill "$pid"; exit 1; }
echo "report: $(xdotool getwindowname "$report")"
xdotool windowfocus --sync "$report"
xdotool key Return
sleep 1
xdotool windowfocus --sync "$window"
kill "$pid"
wait "$pid" || true
if [[ -s $XDG_RUNTIME_DIR/stderr ]]; then
    echo "zorvik printed on stderr:" >&2
    cat "$XDG_RUNTIME_DIR/stderr" >&2
    exit 1
fi
echo "zorvik printed nothing on stderr"
EOF
chmod 755 "$root/tmp/play-one-game.sh"
in_root su --login "$player" -c \
    "xvfb-run -a -s '-screen 0 1024x768x24 -noreset' /tmp/play-one-game.sh"

step "the record in ~/.local/share/zorvik/zorvik.txt"
log=$root/home/$player/.local/share/zorvik/zorvik.txt
result=0
if [[ -f $log ]]; then
    stat -c '%A %U %n' "$(dirname "$log")" "$log"
    cat "$log"
else
    echo "FAIL: no score log at ~$player/.local/share/zorvik/zorvik.txt" >&2
    ls -la "$(dirname "$program" | sed "s|^|$root|")"/zorvik.txt 2>/dev/null || true
    result=1
fi

step "dpkg -r zorvik removes the program, its entry and its icons"
in_root dpkg -r zorvik
for path in usr/games/zorvik usr/share/applications/nl.zorvik.Zorvik.desktop \
    usr/share/icons/hicolor/256x256/apps/nl.zorvik.Zorvik.png usr/share/man/man6/zorvik.6.gz; do
    [[ ! -e $root/$path ]] || fail "dpkg -r left /$path"
done
echo "removed; the player's own score log stays in the home folder"
exit $result
