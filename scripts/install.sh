#!/usr/bin/env bash
# What `make install` and `make uninstall` do:
#   install.sh install BUILD PREFIX LIST   installs the program built in BUILD under PREFIX
#                                          (below $DESTDIR when set), stripped, and keeps the
#                                          list of the files it wrote, and of the folders it
#                                          made for them, in the file LIST
#   install.sh uninstall LIST              removes exactly the files on that list, and the
#                                          folders that are empty then
# Either goes through sudo when you are not root and cannot write where the files go.
set -euo pipefail

# Prints "sudo" when we may not write into the folder, or into the nearest one above it that
# exists.
sudo_for() {
    local dir=$1
    while [[ ! -e $dir ]]; do dir=$(dirname "$dir"); done
    [[ $(id -u) -eq 0 || -w $dir ]] || echo sudo
}

case ${1-} in
install)
    build=$2 prefix=$3 list=$4
    as_root=$(sudo_for "${DESTDIR-}$prefix")
    # The folders this install makes, so that uninstall can take them away again: those that do
    # not exist yet above the files of a trial install into a scratch folder.
    trial=$(mktemp -d)
    trap 'rm -rf "$trial"' EXIT
    DESTDIR=$trial cmake --install "$build" --prefix "$prefix" >/dev/null
    made=()
    while read -r dir; do
        while [[ ! -e ${DESTDIR-}$dir ]]; do
            made+=("${DESTDIR-}${dir%/}/")
            [[ $dir != / ]] || break
            dir=$(dirname "$dir")
        done
    done < <(xargs -d '\n' dirname <"$build/install_manifest.txt" | sort -u)
    # sudo clears the environment: hand DESTDIR on by hand.
    $as_root env DESTDIR="${DESTDIR-}" cmake --install "$build" --prefix "$prefix" --strip
    # CMake's manifest leaves DESTDIR out; the list holds the paths the files really have, then
    # the folders made for them, each ending in a slash.
    mapfile -t written <"$build/install_manifest.txt"
    printf '%s\n' "${written[@]/#/${DESTDIR-}}" >"$list"
    [[ ${#made[@]} -eq 0 ]] || printf '%s\n' "${made[@]}" | sort -u >>"$list"
    # The manifest of an install through sudo belongs to root; the next install may be your own.
    $as_root rm -f "$build/install_manifest.txt"
    echo "Installed in ${DESTDIR-}$prefix; make uninstall removes it again."
    ;;
uninstall)
    list=$2
    if [[ ! -f $list ]]; then
        echo "make uninstall: no $list: nothing was installed from this build folder." >&2
        exit 1
    fi
    mapfile -t files < <(grep -v '/$' "$list")
    # Deepest first, so that a folder is empty by the time its parent's turn comes.
    mapfile -t made < <(grep '/$' "$list" | sort -r)
    as_root=
    for path in "${files[@]%/*}" "${made[@]}"; do
        if [[ -n $(sudo_for "$path") ]]; then as_root=sudo; fi
    done
    $as_root rm -f -- "${files[@]}"
    # A folder that install made goes too, unless something else has been put in it since.
    [[ ${#made[@]} -eq 0 ]] || $as_root rmdir --ignore-fail-on-non-empty -- "${made[@]}"
    rm -f "$list"
    echo "Removed the ${#files[@]} files and ${#made[@]} folders that make install had made."
    ;;
*)
    echo "usage: $0 install BUILD PREFIX LIST | uninstall LIST" >&2
    exit 2
    ;;
esac
