// SPDX-License-Identifier: GPL-3.0-or-later
#include "screens/questions/form2.h"

#include "controls/design.h"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

using namespace Qt::StringLiterals;
using namespace design;

namespace screens {

Form2::Form2()
    : SingleChoiceScreen(Question::One, u"Form2"_s, u"Ссылки в Excel"_s, 10320, 7380, 0xFFC0C0)
{
    // One line per control, as in the design table.
    // clang-format off
    Label1 = label(this, u"Label1"_s, {240, 240, 9735, 1455}, u"На рабочем листе заголовки столбцов обозначаются..."_s, {.points = 18}, {.text = 0x804000, .back = 0xFFC0C0}, Align::Left, Border::FixedSingle);
    Frame1 = frame(this, u"Frame1"_s, {480, 2760, 3615, 2655}, u"Варианты ответов"_s, {.points = 12, .bold = true}, {.text = 0xFF8000, .back = 0xFFE0C0});
    Option1[0] = option(Frame1, u"Option1(0)"_s, {600, 480, 2775, 375}, DefaultFont, {.back = 0xFFE0C0}, true);
    Option1[1] = option(Frame1, u"Option1(1)"_s, {600, 1200, 2775, 375}, DefaultFont, {.back = 0xFFE0C0});
    Option1[2] = option(Frame1, u"Option1(2)"_s, {600, 1920, 2775, 375}, DefaultFont, {.back = 0xFFE0C0});
    Command1 = button(this, u"Command1"_s, {6600, 6240, 2775, 735}, u"Ввод"_s, {.points = 18}, 0xFF8080);
    // clang-format on

    tabOrder({Option1[2], Option1[1], Option1[0], Command1});
    handle(Command1, &QPushButton::clicked, &Form2::Command1_Click);
}

void Form2::Command1_Click()
{
    judge();
}

}  // namespace screens
