#!/usr/bin/env bash
# The calculator started where no display can be reached, by its environment or by its command
# line (which Qt reads first): its start-up fails like any other, says so in one line on
# standard error and ends with a failing status of its own, not killed by a signal, leaving no
# core. Where the command line chooses a platform that needs no display, it starts.
#
#   no_display_test.sh PROGRAM
set -uo pipefail

program="$(realpath "${1:?usage: no_display_test.sh PROGRAM}")"
work="$(mktemp -d)"
xvfb_pid=""
trap '[ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null; rm -rf "$work"' EXIT
cd "$work"
ulimit -c unlimited 2>/dev/null || true  # a crash would leave its core here

# A display number that no X server holds.
free_display=900
while [ -e "/tmp/.X11-unix/X${free_display}" ]; do free_display=$((free_display + 1)); done

# Runs the program for at most `limit` seconds on top of an environment with no display at
# all: the variables given, then "--" and the program's arguments. Sets `status`.
run() {
    local limit="$1"
    shift
    local variables=()
    while [ "$#" -gt 0 ] && [ "$1" != "--" ]; do
        variables+=("$1")
        shift
    done
    [ "$#" -gt 0 ] && shift
    status=0
    env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "${variables[@]}" \
        timeout "$limit" "$program" "$@" >"$work/out" 2>"$work/err" || status=$?
}

failures=0
# Each case: a name, then the environment it sets and, after "--", the program's arguments.
check() {
    local name="$1"
    shift
    run 30 "$@"
    local lines
    lines="$(wc -l <"$work/err")"
    local problem=""
    if [ "$status" -eq 0 ]; then
        problem="ended with status 0"
    elif [ "$status" -eq 124 ]; then
        problem="was still running after 30 s"
    elif [ "$status" -ge 126 ]; then
        problem="ended with status $status (a signal, or not started)"
    elif [ "$lines" -ne 1 ]; then
        problem="wrote $lines lines to standard error, not one"
    elif ! grep -q "^corvane-conversion: no display found: " "$work/err"; then
        problem="did not say that no display was found"
    elif [ -s "$work/out" ]; then
        problem="wrote to standard output"
    elif compgen -G "$work/core*" >/dev/null; then
        problem="left a core file"
    fi
    if [ -n "$problem" ]; then
        echo "FAIL $name: the program $problem" >&2
        sed 's/^/  stderr: /' "$work/err" >&2
        failures=$((failures + 1))
    else
        echo "ok   $name (status $status): $(cat "$work/err")"
    fi
}

check "no display at all"
check "an X display nobody serves" DISPLAY=":${free_display}"
check "a malformed DISPLAY" DISPLAY="no-number"
check "the X platform asked for" QT_QPA_PLATFORM=xcb
check "a Wayland socket that is not there" WAYLAND_DISPLAY="/nonexistent/wayland-0"
check "the X platform asked for on the command line" QT_QPA_PLATFORM=offscreen -- -platform xcb

# An X server of the test's own, so that only the command line names an unreachable display.
if command -v Xvfb >/dev/null; then
    Xvfb -displayfd 3 -nolisten tcp 3>"$work/display" 2>/dev/null &
    xvfb_pid=$!
    for _ in $(seq 100); do
        [ -s "$work/display" ] && break
        sleep 0.1
    done
    served=":$(head -n 1 "$work/display")"
    check "an unreachable -display beside a served DISPLAY" DISPLAY="$served" \
        -- -display ":${free_display}"
    check "an unreachable --display beside a served DISPLAY" DISPLAY="$served" \
        -- --display ":${free_display}"
else
    echo "FAIL Xvfb is not installed: the cases with a served DISPLAY cannot run" >&2
    failures=$((failures + 1))
fi

# A platform that needs no display, chosen on the command line: the program starts and runs
# until it is ended here.
run 3 -- -platform offscreen
if [ "$status" -ne 124 ] || grep -q "no display found" "$work/err"; then
    echo "FAIL -platform offscreen: the program did not keep running (status $status)" >&2
    sed 's/^/  stderr: /' "$work/err" >&2
    failures=$((failures + 1))
else
    echo "ok   -platform offscreen without a display: still running after 3 s"
fi

exit $((failures > 0))
