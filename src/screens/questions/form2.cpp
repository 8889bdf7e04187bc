// SPDX-License-Identifier: GPL-3.0-or-later
#include "screens/questions/form2.h"

#include "controls/colours.h"
#include "controls/design.h"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

using namespace Qt::StringLiterals;
using namespace design;

namespace screens {

Form2::Form2(shell::RandomSource &random)
    : SingleChoiceScreen(Question::One, random, u"Form2"_s, u"Ссылки в Excel"_s, 10320, 7380,
                         colour::Pink)
{
    // One line per control, as in the design table.
    // clang-format off
    Label1 = label(this, u"Label1"_s, {240, 240, 9735, 1455}, u"На рабочем листе заголовки столбцов обозначаются..."_s, {.points = 18}, {.text = colour::Brown, .back = colour::Pink}, Align::Left, Border::FixedSingle);
    Frame1 = frame(this, u"Frame1"_s, {480, 2760, 3615, 2655}, u"Варианты ответов"_s, {.points = 12, .bold = true}, {.text = colour::Orange, .back = colour::Peach});
    Option1[0] = option(Frame1, u"Option1(0)"_s, {600, 480, 2775, 375}, DefaultFont, {.back = colour::Peach}, true);
    Option1[1] = option(Frame1, u"Option1(1)"_s, {600, 1200, 2775, 375}, DefaultFont, {.back = colour::Peach});
    Option1[2] = option(Frame1, u"Option1(2)"_s, {600, 1920, 2775, 375}, DefaultFont, {.back = colour::Peach});
    Command1 = button(this, u"Command1"_s, {6600, 6240, 2775, 735}, u"Ввод"_s, {.points = 18}, colour::Salmon);
    // clang-format on

    tabOrder({Option1[2], Option1[1], Option1[0], Command1});
    handle(Command1, &QPushButton::clicked, &Form2::judge);
}

}  // namespace screens
