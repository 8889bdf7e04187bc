#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The Windows program and its installer under Wine, on an X server of their own, driven from
# outside as the X run check drives the Linux program: the program file (imports, hardening,
# resources), whole quizzes with every screen compared with its reference and the results read
# off the screen, the title's hand-over time, a window closed mid-quiz, the screens at 120 and
# 144 dots per inch, and the installer's silent install and uninstall.
#
# Usage, on a display of its own, after script/windows:
#   xvfb-run -a -s "-screen 0 1280x1024x24" wine_check.sh WINDOWS-BUILD X-SCREEN CLOSE-WINDOW-TOOL
set -euo pipefail

build=$1
x_screen=$2
close_window=$3
exe=$build/refs-quiz.exe
setup=$(echo "$build"/refs-quiz-*-setup.exe)
wine=/usr/lib/wine/wine64
wineserver=/usr/lib/wine/wineserver
check=wine
installer=script/windows
# Wine names the windows' class after the program file.
quiz_class='^refs-quiz\.exe$'
source "$(dirname "$0")/x_helpers.sh"
need xdotool
for tool in "$wine" "$wineserver" x86_64-w64-mingw32-objdump; do
    command -v "$tool" >/dev/null \
        || { echo "$check: $tool is missing (script/windows installs it)" >&2; exit 2; }
done

