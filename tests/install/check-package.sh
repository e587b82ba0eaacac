#!/usr/bin/env bash
# The Debian package holds every installed file under /usr and nothing else, the program
# stripped and owned by root; its Depends names the libraries dpkg-shlibdeps found, with their
# versions, Qt's translations and the Qt it was built with; it recommends Qt's Wayland platform;
# lintian finds nothing to say of it, not even informational or pedantic tags (which include
# Debian's hardening and stripping).
#   check-package.sh BUILD EXPECTED VERSION
# EXPECTED lists the installed files relative to the prefix.
set -euo pipefail
build=$1 expected=$2 version=$3
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

(cd "$build" && cpack -G DEB -B "$out" >"$out/cpack.log" 2>&1) || {
    cat "$out/cpack.log"
    fail "cpack could not build the package"
}
deb=$out/zorvik_${version}_$(dpkg --print-architecture).deb
[[ -f $deb ]] || fail "no $(basename "$deb"); cpack made: $(ls "$out")"

diff -u <(sed 's|^|./usr/|' "$expected" | LC_ALL=C sort) \
    <(dpkg-deb --contents "$deb" | grep -v '^d' | awk '{print $6}' | LC_ALL=C sort) ||
    fail "the package's files are not the installed files (- missing, + extra)"
owners=$(dpkg-deb --contents "$deb" | awk '{print $2}' | sort -u)
[[ $owners == root/root ]] || fail "files in the package are owned by $owners"

for field in Package:zorvik Version:$version Section:games; do
    value=$(dpkg-deb --field "$deb" "${field%%:*}")
    [[ $value == "${field#*:}" ]] || fail "${field%%:*} is '$value'"
done
depends=$(dpkg-deb --field "$deb" Depends)
echo "Depends: $depends"
for name in libc6 libstdc++6 libqt6core6 libqt6gui6 libqt6widgets6 libcanberra0 libasound2 \
    libx11-6 libwayland-client0 libxkbcommon0 qt6-translations-l10n; do
    [[ ", $depends," =~ [\ ,]"$name"[\ ,] ]] || fail "Depends lacks $name"
done
recommends=$(dpkg-deb --field "$deb" Recommends)
[[ $recommends == qt6-wayland ]] || fail "Recommends is '$recommends'"
qt=$(dpkg-query -W -f '${Version}' libqt6core6)
abi="qt6-base-abi (= ${qt%%+*})"
[[ ", $depends," == *", $abi,"* ]] || fail "Depends lacks $abi"
# Computed by dpkg-shlibdeps, the Qt libraries come with the least version the program needs.
[[ $depends =~ libqt6widgets6\ \(\>=\ 6\. ]] || fail "Depends has no version for libqt6widgets6"

dpkg-deb --extract "$deb" "$out/root"
program=$out/root/usr/$(grep '/zorvik$' "$expected")
file "$program" | grep -q ', stripped' || fail "the program is not stripped"
# lintian looks for the other hardening flags, but not for this one.
[[ $(nm -D "$program") == *" U __stack_chk_fail@"* ]] || fail "the program has no stack protector"

# Tags come on stdout; stderr holds lintian's remarks on itself, such as on running as root.
status=0
tags=$(lintian -I --pedantic "$deb" 2>"$out/lintian.err") || status=$?
[[ $status -eq 0 && -z $tags ]] ||
    fail "lintian -I --pedantic, status $status: $tags $(<"$out/lintian.err")"
