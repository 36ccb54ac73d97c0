#!/usr/bin/env bash
# Drives the built program in its own X server as a person would: Continue on the splash, a click
# on a category, Report then HTML; a click on the first row, Enter to open it, Delete and Enter to
# remove it; File then Exit. Then checks from outside what it left behind.
# usage: e2e_program.sh <built program folder> <fresh catalogue>
set -uo pipefail

work=$(mktemp -d)
prog="$work/cadrelle"
source "$(dirname "$0")/x11.sh"

# A fresh copy of the program folder, with the catalogue as delivered.
cp -r "$1" "$prog" && rm -f "$prog"/temp/* && cp "$2" "$prog/cadrelle.db" || fail "cannot copy the program"

# Its own settings, and a recorder as the desktop's application for web pages and RTF documents, so
# the report and the document are "opened" without a browser or a word processor.
export HOME="$work/home" XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data"
mkdir -p "$HOME" "$XDG_CONFIG_HOME" "$XDG_DATA_HOME/applications"
printf '#!/bin/sh\nprintf "%%s\\n" "$@" >> "%s"\n' "$work/opened.txt" >"$work/recorder"
chmod +x "$work/recorder"
printf '[Desktop Entry]\nType=Application\nName=Recorder\nExec=%s %%f\nMimeType=text/html;application/rtf;text/rtf;\n' \
    "$work/recorder" >"$XDG_DATA_HOME/applications/cadrelle-recorder.desktop"
printf '[Default Applications]\ntext/html=%s\napplication/rtf=%s\ntext/rtf=%s\n' cadrelle-recorder.desktop \
    cadrelle-recorder.desktop cadrelle-recorder.desktop >"$XDG_CONFIG_HOME/mimeapps.list"

start_x
start_program "$prog/cadrelle"
# The third category, "Procedures", below the menu bar and the toolbar; then Report, HTML.
click_in "$main" 60 120 && sleep 0.5
click_in "$main" 64 8 && sleep 0.5
click_in "$main" 85 29
wait_for "the report being opened" test -s "$work/opened.txt"
# The keyboard on the list: the first row, QP01, opened with Enter, then removed with Delete after the question.
click_in "$main" 300 130 && sleep 0.3
xdotool key Return
wait_for "QP01 being opened with Enter" grep -q '/documents/QP01.rtf$' "$work/opened.txt"
xdotool key Delete
wait_for "the question before removing" has_window '^Delete document details$' && sleep 0.3
xdotool key Return
db="$prog/cadrelle.db"
wait_for "QP01 being removed after the question" test "$(sqlite3 "$db" "SELECT count(*) FROM tbldocument WHERE docref='QP01'")" = 0
exit_program

# What it left behind: the delivered records pointed at the installed documents, one page for the
# category clicked, opened, and the column widths.
while IFS= read -r path; do
    [[ "$path" == "$prog/documents/"* && -f "$path" ]] || fail "a record does not point at an installed file: $path"
done < <(sqlite3 "$db" 'SELECT docpath FROM tbldocument')
pages=("$prog"/temp/*.htm)
[[ ${#pages[@]} == 1 && -f "${pages[0]}" ]] || fail "expected one report page in temp/, found: ${pages[*]}"
grep -qx "${pages[0]}" "$work/opened.txt" || fail "the page opened was not ${pages[0]}: $(cat "$work/opened.txt")"
grep -q 'Category - Procedures' "${pages[0]}" || fail "the report is not titled with the category clicked"
grep -q '>QP01<' "${pages[0]}" || fail "the report lacks the category's documents"
grep -Eq '^C5Width=[0-9]' "$XDG_CONFIG_HOME/Cadrelle/Cadrelle.conf" || fail "the column widths are not stored"
[[ ! -e "$XDG_DATA_HOME/Cadrelle" ]] || fail "a program folder that holds its catalogue made a data folder as well"

echo "1 passed, 0 failed"