work=$(mktemp -d)
quiz_pid=
watch_pid=
stand_in_pid=
cleanup() {
    [[ -n "$quiz_pid" ]] && kill "$quiz_pid" 2>/dev/null || true
    [[ -n "$watch_pid" ]] && kill "$watch_pid" 2>/dev/null || true
    [[ -n "$stand_in_pid" ]] && kill "$stand_in_pid" 2>/dev/null || true
    [[ -d "$work/prefix" ]] && WINEPREFIX=$work/prefix "$wineserver" -k 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

note() { echo "$check: $*"; }
# Waits for a watcher to say it is watching.
watching() {
    for _ in $(seq 100); do
        grep -q watching "$1" && return
        sleep 0.05
    done
    fail "a watcher did not start"
}

# ---- The program file ------------------------------------------------------------------------
objdump=x86_64-w64-mingw32-objdump
"$objdump" -p "$exe" > "$work/headers"
grep -q 'DLL Name:' "$work/headers" || fail "no import table read from $exe"
flags=$(awk '/^DllCharacteristics/ { on = 1; next } on && /^\t+[A-Z_]+$/ { print $1; next } { on = 0 }' \
    "$work/headers" | sort | tr '\n' ' ')
for flag in DYNAMIC_BASE HIGH_ENTROPY_VA NX_COMPAT; do
    [[ " $flags" == *" $flag "* ]] || fail "the program lacks $flag (has: $flags)"
done
# Symbols and debug sections would mean it went out unstripped.
! "$objdump" -h "$exe" | grep -q ' \.debug' || fail "the program carries debug sections"
"$objdump" -t "$exe" | grep -q '^\[' && fail "the program carries a symbol table"
# The icon's three images, its group and the version record, counted in the resource tree.
read -r icons groups versions < <(awk '
    /^[0-9a-f]+   Entry: ID: / { type = $4; sub(/,$/, "", type); next }
    /^[0-9a-f]+     Entry: ID: / { count[type]++ }
    END { print count["0x000003"] + 0, count["0x00000e"] + 0, count["0x000010"] + 0 }' "$work/headers")
[[ "$icons $groups $versions" == "3 1 1" ]] \
    || fail "resources: $icons icon images, $groups icon groups, $versions version records"
x86_64-w64-mingw32-objcopy -O binary --only-section=.rsrc "$exe" "$work/rsrc"
# VS_FIXEDFILEINFO: signature, structure version, then file and product version 1.0.0.0.
od -An -tx1 -v "$work/rsrc" | tr -d ' \n' | grep -q 'bd04effe000001000000010000000000000001000000000' \
    || fail "the numeric version record is not 1.0.0.0"
strings -el "$work/rsrc" > "$work/strings"
for field in FileVersion ProductVersion; do
    grep -A1 -x "$field" "$work/strings" | tail -1 | grep -qx '1.00' || fail "$field is not 1.00"
done

# ---- Wine --------------------------------------------------------------------------------------
# Before Wine hides a window it waits, up to two seconds, for a window manager to have put the
# window into its normal state ("fixme:event:wait_for_withdrawn_state ... wait timed out"). The
# X server here has no window manager, so a stand-in does that one thing for every window.
"$x_screen" acknowledge-maps > "$work/stand-in" 2>/dev/null &
stand_in_pid=$!
watching "$work/stand-in"
export WINEPREFIX=$work/prefix WINEARCH=win64 WINEDEBUG=-all
# No Mono or Gecko installer dialogs; no menu entries written into the home directory.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
"$wine" wineboot --init >/dev/null 2>&1 || fail "wineboot failed"
"$wineserver" -w
system32=$WINEPREFIX/drive_c/windows/system32

# Only Windows' own libraries: each one the program imports is one Wine provides as Windows',
# or an API set, which the loader of Windows 10 and later maps to one of them.
while read -r dll; do
    [[ "$dll" == api-ms-win-* || ( -n "$(find "$system32" -maxdepth 1 -iname "$dll" -print -quit)" \
        && "$dll" != lib* && "$dll" != Qt* ) ]] \
        || fail "the program imports $dll, which is no Windows system library"
done < <(awk '/DLL Name:/ { print $3 }' "$work/headers")
note "program file: imports only $(awk '/DLL Name:/ { printf "%s ", $3 }' "$work/headers")"
note "program file: $flags; stripped; 3 icon images; version 1.00"

# Windows keeps a bitmap "MS Sans Serif", the face the screens are designed in, in its fonts
# folder; Wine has one too, but elsewhere. Put there, it must not stand in for the embedded face.
bitmap_face=/usr/share/wine/fonts/sserife.fon
[[ -f "$bitmap_face" ]] || fail "no $bitmap_face (Debian's fonts-wine; script/windows installs it)"
cp "$bitmap_face" "$WINEPREFIX/drive_c/windows/Fonts/"

# The program alone in a folder, as a teacher copies it.
mkdir -p "$WINEPREFIX/drive_c/quiz"
cp "$exe" "$WINEPREFIX/drive_c/quiz/refs-quiz.exe"

set_dpi() {
    "$wine" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null 2>&1
    "$wineserver" -w
    quiz_scale=$(awk -v dpi="$1" 'BEGIN { print dpi / 96 }')
}

# Compares the screen with its reference and sets the places to click (options, button, text)
# and right, the option holding the right answer.
screen_matches() {
    local window=$1 screen=$2
    shift 2
    local places
    places=$("$x_screen" check "$window" "$screen" "$quiz_scale" "$@" \
        2> >(grep -v XDG_RUNTIME_DIR >&2)) \
        || fail "$screen does not look as its reference (run $run)"
    eval "$places"
}

press() {
    local window=$1 x y
    read -r x y <<< "$2"
    xdotool mousemove --window "$window" --sync "$x" "$y" click 1
}

hand_overs=()
# Takes a whole quiz: ANSWERS holds right or wrong for questions 1 to 4, FORMULA is typed into
# question 5, and RESULTS are the five verdicts, the total and the grade the results must show.
# With STOP=screen the window is closed there instead, and the program must end with status 0.
take_quiz() {
    local answers=($1) formula=$2 stop=${STOP:-}
    shift 2
    "$x_screen" title-hand-over "$quiz_scale" > "$work/hand-over" 2>/dev/null &
    watch_pid=$!
    watching "$work/hand-over"
    (cd "$WINEPREFIX/drive_c/quiz" && exec "$wine" refs-quiz.exe) &
    quiz_pid=$!

    local window screen question=0 slot
    window=$(shown Form1)
    screen_matches "$window" form1
    window=$(shown Form6)
    screen_matches "$window" form6
    wait "$watch_pid" || fail "the title's hand-over was not seen (run $run)"
    watch_pid=
    hand_overs+=("$(tail -1 "$work/hand-over")")
    press "$window" "$button"
    for screen in Form2 Form7 Form3 Form8; do
        window=$(shown $screen)
        screen_matches "$window" "${screen,,}"
        [[ "$stop" == "$screen" ]] && break
        slot=$right
        [[ "${answers[$question]}" == right ]] || slot=$(( right % 3 + 1 ))
        press "$window" "${options[$((slot - 1))]}"
        press "$window" "$button"
        question=$((question + 1))
    done
    if [[ -z "$stop" ]]; then
        window=$(shown Form4)
        eval "$("$x_screen" places form4 "$quiz_scale" 2>/dev/null)"
        press "$window" "$text"
        xdotool type --delay 20 "$formula"
        # The reference shows the formula typed in.
        screen_matches "$window" form4
        press "$window" "$button"
        window=$(shown Form5)
        screen_matches "$window" form5 "$@"
        # The comparison reads the results: the screen does not pass for a total it does not show.
        if [[ $quiz_scale == 1 ]] \
            && "$x_screen" check "$window" form5 1 "${@:1:5}" $(( ($6 + 1) % 10 )) "$7" >/dev/null 2>&1; then
            fail "the results pass for a total of $(( ($6 + 1) % 10 )) as well (run $run)"
        fi
    fi
    "$close_window" "$window"

    ends_after_close "the program still runs after its window was closed (run $run)"
    local status=0
    wait "$quiz_pid" || status=$?
    quiz_pid=
    [[ $status -eq 0 ]] || fail "the program ended with status $status (run $run)"
    note "run $run: every screen as its reference${stop:+, closed on $stop, status 0}"
}

right1='верно (1 балл)' right2='верно (2 балла)' right3='верно (3 балла)' wrong='неверно'
set_dpi 96
run="all right" take_quiz "right right right right" '=$B$1*(B4-B3)' \
    "$right1" "$right1" "$right2" "$right2" "$right3" 9 5
# A blank after the right formula makes it wrong and leaves the screen as its reference.
run="all wrong" take_quiz "wrong wrong wrong wrong" '=$B$1*(B4-B3) ' \
    "$wrong" "$wrong" "$wrong" "$wrong" "$wrong" 0 2
# The sample run of the reference images: questions 1, 3 and 4 and the formula right.
run="mixed" take_quiz "right wrong right right" '=$B$1*(B4-B3)' \
    "$right1" "$wrong" "$right2" "$right2" "$right3" 8 5
run="closed mid-quiz" STOP=Form3 take_quiz "right wrong" ''

# The title's two seconds, as on Linux, from the title mapped to the instructions mapped: never
# early, and the median within 50 ms, as script/bench asks (other work on the machine can hold
# a single run up).
read -r earliest median < <(printf '%s\n' "${hand_overs[@]}" | sort -n | awk '{ v[NR] = $1 }
    END { print v[1], (NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2) }')
note "title hand-over: ${hand_overs[*]} ms (median $median)"
(( earliest >= 2000 )) || fail "the title handed over after $earliest ms, before its two seconds"
awk -v m="$median" 'BEGIN { exit !(m <= 2050) }' \
    || fail "the title handed over after $median ms (median), not 2000-2050"

# Classroom laptops at 125 % and 150 %: every screen scaled whole, nothing cut off.
for dpi in 120 144; do
    set_dpi "$dpi"
    run="$dpi dpi" take_quiz "right wrong right wrong" '=$B$1*(B4-B3)' \
        "$right1" "$wrong" "$right2" "$wrong" "$right3" 6 4
done
set_dpi 96

# ---- The installer -----------------------------------------------------------------------------
product='Ссылки в Excel'
key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\refs-quiz'
installed=$WINEPREFIX/drive_c/Program\ Files/refs-quiz
shortcut=$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start\ Menu/Programs/$product.lnk
# Files and registry as they stand, leaving out what Wine itself keeps changing.
state() {
    find "$WINEPREFIX/drive_c" -path "$WINEPREFIX/drive_c/windows" -prune -o -path '*/Temp' -prune \
        -o -print | sort
    "$wine" reg export HKLM\\Software "$work/hklm.reg" /y >/dev/null 2>&1
    "$wine" reg export HKCU\\Software "$work/hkcu.reg" /y >/dev/null 2>&1
    iconv -f UTF-16LE -t UTF-8 "$work/hklm.reg" "$work/hkcu.reg" | grep -v -e '^"InstallDate"' -e 'MUICache'
}
# A value of the uninstall entry, as text.
entry() {
    "$wine" reg export "$key" "$work/entry.reg" /y >/dev/null 2>&1 || return 0
    iconv -f UTF-16LE -t UTF-8 "$work/entry.reg" | tr -d '\r' | sed -n "s/^\"$1\"=//p"
}

"$wineserver" -w
state > "$work/before"
# A silent installer says nothing of why it stopped: Wine's errors and the free space (a full
# disk stops the extraction) tell a machine's trouble from the installer's. One failure seen on
# a CI machine did not come back in dozens of runs, so a second try is allowed, and reported.
install() {
    local status=0
    WINEDEBUG=err+all "$wine" "$setup" /S > "$work/installer.log" 2>&1 || status=$?
    "$wineserver" -w
    (( status == 0 )) && return
    echo "$check: the installer ended with status $status; Wine said:" >&2
    tail -20 "$work/installer.log" >&2
    df -h "$WINEPREFIX" "${TMPDIR:-/tmp}" >&2
    return "$status"
}
install || { note "trying the installer once more"; install; } || fail "the installer failed twice"
cmp -s "$exe" "$installed/refs-quiz.exe" || fail "no program installed in Program Files\\refs-quiz"
[[ -f "$installed/LICENSE.txt" && -f "$installed/uninstall.exe" ]] \
    || fail "the licence or the uninstaller is missing"
[[ -f "$shortcut" ]] || fail "no Start menu shortcut"
strings -el "$shortcut" | grep -qi 'refs-quiz\.exe' || fail "the shortcut does not lead to refs-quiz.exe"
declare -A expected=(
    [DisplayName]="\"$product\""
    [DisplayVersion]='"1.00"'
    [Publisher]='"Авторы refs-quiz"'
    [DisplayIcon]='"C:\\Program Files\\refs-quiz\\refs-quiz.exe,0"'
    [UninstallString]='"\"C:\\Program Files\\refs-quiz\\uninstall.exe\""'
    [QuietUninstallString]='"\"C:\\Program Files\\refs-quiz\\uninstall.exe\" /S"'
)
for name in "${!expected[@]}"; do
    value=$(entry "$name")
    [[ "$value" == "${expected[$name]}" ]] || fail "uninstall entry $name is $value, not ${expected[$name]}"
done
size_kb=$(( 16#$(entry EstimatedSize | sed 's/^dword://') ))
exe_kb=$(( $(stat -c %s "$exe") / 1024 ))
(( size_kb >= exe_kb && size_kb < exe_kb + 1024 )) \
    || fail "EstimatedSize is $size_kb KiB for a $exe_kb KiB program"
note "installer: silent install into Program Files\\refs-quiz, Start menu shortcut," \
    "uninstall entry (${size_kb} KiB)"

# The installed program starts from its shortcut, as a student starts it. The shortcut starts
# it apart from start.exe, which ends at once.
quiz_scale=1
"$wine" start /unix "$shortcut" || fail "the shortcut did not start the program"
for _ in $(seq 100); do
    quiz_pid=$(pgrep -f -x 'C:\\Program Files\\refs-quiz\\refs-quiz.exe' || true)
    [[ -n "$quiz_pid" ]] && break
    sleep 0.1
done
[[ -n "$quiz_pid" ]] || fail "the shortcut did not start the installed program"
window=$(shown Form1)
"$close_window" "$window"
ends_after_close "the installed program still runs after its window was closed"
quiz_pid=
"$wineserver" -w

"$wine" "$installed/uninstall.exe" /S || fail "the uninstaller ended with status $?"
# The uninstaller runs on from a copy of itself in the temporary folder.
"$wineserver" -w
state > "$work/after"
if ! diff "$work/before" "$work/after" > "$work/left"; then
    cat "$work/left" >&2
    fail "the uninstaller left the above behind"
fi
note "installer: the installed program started from its shortcut;" \
    "the uninstaller removed every file and key"
