#!/usr/bin/env bash
# Takes a whole quiz on a real X server, driven from outside as a student would drive it
# (pointer and keyboard through xdotool, the close button's message to end it), under
# strace -f. Fails if the program, or anything it starts, writes or creates a file or
# opens a socket other than its display connection.
#
# Usage, on a display of its own: xvfb-run -a x_run_check.sh QUIZ CLOSE-WINDOW-TOOL
set -euo pipefail

quiz=$1
close_window=$2
[[ -n "${DISPLAY:-}" ]] || { echo "x-run: no X display (run under xvfb-run)" >&2; exit 2; }
for tool in strace xdotool; do
    command -v "$tool" >/dev/null || { echo "x-run: $tool is missing (script/bootstrap installs it)" >&2; exit 2; }
done

work=$(mktemp -d)
quiz_pid=
cleanup() {
    [[ -n "$quiz_pid" ]] && kill "$quiz_pid" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

# A desktop session as a student's: a home and a private runtime directory, both empty,
# so that anything the program leaves in them shows. No session bus, as under xvfb-run.
mkdir -m 700 "$work/home" "$work/runtime"
export HOME=$work/home XDG_RUNTIME_DIR=$work/runtime QT_QPA_PLATFORM=xcb
unset DBUS_SESSION_BUS_ADDRESS SESSION_MANAGER XDG_CONFIG_HOME XDG_CACHE_HOME XDG_DATA_HOME
unset QT_STYLE_OVERRIDE QT_SCALE_FACTOR
# LeakSanitizer stops the world with ptrace, which strace already holds.
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0"

fail() {
    echo "x-run: $*" >&2
    exit 1
}

traced=(open openat openat2 creat mkdir mkdirat mknod mknodat link linkat symlink symlinkat
        rename renameat renameat2 unlink unlinkat rmdir truncate chmod fchmodat chown lchown
        fchownat utime utimes utimensat futimesat socket connect bind listen accept accept4
        sendto execve)
strace -ff -qq -s 256 -o "$work/trace" -e trace="$(IFS=,; echo "${traced[*]}")" "$quiz" &
quiz_pid=$!

# Every screen has a client size of its own; without a window manager that is the size of
# its X window, which tells the screens apart.
declare -A sizes=(
    [Form1]=675x482 [Form6]=669x474 [Form2]=688x492 [Form7]=693x490
    [Form3]=674x498 [Form8]=701x504 [Form4]=666x474 [Form5]=683x486
)

# Waits until the screen is the one quiz window on show and prints its id.
shown() {
    local screen=$1 id width height
    for _ in $(seq 200); do
        kill -0 "$quiz_pid" 2>/dev/null || fail "the program ended while waiting for $screen"
        for id in $(xdotool search --onlyvisible --class '^refs-quiz$' 2>/dev/null || true); do
            WIDTH= HEIGHT=
            eval "$(xdotool getwindowgeometry --shell "$id" 2>/dev/null | grep -E '^(WIDTH|HEIGHT)=[0-9]+$')"
            if [[ "${WIDTH}x${HEIGHT}" == "${sizes[$screen]}" ]]; then
                # A student reads before clicking; the window is drawn by then.
                sleep 0.3
                echo "$id"
                return
            fi
        done
        sleep 0.1
    done
    fail "$screen did not appear"
}

# Clicks at a point given in twips, as the screens are designed.
click() {
    local window=$1 x=$(( $2 / 15 )) y=$(( $3 / 15 ))
    xdotool mousemove --window "$window" --sync "$x" "$y" click 1
}

shown Form1 >/dev/null
form6=$(shown Form6)
click "$form6" 5047 6727                            # "Начать тест"
form2=$(shown Form2)
click "$form2" 1300 4147                            # the second option of question 1
click "$form2" 7987 6607                            # "Ввод"
form7=$(shown Form7)
click "$form7" 1400 3427                            # the second option of question 2
click "$form7" 8347 6607
form3=$(shown Form3)
click "$form3" 8407 6427
form8=$(shown Form8)
xdotool key space                                   # keys reach the focused control
click "$form8" 8347 6727
form4=$(shown Form4)
click "$form4" 2287 4207                            # into the formula box
xdotool type --delay 20 '=$B$1*(B4-B3)'
click "$form4" 8407 6427
form5=$(shown Form5)
"$close_window" "$form5"

for _ in $(seq 100); do
    kill -0 "$quiz_pid" 2>/dev/null || break
    sleep 0.1
done
kill -0 "$quiz_pid" 2>/dev/null && fail "the program still runs after its window was closed"
status=0
wait "$quiz_pid" || status=$?
quiz_pid=
[[ $status -eq 0 ]] || fail "the program ended with status $status"

display_number=${DISPLAY#*:}
display=/tmp/.X11-unix/X${display_number%%.*}
# A call that failed created nothing: an existing directory that Qt's runtime-directory
# check tries to make, a helper that is not installed.
succeeded='/ = (0|[1-9][0-9]*)$|EINPROGRESS/'
violations=$(
    cat "$work"/trace.* | awk -v display="$display" "$succeeded"' {
        if (/^(open|openat|openat2)\(/) {
            if (/O_WRONLY|O_RDWR|O_CREAT|O_TRUNC|O_APPEND/ && !/"\/dev\/null"/) print
        } else if (/^socket\(/) {
            if (!/^socket\(AF_UNIX,/) print
        } else if (/^connect\(/) {
            if (index($0, "sun_path=\"" display "\"") == 0 && index($0, "sun_path=@\"" display "\"") == 0) print
        } else if (/^sendto\(/) {
            if (!/, NULL, 0\) = /) print
        } else if (!/^execve\(/) {
            print
        }
    }'
)
left=$(find "$work/home" "$work/runtime" -mindepth 1)
tried=$(cat "$work"/trace.* | grep -E '^execve\(' | grep -vF "execve(\"$quiz\"" \
        | sed -E 's/^execve\("[^"]*\/([^"/]*)".*/\1/' | sort -u | tr '\n' ' ' || true)

[[ -z "$tried" ]] || echo "x-run: note, the program tried to start: $tried(the D-Bus autolaunch of Qt's accessibility bridge when there is no session bus)"
if [[ -n "$violations" || -n "$left" ]]; then
    [[ -z "$violations" ]] || printf 'x-run: files written or sockets opened:\n%s\n' "$violations" >&2
    [[ -z "$left" ]] || printf 'x-run: files left behind:\n%s\n' "$left" >&2
    exit 1
fi
connections=$(cat "$work"/trace.* | grep -cE '^connect\(.*= 0$' || true)
(( connections > 0 )) || fail "the trace shows no display connection: did strace trace the program?"
echo "x-run: whole quiz taken; $connections connection(s), all to $display; no file written"
