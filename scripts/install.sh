#!/usr/bin/env bash
# What `make install` and `make uninstall` do:
#   install.sh install BUILD PREFIX LIST   installs the program built in BUILD under PREFIX
#                                          (below $DESTDIR when set), stripped, and keeps the
#                                          list of the files it wrote in the file LIST
#   install.sh uninstall LIST              removes exactly the files on that list
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
    # sudo clears the environment: hand DESTDIR on by hand.
    $as_root env DESTDIR="${DESTDIR-}" cmake --install "$build" --prefix "$prefix" --strip
    # CMake's manifest leaves DESTDIR out; the list holds the paths the files really have.
    mapfile -t written <"$build/install_manifest.txt"
    printf '%s\n' "${written[@]/#/${DESTDIR-}}" >"$list"
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
    mapfile -t files <"$list"
    mapfile -t folders < <(printf '%s\n' "${files[@]%/*}" | sort -u)
    as_root=
    for folder in "${folders[@]}"; do
        if [[ -n $(sudo_for "$folder") ]]; then as_root=sudo; fi
    done
    $as_root rm -f -- "${files[@]}"
    # The one folder that is Zorvik's alone: its documentation.
    for folder in "${folders[@]}"; do
        if [[ $folder == */zorvik && -d $folder ]]; then
            $as_root rmdir --ignore-fail-on-non-empty -- "$folder"
        fi
    done
    rm -f "$list"
    echo "Removed the ${#files[@]} files that make install had written."
    ;;
*)
    echo "usage: $0 install BUILD PREFIX LIST | uninstall LIST" >&2
    exit 2
    ;;
esac
