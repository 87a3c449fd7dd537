#!/usr/bin/env bash
# Runs one case of the command line of the game or of the script driver and checks its exit
# status, its standard error (a number of lines, matching a pattern) and its standard output.
# The game runs with no display to talk to: a case that must stop before any window opens would
# abort instead if it reached the window system.
# Usage: commandline.sh GAME DRIVER CASE WORKDIR
set -uo pipefail

game=$1
driver=$2
case=$3
work=$4/cli-$case
mkdir -p "$work"
out=$work/stdout
err=$work/stderr

nodisplay() { env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb "$@" >"$out" 2>"$err"; }
offscreen() { env QT_QPA_PLATFORM=offscreen timeout 60 "$@" >"$out" 2>"$err"; }

source "$(dirname "$0")/../support/verdict.sh"
status_wanted=2
err_lines=1
err_total=any
err_pattern=
out_pattern=
case $case in
game-help)
    nodisplay "$game" --help
    status=$?
    status_wanted=0 err_lines=0 out_pattern='^Usage: quorvale \[options\]'
    # Each option's description wrapped whole at spaces within 80 columns (Qt fills 79): a
    # line goes on only where its next word would not fit.
    awk '
        length($0) > 80 { print "line " NR " is " length($0) " columns: " $0; bad = 1 }
        /^   / && prev != "" {
            split($0, words, " ")
            if (length(prev) + 1 + length(words[1]) <= 79) { print "line " NR " breaks early: " $0; bad = 1 }
        }
        { prev = $0 }
        END { exit bad }' "$out" >&2 || fail "the options' descriptions are not wrapped whole"
    ;;
game-version)
    nodisplay "$game" --version
    status=$?
    status_wanted=0 err_lines=0 out_pattern='^quorvale [0-9]+\.[0-9]+\.[0-9]+$'
    ;;
game-unknown-option)
    nodisplay "$game" --recrod x
    status=$?
    err_pattern="^quorvale: Unknown option 'recrod'\.$"
    ;;
game-missing-argument)
    nodisplay "$game" --replay
    status=$?
    err_pattern="^quorvale: Missing value after '--replay'\.$"
    ;;
game-extra-argument)
    nodisplay "$game" game.script
    status=$?
    err_pattern="^quorvale: unexpected argument 'game.script'$"
    ;;
game-record-cannot-create)
    offscreen "$game" --record "$work/no such folder/game.script"
    status=$?
    err_pattern='^quorvale: cannot create .*/no such folder/game\.script: No such file or directory$'
    ;;
game-display-x-absent)
    # No X server behind the display (an ssh session without forwarding, a display gone away):
    # one line, status 1, and the recording never begun.
    env -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM DISPLAY=:7391 XDG_SESSION_TYPE=x11 \
        timeout 60 "$game" --record "$work/new.script" >"$out" 2>"$err"
    status=$?
    status_wanted=1 err_total=1
    err_pattern='^quorvale: cannot open a display: the X display :7391 is not there or refused the connection$'
    [[ ! -e $work/new.script ]] || fail "the recording was created"
    ;;
game-display-wayland-absent)
    # No compositor behind WAYLAND_DISPLAY, and no runtime folder, which libwayland complains
    # of on standard error itself. A file of the recording's name is left as it was.
    printf 'kept\n' >"$work/kept.script"
    env -u DISPLAY -u XDG_RUNTIME_DIR QT_QPA_PLATFORM=wayland WAYLAND_DISPLAY=quorvale-none \
        timeout 60 "$game" --record "$work/kept.script" >"$out" 2>"$err"
    status=$?
    status_wanted=1 err_total=1
    err_pattern='^quorvale: cannot open a display: no Wayland compositor at quorvale-none$'
    [[ $(cat "$work/kept.script") == kept ]] || fail "the file of the recording's name changed"
    ;;
game-display-plugin-missing)
    printf 'kept\n' >"$work/kept.script"
    env QT_QPA_PLATFORM=quorvale-none timeout 60 "$game" --record "$work/kept.script" \
        >"$out" 2>"$err"
    status=$?
    status_wanted=1 err_total=1
    err_pattern='^quorvale: cannot open a display: there is no platform plugin "quorvale-none"$'
    [[ $(cat "$work/kept.script") == kept ]] || fail "the file of the recording's name changed"
    ;;
game-replay-bad-line)
    printf '\xEF\xBB\xBFkey 38\n# fine\nwait -3\n' >"$work/bad.script"
    nodisplay "$game" --replay "$work/bad.script"
    status=$?
    err_pattern="^quorvale: line 3: bad number of ticks '-3': "
    ;;
game-replay-missing)
    nodisplay "$game" --replay "$work/missing.script"
    status=$?
    err_pattern='^quorvale: cannot read .*/missing\.script$'
    ;;
game-record-disk-full)
    # Writing to /dev/full fails as a full disk does: one warning, and the game goes on to the
    # end of the replayed script, which quits.
    printf 'key 40\ndump\nclick mnufilequit\n' >"$work/quit.script"
    offscreen "$game" --record /dev/full --replay "$work/quit.script"
    status=$?
    status_wanted=0
    err_pattern='^quorvale: warning: cannot write to /dev/full: No space left on device; the recording stops here, the game goes on$'
    out_pattern='^shpyou\.Top 440$'
    ;;
game-record-replay-round-trip)
    # A replay recorded again gives the same script, up to the heading.
    printf 'key 38\nwait 20\nanswer no yes\nkey 38\nwait 3\ntext "x"\nclick cmdstart\nkey 40\nclose\n' \
        >"$work/in.script"
    offscreen "$game" --replay "$work/in.script" --record "$work/again.script"
    status=$?
    status_wanted=0 err_lines=any
    diff <(grep -v '^#' "$work/in.script"; echo dump) <(grep -v '^#' "$work/again.script") >&2 ||
        status=99
    ;;
