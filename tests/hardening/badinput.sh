#!/usr/bin/env bash
# Feeds quorvale-script one kind of input that is not a script and checks the outcome: exactly one
# line on standard error naming the problem, nothing on standard output, exit status 2, and a
# peak resident size that stays well below the 100 MiB a careless reader would hold. The long-*
# cases are scripts at the limit of a line's length: they must run, in at most 64 MiB.
# Usage: badinput.sh DRIVER CASE WORKDIR
set -uo pipefail

driver=$1
case=$2
work=$3/bad-input-$case
mkdir -p "$work"
out=$work/stdout
err=$work/stderr
mem=$work/maxrss
max_rss_kib=$((96 * 1024))

run() { /usr/bin/time -f %M -o "$mem" "$driver" "$@" >"$out" 2>"$err"; }

# The same 64 KiB of bytes every time: every byte value, NUL and line breaks included.
garbage() {
    local i
    for ((i = 0; i < 256; ++i)); do
        printf "\\x$(printf %02x $(((i * 73 + 11) % 256)))"
    done >"$work/block"
    for ((i = 0; i < 256; ++i)); do cat "$work/block"; done
}

# A line of 16 MiB less a few bytes: COMMAND "aaa...".
longline() {
    printf '%s "' "$1"
    head -c $((16 * 1024 * 1024 - 16)) /dev/zero | tr '\0' 'a'
    printf '"\n'
}

expected=
expected_status=2
case $case in
long-type | long-text)
    longline "${case#long-}" >"$work/long.script"
    printf 'dump\n' >>"$work/long.script"
    run "$work/long.script"
    status=$?
    expected_status=0
    max_rss_kib=$((64 * 1024))
    ;;
many-answers)
    # Two lines of 5 million answers each: the first is already more than may wait.
    { printf 'answer'; head -c $((5 * 1024 * 1024)) /dev/zero | sed 's/\x0/ no/g'; printf '\n'; } >"$work/a"
    cat "$work/a" "$work/a" >"$work/answers.script"
    run "$work/answers.script"
    status=$?
    expected='^quorvale-script: line 1: more than 1000000 answers waiting for message boxes$'
    max_rss_kib=$((64 * 1024))
    ;;
garbage)
    garbage | run
    status=$?
    expected='^quorvale-script: line [0-9]+: '
    ;;
garbage-file)
    garbage >"$work/garbage.bin"
    run "$work/garbage.bin"
    status=$?
    expected='^quorvale-script: line [0-9]+: '
    ;;
long-line)
    # Made here rather than kept in the repository, and streamed: 100 MiB without a line break.
    head -c $((100 * 1024 * 1024)) /dev/zero | tr '\0' 'k' | run
    status=${PIPESTATUS[2]}
    expected='^quorvale-script: line 1: line longer than 16 MiB$'
    ;;
missing-file)
    run "$work/no such file.script"
    status=$?
    expected='^quorvale-script: cannot read .*no such file\.script: No such file or directory$'
    ;;
directory)
    run "$work"
    status=$?
    expected='^quorvale-script: cannot read .*: it is a directory$'
    ;;
dev-zero)
    run /dev/zero
    status=$?
    expected='^quorvale-script: line 1: line longer than 16 MiB$'
    ;;
*)
    echo "unknown case $case" >&2
    exit 1
    ;;
esac

source "$(dirname "$0")/../support/verdict.sh"
expect_status "$status" "$expected_status"
if ((expected_status == 0)); then
    [[ ! -s $err ]] || fail "unexpected error: $(head -c 200 "$err")"
    [[ $(tail -n 1 "$out") == -- ]] || fail "the script did not run to its end"
else
    [[ $(wc -l <"$err") -eq 1 ]] || fail "expected exactly one line on standard error"
    grep -Eq "$expected" "$err" || fail "standard error does not match /$expected/"
    [[ ! -s $out ]] || fail "unexpected output: $(head -c 200 "$out")"
fi
rss=$(tail -n 1 "$mem")
[[ $rss =~ ^[0-9]+$ ]] || fail "no peak memory measured"
# Under AddressSanitizer every byte has shadow bytes and freed memory waits in quarantine, so the
# peak says nothing of the driver's own; the normal build holds the bound.
if [[ -z ${QUORVALE_SANITIZED:-} ]]; then
    ((rss <= max_rss_kib)) || fail "peak resident size $rss KiB, more than $max_rss_kib KiB"
fi

echo "stderr: $(head -c 200 "$err")"
echo "peak resident size: $rss KiB, exit status $status"
exit $failed
