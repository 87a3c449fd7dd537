#!/usr/bin/env bash
# Builds the Debian package twice with scripts/package, each time from a fresh clone of the
# commit checked out in SOURCE, the two clones in folders of different names and made minutes
# apart (every file's time differs), and expects the same bytes both times. Only what is
# committed is built. Status 77 (skipped) where SOURCE is not a git checkout.
# Usage: reproducible.sh SOURCE WORKDIR
set -uo pipefail

source=$1
work=$2
commit=$(git -C "$source" rev-parse --verify HEAD 2>/dev/null) || {
    echo "$source is not a git checkout"
    exit 77
}
rm -rf "$work"
mkdir -p "$work"

package() { # FOLDER: clone, build, and print the package's path
    git clone --quiet --no-checkout "$source" "$1" &&
        git -C "$1" checkout --quiet --detach "$commit" &&
        (cd "$1" && env -u SOURCE_DATE_EPOCH nice -n 5 scripts/package) >"$1.log" 2>&1 || {
        cat "$1.log" >&2
        return 1
    }
    ls "$1"/build/default/quorvale_*.deb
}

first=$(package "$work/first") || exit 1
second=$(package "$work/second clone, elsewhere") || exit 1

source "$(dirname "$0")/../support/verdict.sh"
if ! cmp "$first" "$second"; then
    fail "the two packages differ"
    for deb in "$first" "$second"; do
        dpkg-deb --contents "$deb" >"$deb.contents"
        dpkg-deb --info "$deb" >"$deb.info"
    done
    diff "$first.contents" "$second.contents" >&2
    diff "$first.info" "$second.info" >&2
fi
echo "package: $(sha256sum <"$first")"
exit $failed