game-replay-link)
    # A link replays in the window as its file does.
    printf 'key 40\ndump\nclick mnufilequit\n' >"$work/quit.script"
    link=$("$driver" --link "$work/quit.script")
    offscreen "$game" --replay "$link"
    status=$?
    status_wanted=0 err_lines=0 out_pattern='^shpyou\.Top 440$'
    ;;
game-replay-bad-link)
    nodisplay "$game" --replay 'http://127.0.0.1:8000/#r1:abc'
    status=$?
    err_pattern='^quorvale: the link is damaged: its recording is not valid DEFLATE data$'
    ;;
driver-link-round-trip)
    # The link for a file runs as the file does; a base with a fragment of its own loses it.
    link=$("$driver" --link --base 'https://example.org/maze/#top' \
        "$(dirname "$0")/../scripts/lifecycle.script")
    status=$?
    [[ $link == https://example.org/maze/#r1:* ]] || fail "link starts ${link:0:40}"
    "$driver" "$link" >"$out" 2>"$err" || status=$?
    status_wanted=0 err_lines=0
    diff "$out" "$(dirname "$0")/../scripts/lifecycle.expected" >&2 || status=99
    ;;
driver-link-other-deflate)
    # DEFLATE from another compressor (gzip without its header and trailer) reads the same; a
    # bad line in it stops the link before any of it runs, here the dump of line 1.
    link=http://127.0.0.1:8000/#r1:$(printf 'dump\nkey 38\nwait -3\n' | gzip -9n | tail -c +11 |
        head -c -8 | base64 -w0 | tr '+/' '-_' | tr -d '=')
    "$driver" "$link" >"$out" 2>"$err"
    status=$?
    err_pattern="^quorvale-script: line 3: bad number of ticks '-3': "
    [[ -s $out ]] && fail "something was replayed"
    ;;
driver-link-bad-script)
    printf 'key 38\nwait -3\n' >"$work/bad.script"
    "$driver" --link "$work/bad.script" >"$out" 2>"$err"
    status=$?
    err_pattern="^quorvale-script: line 2: bad number of ticks '-3': "
    [[ -s $out ]] && fail "a link was printed"
    ;;
game-race-unraceable)
    # A recording that wins no game cannot be raced: one line before any window opens.
    nodisplay "$game" --race "$(dirname "$0")/../scripts/race-ball.script"
    status=$?
    err_pattern='^quorvale: the recording holds no won game to race$'
    ;;
game-race-bad-link)
    nodisplay "$game" --race 'http://127.0.0.1:8000/#r1:abc'
    status=$?
    err_pattern='^quorvale: the link is damaged: its recording is not valid DEFLATE data$'
    ;;
game-race-and-replay)
    nodisplay "$game" --race a.script --replay b.script
    status=$?
    err_pattern='^quorvale: --replay and --race do not go together$'
    ;;
driver-times-link)
    # A link is timed as its file is.
    scripts=$(dirname "$0")/../scripts
    link=$("$driver" --link "$scripts/race-startover.script")
    "$driver" --times "$link" >"$out" 2>"$err"
    status=$?
    status_wanted=0 err_lines=0
    diff "$out" "$scripts/race-startover.times" >&2 || status=99
    ;;
driver-times-bad-line)
    printf 'click cmdstart\nwait 5\nwait -3\n' >"$work/bad.script"
    "$driver" --times "$work/bad.script" >"$out" 2>"$err"
    status=$?
    err_pattern="^quorvale-script: line 3: bad number of ticks '-3': "
    ;;
driver-help)
    "$driver" --help >"$out" 2>"$err"
    status=$?
    status_wanted=0 err_lines=0 out_pattern='^usage: quorvale-script \[FILE \| LINK\]$'
    ;;
driver-version)
    "$driver" --version >"$out" 2>"$err"
    status=$?
    status_wanted=0 err_lines=0 out_pattern='^quorvale-script [0-9]+\.[0-9]+\.[0-9]+$'
    ;;
driver-unknown-option)
    "$driver" --verbose >"$out" 2>"$err"
    status=$?
    err_pattern="^quorvale-script: unknown option '--verbose' \(see --help\)$"
    ;;
driver-two-files)
    "$driver" a.script b.script >"$out" 2>"$err"
    status=$?
    err_pattern="^quorvale-script: unexpected argument 'b.script': only one FILE is read$"
    ;;
*)
    echo "unknown case $case" >&2
    exit 1
    ;;
esac

expect_status "$status" "$status_wanted"
# Qt may add notes of its own about the offscreen platform; only the game's lines count.
lines=$(grep -c '^quorvale' "$err")
if [[ $err_lines != any ]]; then
    [[ $lines -eq $err_lines ]] || fail "$lines lines on standard error, expected $err_lines"
fi
if [[ $err_total != any ]]; then
    total=$(wc -l <"$err")
    [[ $total -eq $err_total ]] || fail "$total lines on standard error in all, expected $err_total"
fi
[[ -z $err_pattern ]] || grep -Eq "$err_pattern" "$err" || fail "standard error does not match /$err_pattern/"
[[ -z $out_pattern ]] || grep -Eq "$out_pattern" "$out" || fail "standard output does not match /$out_pattern/"
echo "stdout: $(head -c 300 "$out")"
echo "stderr: $(head -c 300 "$err")"
exit $failed
