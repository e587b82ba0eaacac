#!/usr/bin/env bash
# cmake --install puts every file of the installed program in place, under --prefix and under
# DESTDIR, and nothing else; the installed program runs and gives the version that the manual
# page, the metainfo and the changelog give; and the desktop's own tools accept the installed tree.
#   check-install.sh BUILD SOURCE EXPECTED VERSION
# EXPECTED lists the installed files relative to the prefix.
set -euo pipefail
build=$1 source=$2 expected=$3 version=$4
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# The files below a folder, relative to it, sorted.
files_below() {
    (cd "$1" && find . ! -type d | sed 's|^\./||' | LC_ALL=C sort)
}

check_files() {
    diff -u <(LC_ALL=C sort "$expected") <(files_below "$1") ||
        fail "the files installed under $2 are not the expected ones (- missing, + extra)"
}

cmake --install "$build" --prefix "$stage/prefix" >/dev/null
check_files "$stage/prefix" "--prefix"
DESTDIR=$stage/destdir cmake --install "$build" --prefix /usr >/dev/null
check_files "$stage/destdir/usr" "DESTDIR with --prefix /usr"

usr=$stage/destdir/usr
program=$(grep '/zorvik$' "$expected")
said=$("$usr/$program" --version) || fail "$program --version failed"
[[ $said == "zorvik $version" ]] || fail "$program --version said: $said"
# The first line that names a version in each: the manual page's title, the newest release in
# the metainfo, the newest entry in the changelog.
first() { grep -m 1 -o "$1" || true; }
share=$usr/share
[[ $(zcat "$share/man/man6/zorvik.6.gz" | first '"Zorvik [^"]*"') == "\"Zorvik $version\"" ]] ||
    fail "the manual page's title names another version"
[[ $(first '<release version="[^"]*"' <"$share/metainfo/nl.zorvik.Zorvik.metainfo.xml") == \
    "<release version=\"$version\"" ]] || fail "the metainfo's newest release is not $version"
[[ $(zcat "$share/doc/zorvik/changelog.gz" | first '^zorvik ([^)]*)') == "zorvik ($version)" ]] ||
    fail "the changelog's newest entry is not $version"

# The installed files are the sources' own, the compressed ones once unpacked.
while read -r path; do
    case $path in
        */applications/* | */metainfo/*) from=res/${path##*/} ;;
        */icons/*) from=res/icons/${path#*/icons/} ;;
        */man6/zorvik.6.gz) from=res/zorvik.6 ;;
        */doc/zorvik/*) from=packaging/${path##*/} ;;
        *) continue ;;
    esac
    if [[ $path == *.gz ]]; then
        zcat "$usr/$path" | cmp -s - "$source/${from%.gz}" || fail "$path is not $from"
    else
        cmp -s "$usr/$path" "$source/$from" || fail "$path is not $from"
    fi
done <"$expected"

# The desktop entry, and the metainfo with the entry and icon it names, as the desktop sees them.
if ! out=$(desktop-file-validate "$usr/share/applications/nl.zorvik.Zorvik.desktop" 2>&1) ||
    [[ -n $out ]]; then
    fail "desktop-file-validate: $out"
fi
appstreamcli validate-tree --no-net --explain --strict "$stage/destdir" ||
    fail "appstreamcli validate-tree found issues in the installed tree"
echo "cmake --install puts $(wc -l <"$expected") files in place"
