# The end-to-end scripts' shared steps: a private X server, and the program started, Continue pressed and
# File, Exit chosen as a person does. The sourcing script sets `work`, its scratch folder, first; the
# program's output goes to $work/program.log and is shown when a step fails.

limit=30 # seconds any one step may take
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

# An X server of its own, open to the local clients of any user.
start_x() {
    for tool in Xvfb xdotool sqlite3; do command -v "$tool" >/dev/null || fail "$tool is missing (scripts/install-deps)"; done
    exec 3<> >(:)
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
    xvfb_pid=$!
    read -r -t "$limit" display <&3 || fail "Xvfb did not start"
    export DISPLAY=":$display"
    unset QT_QPA_PLATFORM
}

window_named() { xdotool search --pid "$app_pid" --name "$1" | head -1; }
has_window() { [[ -n "$(window_named "$1")" ]]; }
# A search that runs while a window closes may name the closing one: the name is read back to be sure.
found_main() {
    main=$(window_named '^ISO9001:2000 Cadrelle$')
    [[ -n "$main" && "$(xdotool getwindowname "$main" 2>/dev/null)" == "ISO9001:2000 Cadrelle" ]]
}
# Clicks at a point given relative to a window's top-left corner.
click_in() {
    local X Y
    eval "$(xdotool getwindowgeometry --shell "$1")"
    xdotool mousemove --sync $((X + $2)) $((Y + $3)) click 1
}

# Starts the program (the command given ends in it) and presses Continue; `main` is then its main window.
start_program() {
    "$@" >"$work/program.log" 2>&1 &
    app_pid=$!
    # The splash: Continue sits at 2520,2835 twips, 1275 x 435.
    wait_for "the splash" has_window '^Cadrelle$' && sleep 0.5
    click_in "$(window_named '^Cadrelle$')" 210 203
    wait_for "the main window" found_main && sleep 1
}

# File, then Exit; waits for the program's end.
exit_program() {
    click_in "$main" 20 8 && sleep 0.5
    click_in "$main" 40 29
    wait_for "the program's end after File, Exit" eval '! kill -0 "$app_pid"'
    app_pid=""
}
