#!/usr/bin/env bash
# Runs a Qt test program as a Wayland client of a private weston on its headless backend.
# Usage: run-under-weston.sh PROGRAM [ARGS...]
set -euo pipefail

if ! command -v weston >/dev/null; then
    echo "weston not found: install the Debian packages weston and qt6-wayland" \
         "(scripts/deps scripts/packages-test.txt)" >&2
    exit 1
fi
if ! compgen -G '/usr/lib/*/qt6/plugins/platforms/libqwayland-generic.so' >/dev/null; then
    echo "Qt's Wayland platform plugin not found: install the Debian package qt6-wayland" >&2
    exit 1
fi

# A runtime directory of our own, so the socket never meets another compositor's.
runtime=$(mktemp -d)
chmod 700 "$runtime"
weston_pid=
cleanup() {
    [[ -n $weston_pid ]] && kill "$weston_pid" 2>/dev/null && wait "$weston_pid" 2>/dev/null
    rm -rf "$runtime"
}
trap cleanup EXIT

export XDG_RUNTIME_DIR=$runtime
socket=wayland-quorvale-test
# No idle time: the desktop shell would otherwise lock the screen after five minutes.
weston --backend=headless-backend.so --socket="$socket" --idle-time=0 --no-config \
    --log="$runtime/weston.log" &
weston_pid=$!
for _ in $(seq 100); do
    [[ -S $runtime/$socket ]] && break
    kill -0 "$weston_pid" 2>/dev/null || break
    sleep 0.1
done
if [[ ! -S $runtime/$socket ]]; then
    echo "weston did not start:" >&2
    cat "$runtime/weston.log" >&2
    exit 1
fi

# "wayland" and nothing else: if the connection fails, Qt stops rather than fall back to X11.
# The headless backend has no seat, so no keyboard, no clipboard and no focus: the test program's
# stand-in seat gives each new window the focus, and with no seat Qt's text-input support for
# weston's input method would dereference the missing keyboard, so it is left out.
status=0
env -u DISPLAY WAYLAND_DISPLAY="$socket" QT_QPA_PLATFORM=wayland QT_IM_MODULE=none \
    QUORVALE_TEST_HEADLESS_SEAT=1 "$@" || status=$?
if ((status != 0)); then
    echo "--- weston's log:" >&2
    tail -n 20 "$runtime/weston.log" >&2
fi
exit "$status"
