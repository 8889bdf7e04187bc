#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Takes a whole quiz on a real X server, driven from outside as a student would drive it
# (pointer and keyboard through xdotool, the close button's message to end it), under
# strace -f. Fails if the program writes or creates a file or opens a socket other than
# its display connection, or if its windows' WM_CLASS is not the desktop entry's
# StartupWMClass. What the program starts is reported, not judged: without a session bus
# libdbus launches one (dbus-launch), which outlives the program.
#
# Usage, on a display of its own: xvfb-run -a x_run_check.sh QUIZ CLOSE-WINDOW-TOOL DESKTOP-ENTRY
set -euo pipefail

quiz=$1
close_window=$2
desktop_entry=$3
check=x-run
source "$(dirname "$0")/x_helpers.sh"
need strace xdotool xprop

work=$(mktemp -d)
strace_pid=
quiz_pid=
cleanup() {
    [[ -n "$quiz_pid" ]] && kill "$quiz_pid" 2>/dev/null || true
    [[ -n "$strace_pid" ]] && kill "$strace_pid" 2>/dev/null || true
    # What the program started outlives it: the processes traced here that still run in
    # this session.
    local trace pid
    for trace in "$work"/trace.*; do
        pid=${trace##*.}
        { tr '\0' '\n' </proc/"$pid"/environ | grep -qxF "HOME=$work/home" && kill "$pid"; } 2>/dev/null || true
    done
    rm -rf "$work"
}
trap cleanup EXIT

# No session bus, as under xvfb-run.
student_session "$work"
unset DBUS_SESSION_BUS_ADDRESS
# LeakSanitizer stops the world with ptrace, which strace already holds.
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0"

traced=(open openat openat2 creat mkdir mkdirat mknod mknodat link linkat symlink symlinkat
        rename renameat renameat2 unlink unlinkat rmdir truncate chmod fchmodat chown lchown
        fchownat utime utimes utimensat futimesat socket connect bind listen accept accept4
        sendto execve clone clone3 fork vfork)
# -I2: a signal ends strace, which lets go of what it follows (by default, given an
# output file, strace holds off fatal signals).
strace -I2 -ff -q -s 256 -o "$work/trace" -e trace="$(IFS=,; echo "${traced[*]}")" "$quiz" &
strace_pid=$!

# The program is strace's first child, the one whose trace begins by running it.
for _ in $(seq 100); do
    for file in "$work"/trace.*; do
        [[ -e "$file" ]] && head -n 1 "$file" | grep -qF "execve(\"$quiz\"" && quiz_pid=${file##*.}
    done
    [[ -n "$quiz_pid" ]] && break
    sleep 0.1
done
[[ -n "$quiz_pid" ]] || fail "strace did not start the program"

# Clicks at a point given in twips, as the screens are designed.
click() {
    local window=$1 x=$(( $2 / 15 )) y=$(( $3 / 15 ))
    xdotool mousemove --window "$window" --sync "$x" "$y" click 1
}

form1=$(shown Form1)
# Docks group the windows with the menu entry, and show its icon, by this class.
entry_class=$(sed -n 's/^StartupWMClass=//p' "$desktop_entry")
[[ "$entry_class" == "$window_class" ]] || fail "the desktop entry has StartupWMClass '$entry_class'"
wm_class=$(xprop -id "$form1" WM_CLASS)
[[ "$wm_class" == "WM_CLASS(STRING) = \"$(basename "$quiz")\", \"$entry_class\"" ]] \
    || fail "the title window has $wm_class"
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

# The program's trace ends with its exit; it is over in well under a second.
ended='^\+\+\+ (exited with|killed by) '
for _ in $(seq 50); do
    grep -qE "$ended" "$work/trace.$quiz_pid" && break
    sleep 0.1
done
outcome=$(grep -E "$ended" "$work/trace.$quiz_pid") || fail "the program still runs 5 s after its window was closed"
# strace would go on following what the program started.
kill "$strace_pid" 2>/dev/null || true
wait "$strace_pid" || true
strace_pid=
[[ "$outcome" == "+++ exited with 0 +++" ]] || fail "the program ended: $outcome"

# The program is its first thread and the threads it makes; any other process is one it
# started, which runs code of its own.
program=("$quiz_pid")
for (( i = 0; i < ${#program[@]}; i++ )); do
    program+=($(grep -E '^clone3?\(.*CLONE_THREAD.* = [0-9]+$' "$work/trace.${program[i]}" | sed -E 's/.* = //' || true))
done
program_traces=("${program[@]/#/$work/trace.}")
started=()
for file in "$work"/trace.*; do
    [[ " ${program_traces[*]} " == *" $file "* ]] || started+=("$file")
done

display_number=${DISPLAY#*:}
display=/tmp/.X11-unix/X${display_number%%.*}
# A call that failed created nothing: an existing directory that Qt's runtime-directory
# check tries to make, a helper that is not installed.
succeeded='/ = (0|[1-9][0-9]*)$|EINPROGRESS/'
# A socket's path, in the file system or abstract alike.
socket_path='function socket_path(line, quoted) {
    if (!sub(/.*sun_path=@?"/, "", line)) return ""
    split(line, quoted, "\""); return quoted[1]
}'
# The program may reach what it started: the session bus it launched.
started_sockets=$(cat /dev/null "${started[@]}" | awk "$socket_path $succeeded"' && /^bind\(/ {
    print socket_path($0)
}')
violations=$(
    cat "${program_traces[@]}" | awk -v display="$display" -v started="$started_sockets" "$socket_path $succeeded"' {
        if (/^(open|openat|openat2)\(/) {
            if (/O_WRONLY|O_RDWR|O_CREAT|O_TRUNC|O_APPEND/ && !/"\/dev\/null"/) print
        } else if (/^socket\(/) {
            if (!/^socket\(AF_UNIX,/) print
        } else if (/^connect\(/) {
            path = socket_path($0)
            if (path != display && (path == "" || index("\n" started "\n", "\n" path "\n") == 0)) print
        } else if (/^sendto\(/) {
            if (!/, NULL, 0\) = /) print
        } else if (!/^(execve|clone|clone3|fork|vfork)\(/) {
            print
        }
    }'
)
# What the started processes made is theirs: libdbus's autolaunch keeps the address of the
# bus it launched in the home folder, the bus its services' folder in the runtime folder.
made_by_started=$(
    cat /dev/null "${started[@]}" | awk "$succeeded"' {
        if (/^(mkdir|mkdirat)\(/ || (/^(open|openat|openat2|creat)\(/ && /O_CREAT/)) {
            split($0, quoted, "\""); print quoted[2]
        }
    }' | sort -u
)
found=$(find "$work/home" "$work/runtime" -mindepth 1 | sort)
left=$(comm -23 <(echo "$found") <(echo "$made_by_started") | sed '/^$/d')
left_by_started=$(comm -12 <(echo "$found") <(echo "$made_by_started") | sed '/^$/d')
ran=$(cat /dev/null "${started[@]}" | grep -E '^execve\(.* = 0$' \
      | sed -E 's/^execve\("[^"]*\/([^"/]*)".*/\1/' | sort -u | tr '\n' ' ' || true)
[[ -z "$ran" ]] || echo "x-run: note, the program started $ran(libdbus's autolaunch of a session bus for Qt's accessibility bridge)${left_by_started:+, which left:
$left_by_started}"
if [[ -n "$violations" || -n "$left" ]]; then
    [[ -z "$violations" ]] || printf 'x-run: files written or sockets opened:\n%s\n' "$violations" >&2
    [[ -z "$left" ]] || printf 'x-run: files left behind:\n%s\n' "$left" >&2
    exit 1
fi
connections=$(cat "${program_traces[@]}" | grep -cE "^connect\\(.*\"$display\".*= 0$" || true)
(( connections > 0 )) || fail "the trace shows no display connection: did strace trace the program?"
echo "x-run: whole quiz taken; $connections connection(s) to $display${started_sockets:+ and the session bus}, from ${#program[@]} threads; no file written"
