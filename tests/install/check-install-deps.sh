#!/usr/bin/env bash
# scripts/install-deps.sh with faked id, dpkg-query, sudo and apt-get: without root and without
# a sudo that works it names the command to run as root and fails, installing nothing; with
# sudo or as root it installs what is missing; with nothing missing it does nothing. The game
# alone needs none of the tests' packages; --test adds them.
#   check-install-deps.sh SOURCE
set -euo pipefail
script=$1/scripts/install-deps.sh
fake=$(mktemp -d)
trap 'rm -rf "$fake"' EXIT

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# fake NAME BODY: a command on the fake PATH.
fake() {
    printf '#!/bin/bash\n%s\n' "$2" >"$fake/bin/$1"
    chmod +x "$fake/bin/$1"
}

# run UID STATUS [SUDO [ARG]...]: runs the script with ARGs as user UID, with every package in
# dpkg-query's STATUS; SUDO is "none", "refuses" or "works". Sets rc, err and calls (what apt-get
# was asked).
run() {
    rm -rf "${fake:?}/bin" "$fake/calls"
    mkdir "$fake/bin"
    touch "$fake/calls"
    fake id "[[ \$1 == -u ]] && echo $1"
    fake dpkg-query "echo -n '$2'"
    fake apt-get "echo \"\${SUDO_USER:-root}: apt-get \$*\" >>'$fake/calls'"
    case ${3-none} in
        refuses) fake sudo "echo 'user is not in the sudoers file.' >&2; exit 1" ;;
        works) fake sudo "SUDO_USER=player \"\$@\"" ;;
    esac
    rc=0
    err=$(env -i PATH="$fake/bin" /bin/bash "$script" "${@:4}" 2>&1 >/dev/null) || rc=$?
    calls=$(<"$fake/calls")
}

for sudo in none refuses; do
    run 1000 "" "$sudo"
    [[ $rc -eq 1 ]] || fail "without root, sudo $sudo: exit status $rc"
    [[ $err == *"As root, run:"*"apt-get install --no-install-recommends cmake make g++ "* ]] ||
        fail "without root, sudo $sudo: the message names no apt-get command: $err"
    [[ -z $calls ]] || fail "without root, sudo $sudo: apt-get ran: $calls"
done

run 1000 "" works
[[ $rc -eq 0 && $calls == *"player: apt-get install -y -qq --no-install-recommends cmake "* ]] ||
    fail "with sudo: exit status $rc, apt-get calls: $calls"

run 0 ""
[[ $rc -eq 0 && $calls == *"root: apt-get install"* ]] ||
    fail "as root: exit status $rc, apt-get calls: $calls"
for package in libgtest-dev lintian xvfb; do
    [[ " $calls " != *" $package "* ]] || fail "the game alone installs $package"
done
run 0 "" none --test imagemagick
for package in cmake libgtest-dev lintian xvfb imagemagick; do
    [[ $rc -eq 0 && " $calls " == *" $package "* ]] || fail "--test does not install $package"
done

run 1000 "install ok installed"
[[ $rc -eq 0 && -z $calls && -z $err ]] || fail "nothing missing: exit status $rc, $err $calls"
echo "install-deps.sh: root, sudo, no sudo and nothing missing each behave"
