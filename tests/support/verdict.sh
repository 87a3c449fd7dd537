# Sourced by the shell tests: each check that fails says why and marks the run as failed; the
# test ends with `exit $failed`.
failed=0
fail() {
    echo "FAIL: $*" >&2
    failed=1
}
# expect_status ACTUAL WANTED
expect_status() {
    [[ $1 -eq $2 ]] || fail "exit status $1, expected $2"
}
