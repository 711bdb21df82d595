#!/usr/bin/env bash
# The calculator started where no display can be reached: its start-up fails like any other,
# says so in one line on standard error and ends with a failing status of its own, not killed
# by a signal, leaving no core.
#
#   no_display_test.sh PROGRAM
set -uo pipefail

program="$(realpath "${1:?usage: no_display_test.sh PROGRAM}")"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
cd "$work"
ulimit -c unlimited 2>/dev/null || true  # a crash would leave its core here

# A display number that no X server holds.
free_display=900
while [ -e "/tmp/.X11-unix/X${free_display}" ]; do free_display=$((free_display + 1)); done

failures=0
# Each case: a name, then the environment it sets on top of one with no display at all.
check() {
    local name="$1"
    shift
    local status=0
    env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$@" \
        timeout 30 "$program" >"$work/out" 2>"$work/err" || status=$?
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

exit $((failures > 0))
