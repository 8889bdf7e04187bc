#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Takes a whole quiz with the keyboard alone under the screen reader Orca, as a blind
# student would, and checks that every screen is heard when it appears, without flat
# review or any other key: the title, the four paragraphs and the button, each question
# with the focused option and its state, the formula question with "Введите формулу", and
# the results with each question's verdict, the grade and the total. On each question an
# arrow key chooses an option; the results must judge the option Orca last said was
# selected. Orca speaks nothing here: it logs every line it would speak as SPEECH OUTPUT.
#
# Usage, on a display and a session bus of its own:
#   xvfb-run -a dbus-run-session -- x_orca_check.sh QUIZ
set -euo pipefail

quiz=$1
check=x-orca
source "$(dirname "$0")/x_helpers.sh"
need orca script xdotool pgrep
launcher=/usr/libexec/at-spi-bus-launcher
[[ -x $launcher ]] || { echo "$check: $launcher is missing (script/test installs at-spi2-core)" >&2; exit 2; }
[[ -n "${DBUS_SESSION_BUS_ADDRESS:-}" ]] || { echo "$check: no session bus (run under dbus-run-session)" >&2; exit 2; }

work=$(mktemp -d)
log=$work/orca.log
quiz_pid=
launcher_pid=
terminal_pid=
cleanup() {
    [[ -n "$quiz_pid" ]] && kill "$quiz_pid" 2>/dev/null || true
    # Orca waits for an event before it heeds SIGTERM; the X server it changed the
    # keyboard of goes with this check.
    [[ -n "$terminal_pid" ]] && pkill -KILL -P "$terminal_pid" 2>/dev/null || true
    [[ -n "$launcher_pid" ]] && kill "$launcher_pid" 2>/dev/null || true
    wait 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

student_session "$work"
# Orca's own words ("push button", "selected") in English whatever the machine's language;
# settings in memory, not in the home folder.
export LC_ALL=C.UTF-8 LANGUAGE= GSETTINGS_BACKEND=memory

# Orca starts alone for a user: it would refuse, or with --replace end the other one.
for _ in $(seq 300); do
    pgrep -u "$(id -u)" -x orca >/dev/null || break
    sleep 0.1
done
pgrep -u "$(id -u)" -x orca >/dev/null && fail "another Orca runs for this user"

"$launcher" --launch-immediately &
launcher_pid=$!
# Orca writes its debug log through a buffer unless it goes to a terminal: script(1) gives
# it one and copies each line to the log as it comes. SPEECHD_CMD keeps Orca from waiting
# for a speech server that has no sound to play.
SPEECHD_CMD=/bin/false script -qfec "orca --debug-file=/dev/tty" "$log" >/dev/null 2>&1 &
terminal_pid=$!
for _ in $(seq 300); do
    grep -qa 'ORCA: Startup complete' "$log" 2>/dev/null && break
    kill -0 "$terminal_pid" 2>/dev/null || fail "Orca did not start: $(tail -n 5 "$log" 2>/dev/null)"
    sleep 0.1
done
grep -qa 'ORCA: Startup complete' "$log" || fail "Orca did not start in 30 s"

"$quiz" >"$work/quiz.log" 2>&1 &
quiz_pid=$!

# What Orca has said, one utterance a line.
spoken() {
    tr -d '\r' <"$log" | sed -n "s/^[0-9:.]* - SPEECH OUTPUT: '\(.*\)'\( voice=[a-z]*\)\? \?{.*}$/\1/p"
}

# Waits until Orca has said the phrases, in this order, since the phrases heard before; a
# phrase that begins and ends with a line break is a whole utterance. Orca takes well
# under a second; the limit is generous for a busy machine.
heard_lines=0
heard() {
    local said rest consumed breaks i
    for _ in $(seq 200); do
        said=$(spoken | tail -n +$((heard_lines + 1)))
        rest=$'\n'$said$'\n'
        for (( i = 1; i <= $#; i++ )); do
            [[ "$rest" == *"${!i}"* ]] || break
            rest=${rest#*"${!i}"}
        done
        if (( i > $# )); then
            # The next phrases are looked for after the utterance the last one ended in.
            consumed=$'\n'$said$'\n'
            consumed=${consumed%"$rest"}
            breaks=${consumed%$'\n'}
            breaks=${breaks//[!$'\n']/}
            heard_lines=$(( heard_lines + ${#breaks} ))
            return
        fi
        kill -0 "$quiz_pid" 2>/dev/null || fail "the program ended: $(tail -n 5 "$work/quiz.log")"
        sleep 0.1
    done
    printf '%s: Orca did not say, in this order:\n' "$check" >&2
    printf '  %s\n' "$@" >&2
    printf '%s: it said:\n%s\n' "$check" "$said" >&2
    exit 1
}

# An arrow key on a question: Orca must say that the option it reaches is selected.
# Prints that option.
choose() {
    xdotool key "$1"
    heard $'\nselected radio button\n'
    spoken | head -n "$heard_lines" | tail -n 2 | head -n 1 | sed 's/\.$//'
}

# The verdicts the results must show, one per question.
verdicts=()
# The right answers and the verdict a right one gets, per question.
rights=(
    'латинскими буквами и сочетаниями букв'
    'выполнения различных расчетов и математических операций'
    '=$C$4+D3'
    '=$D5+H$1'
)
right_verdicts=('верно (1 балл)' 'верно (1 балл)' 'верно (2 балла)' 'верно (2 балла)')
points=(1 1 2 2)
total=0

heard 'Тест по теме: Ссылки в Еxcel'
shown Form6 >/dev/null
paragraphs=(
    'Абсолютная ссылка в формуле используется для указания адреса ячейки, вычисляемого в абсолютной системе координат и независящего от текущей ячейки. Пример: $А$1, $L$77  и т.п.'
    'Относительная ссылка  в формуле используется для указания адреса ячейки, вычисляемого в относительной системе координат с началом в текущей ячейке. Пример: B4, Z55 и т.п.'
    'При копировании формулы абсолютные ссылки не изменяются, а относительные обновляются относительно нового положения формулы.'
    'Можно использовать в формулах смешанные ссылки. Часть ссылки не изменяется при копировании, а другая часть может обновляться. Пример: $T6,  P$15'
)
heard "${paragraphs[@]}" 'Начать тест push button'
xdotool key Return

# Each question opens with the focus on the option first in tab order, which leaves the
# design's selection; an arrow moves the focus and the selection, away from the edge.
questions=(
    'На рабочем листе заголовки столбцов обозначаются...'
    'Excel - это программа для ...'
    'В ячейку D5 ввели формулу =$C$4+F6 . Затем скопировали формулу в ячейку B2. Что получится?'
    'В ячейку A5 ввели формулу =$D6+F$1. Затем скопировали формулу в ячейку C4. Что получится?'
)
arrows=(Up Down Up Down)
screens=(Form2 Form7 Form3 Form8)
for i in 0 1 2 3; do
    shown "${screens[i]}" >/dev/null
    heard "${questions[i]}" 'radio button'
    option=$(choose "${arrows[i]}")
    if [[ "$option" == "${rights[i]}" ]]; then
        verdicts+=("${right_verdicts[i]}")
        total=$(( total + points[i] ))
    else
        verdicts+=('неверно')
    fi
    xdotool key Tab
    heard 'Ввод push button'
    xdotool key Return
done

shown Form4 >/dev/null
question5='Какую формулу нужно ввести в ячейку С4, для получения значения оплаты электроэнергии за январь, так чтобы ее можно было скопировать в ячейки С5 и С6?'
heard "$question5" 'Введите формулу' 'Ввод push button'
xdotool key Tab
heard 'Введите формулу text'
xdotool type --delay 20 '=$B$1*(B4-B3)'
xdotool key shift+Tab
heard 'Ввод push button'
xdotool key Return
total=$(( total + 3 ))

grades=(2 2 2 2 3 3 4 4 5 5)
shown Form5 >/dev/null
heard "Вопрос 1: ${verdicts[0]}. Вопрос 2: ${verdicts[1]}. Вопрос 3: ${verdicts[2]}. Вопрос 4: ${verdicts[3]}. Вопрос 5: верно (3 балла). Ваша оценка ${grades[total]}. Набрано баллов $total"
echo "$check: Orca read every screen; the results are those of the options it said were chosen (total $total)"
