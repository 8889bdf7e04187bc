# SPDX-License-Identifier: GPL-3.0-or-later
# What the checks that take a quiz on a real X server share; sourced, not run. The caller
# names itself in $check, and sets $quiz_pid once the program runs.

fail() {
    echo "$check: $*" >&2
    exit 1
}

# Ends with status 2, not a failure, when the machine lacks a tool or a display. The script
# that installs the tools is script/test, or the one the caller names in $installer.
need() {
    [[ -n "${DISPLAY:-}" ]] || { echo "$check: no X display (run under xvfb-run)" >&2; exit 2; }
    local tool
    for tool in "$@"; do
        command -v "$tool" >/dev/null \
            || { echo "$check: $tool is missing (${installer:-script/test} installs it)" >&2; exit 2; }
    done
}

# A desktop session as a student's, in the folder given: a home and a private runtime
# directory, both empty, so that anything left in them shows.
student_session() {
    mkdir -m 700 "$1/home" "$1/runtime"
    export HOME=$1/home XDG_RUNTIME_DIR=$1/runtime QT_QPA_PLATFORM=xcb
    unset SESSION_MANAGER XDG_CONFIG_HOME XDG_CACHE_HOME XDG_DATA_HOME
    unset QT_STYLE_OVERRIDE QT_SCALE_FACTOR
}

# The class the windows carry in WM_CLASS, which is the desktop entry's name.
readonly window_class=org.refsquiz.refs_quiz

# Every screen has a client size of its own; without a window manager that is the size of
# its X window, which tells the screens apart.
declare -A screen_sizes=(
    [Form1]=675x482 [Form6]=669x474 [Form2]=688x492 [Form7]=693x490
    [Form3]=674x498 [Form8]=701x504 [Form4]=666x474 [Form5]=683x486
)

# The windows' class as a pattern, and the scale factor of the display; a caller that runs
# the program otherwise (the Windows one under Wine) may set either.
: "${quiz_class:=^${window_class//./\\.}\$}" "${quiz_scale:=1}"

# Waits until the screen is the one quiz window on show and prints its id.
shown() {
    local screen=$1 id width height
    read -r width height < <(awk -v size="${screen_sizes[$screen]}" -v f="$quiz_scale" \
        'BEGIN { split(size, s, "x"); print s[1] * f, s[2] * f }')
    for _ in $(seq 200); do
        kill -0 "$quiz_pid" 2>/dev/null || fail "the program ended while waiting for $screen"
        for id in $(xdotool search --onlyvisible --class "$quiz_class" 2>/dev/null || true); do
            WIDTH= HEIGHT=
            eval "$(xdotool getwindowgeometry --shell "$id" 2>/dev/null | grep -E '^(WIDTH|HEIGHT)=[0-9]+$')"
            # Scaled sizes are rounded either way.
            if awk -v w="$WIDTH" -v h="$HEIGHT" -v W="$width" -v H="$height" \
                   'BEGIN { exit !(w - W <= 1 && W - w <= 1 && h - H <= 1 && H - h <= 1) }'; then
                # A student reads before acting; the window is drawn by then.
                sleep 0.3
                echo "$id"
                return
            fi
        done
        sleep 0.1
    done
    fail "$screen did not appear"
}

# Waits for the program to end after its window was closed, as it does at once; fails
# with the message after ten seconds.
ends_after_close() {
    for _ in $(seq 100); do
        kill -0 "$quiz_pid" 2>/dev/null || return 0
        sleep 0.1
    done
    fail "$*"
}
