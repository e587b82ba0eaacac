#!/usr/bin/env bash
# make install puts every file in place under PREFIX, or below DESTDIR, and make uninstall takes
# exactly those away again, with the folders install made for them: what was there before stays.
# make clean removes a build folder but for its score log.
#   check-make-install.sh SOURCE BUILD EXPECTED
set -euo pipefail
source=$1 build=$2 expected=$3
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
prefix=$stage/prefix
list=$stage/installed-files.txt

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# Another program's files in the same folders.
mkdir -p "$prefix/share/applications" "$prefix/share/doc/other"
touch "$prefix/share/applications/other.desktop" "$prefix/share/doc/other/copyright"

# -o build: the tree is built already, and this test must not build it again.
make -C "$source" -o build install BUILD="$build" PREFIX="$prefix" INSTALLED="$list" >/dev/null
while read -r path; do
    [[ -f $prefix/$path ]] || fail "make install did not write $path"
done <"$expected"
diff <(grep -v '/$' "$list" | sed "s|^$prefix/||" | LC_ALL=C sort) <(LC_ALL=C sort "$expected") ||
    fail "the list that make uninstall reads is not what make install wrote"

make -C "$source" uninstall INSTALLED="$list" >/dev/null
left=$(cd "$prefix" && find . ! -type d | LC_ALL=C sort | tr '\n' ' ')
[[ $left == "./share/applications/other.desktop ./share/doc/other/copyright " ]] ||
    fail "after make uninstall these files are left: $left"
folders=$(cd "$prefix" && find . -type d | LC_ALL=C sort | tr '\n' ' ')
[[ $folders == ". ./share ./share/applications ./share/doc ./share/doc/other " ]] ||
    fail "after make uninstall these folders are left: $folders"
[[ ! -e $list ]] || fail "make uninstall kept its list"

# Below DESTDIR the list names the files where they are, and uninstall removes them there.
destdir=$stage/destdir
make -C "$source" -o build install BUILD="$build" PREFIX=/usr DESTDIR="$destdir" \
    INSTALLED="$list" >/dev/null
diff <(grep -v '/$' "$list" | LC_ALL=C sort) <(sed "s|^|$destdir/usr/|" "$expected" | LC_ALL=C sort) ||
    fail "the list of an install with DESTDIR does not name the files below DESTDIR"
make -C "$source" uninstall INSTALLED="$list" >/dev/null
[[ ! -e $destdir ]] || fail "after make uninstall these are left: $(find "$destdir")"

# Nothing installed: a clear message and a failure, not a silent success.
if out=$(make -C "$source" uninstall INSTALLED="$list" 2>&1); then
    fail "make uninstall without an install succeeded"
fi
[[ $out == *"nothing was installed"* ]] || fail "make uninstall without an install said: $out"
# The score log beside the program is the history of the games played with make run.
scratch=$stage/build
mkdir -p "$scratch/src"
touch "$scratch/CMakeCache.txt" "$scratch/src/main.o"
echo record >"$scratch/zorvik.txt"
make -C "$source" clean BUILD="$scratch" >/dev/null
[[ $(ls -A "$scratch" 2>/dev/null) == zorvik.txt && $(<"$scratch/zorvik.txt") == record ]] ||
    fail "make clean did not keep the score log alone: $(ls -A "$scratch" 2>&1)"
rm "$scratch/zorvik.txt"
make -C "$source" clean BUILD="$scratch" >/dev/null
[[ ! -e $scratch ]] || fail "make clean left a build folder without a score log"
echo "make install wrote $(wc -l <"$expected") files and make uninstall removed them"
