#!/usr/bin/env bash
# Drives the built program in its own X server as a person would: Continue on the splash, a click
# on a category, Report then HTML, File then Exit. Then checks from outside what it left behind.
# usage: e2e_program.sh <built program folder> <fresh catalogue>
set -uo pipefail

limit=30 # seconds any one step may take
work=$(mktemp -d)
prog="$work/cadrelle"
xvfb_pid="" app_pid=""
trap '[[ -n "$app_pid" ]] && kill "$app_pid"; [[ -n "$xvfb_pid" ]] && kill "$xvfb_pid"; rm -rf "$work"' EXIT

fail() {
    echo "FAIL: $*"
    [[ -f "$work/program.log" ]] && sed 's/^/program: /' "$work/program.log"
    exit 1
}

# Waits until the command succeeds, or fails the test with the step's name.
wait_for() {
    local what=$1
    shift
    for ((i = 0; i < limit * 10; i++)); do
        "$@" >/dev/null 2>&1 && return 0
        sleep 0.1
    done
    fail "$what did not happen within ${limit}s"
}

for tool in Xvfb xdotool sqlite3; do command -v "$tool" >/dev/null || fail "$tool is missing (scripts/install-deps)"; done

# A fresh copy of the program folder, with the catalogue as delivered.
cp -r "$1" "$prog" && rm -f "$prog"/temp/* && cp "$2" "$prog/cadrelle.db" || fail "cannot copy the program"

# Its own settings, and a recorder as the desktop's application for web pages, so the report is
# "opened" without a browser.
export HOME="$work/home" XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data"
mkdir -p "$HOME" "$XDG_CONFIG_HOME" "$XDG_DATA_HOME/applications"
printf '#!/bin/sh\nprintf "%%s\\n" "$@" >> "%s"\n' "$work/opened.txt" >"$work/recorder"
chmod +x "$work/recorder"
printf '[Desktop Entry]\nType=Application\nName=Recorder\nExec=%s %%f\nMimeType=text/html;\n' "$work/recorder" \
    >"$XDG_DATA_HOME/applications/cadrelle-recorder.desktop"
printf '[Default Applications]\ntext/html=cadrelle-recorder.desktop\n' >"$XDG_CONFIG_HOME/mimeapps.list"

# Its own X server.
exec 3<> >(:)
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
read -r -t "$limit" display <&3 || fail "Xvfb did not start"
export DISPLAY=":$display"
unset QT_QPA_PLATFORM

"$prog/cadrelle" >"$work/program.log" 2>&1 &
app_pid=$!

window_named() { xdotool search --pid "$app_pid" --name "$1" | head -1; }
has_window() { [[ -n "$(window_named "$1")" ]]; }
# Clicks at a point given relative to a window's top-left corner.
click_in() {
    local X Y
    eval "$(xdotool getwindowgeometry --shell "$1")"
    xdotool mousemove --sync $((X + $2)) $((Y + $3)) click 1
}

# The splash: Continue sits at 2520,2835 twips, 1275 x 435.
wait_for "the splash" has_window '^Cadrelle$' && sleep 0.5
click_in "$(window_named '^Cadrelle$')" 210 203
wait_for "the main window" has_window '^ISO9001:2000 Cadrelle$'
main=$(window_named '^ISO9001:2000 Cadrelle$') && sleep 1
# The third category, "Procedures", below the menu bar and the toolbar; then Report, HTML.
click_in "$main" 60 120 && sleep 0.5
click_in "$main" 64 8 && sleep 0.5
click_in "$main" 85 29
wait_for "the report being opened" test -s "$work/opened.txt"
# File, then Exit.
click_in "$main" 20 8 && sleep 0.5
click_in "$main" 40 29
wait_for "the program's end after File, Exit" eval '! kill -0 "$app_pid"'
app_pid=""

# What it left behind: the delivered records pointed at the installed documents, one page for the
# category clicked, opened, and the column widths.
db="$prog/cadrelle.db"
while IFS= read -r path; do
    [[ "$path" == "$prog/documents/"* && -f "$path" ]] || fail "a record does not point at an installed file: $path"
done < <(sqlite3 "$db" 'SELECT docpath FROM tbldocument')
pages=("$prog"/temp/*.htm)
[[ ${#pages[@]} == 1 && -f "${pages[0]}" ]] || fail "expected one report page in temp/, found: ${pages[*]}"
grep -qx "${pages[0]}" "$work/opened.txt" || fail "the page opened was not ${pages[0]}: $(cat "$work/opened.txt")"
grep -q 'Category - Procedures' "${pages[0]}" || fail "the report is not titled with the category clicked"
grep -q '>QP01<' "${pages[0]}" || fail "the report lacks the category's documents"
grep -Eq '^C5Width=[0-9]' "$XDG_CONFIG_HOME/Cadrelle/Cadrelle.conf" || fail "the column widths are not stored"

echo "1 passed, 0 failed"
