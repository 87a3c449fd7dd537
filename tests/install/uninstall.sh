#!/usr/bin/env bash
# Installs the build straight onto the file system twice over (once into a prefix that does not
# exist yet, twice into one that already holds a file of another program), then uninstalls each
# with scripts/uninstall: each uninstall removes its own install and nothing of the other, and
# leaves behind no directory the install created.
# Usage: uninstall.sh SOURCE_DIR BUILD_DIR WORK_DIR
set -euo pipefail
source_dir=$1 build_dir=$2 work=$3

rm -rf "$work"
mkdir -p "$work/shared/share/applications"
touch "$work/shared/share/applications/other-program.desktop"
fresh=$work/fresh/deeper
shared=$work/shared
listing() { (cd "$work" && find . | sort); }
before=$(listing)

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

cmake --install "$build_dir" --prefix "$fresh" >/dev/null
cmake --install "$build_dir" --prefix "$shared" --strip >/dev/null
cmake --install "$build_dir" --prefix "$shared" >/dev/null # again, over the first

# The installed driver runs, finding its libraries without a search path of its own.
out=$(printf 'key 38\nanswer yes no\nkey 32\n' | "$fresh/games/quorvale-script")
[[ $out == *$'\nend' ]] || fail "the installed quorvale-script printed: $out"
# The menu entry names the game by where it was installed.
grep -qx "Exec=$shared/games/quorvale" "$shared/share/applications/io.github.quorvale.Quorvale.desktop" ||
    fail "the desktop entry under $shared does not start $shared/games/quorvale"

"$source_dir/scripts/uninstall" "$fresh" >/dev/null
[[ ! -e $work/fresh ]] || fail "left behind under $work/fresh: $(cd "$work" && find fresh)"
[[ -x $shared/games/quorvale ]] || fail "uninstalling $fresh removed the install under $shared"

"$source_dir/scripts/uninstall" "$shared" >/dev/null
after=$(listing)
[[ $after == "$before" ]] || fail "after both uninstalls the tree differs from before:
$(diff <(echo "$before") <(echo "$after") || true)"

if "$source_dir/scripts/uninstall" "$shared" 2>/dev/null; then
    fail "a second uninstall of $shared claimed to succeed"
fi
echo "two installs, three install runs, two uninstalls: nothing left behind"
