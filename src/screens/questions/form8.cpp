// SPDX-License-Identifier: GPL-3.0-or-later
#include "screens/questions/form8.h"

#include "controls/colours.h"
#include "controls/design.h"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

using namespace Qt::StringLiterals;
using namespace design;

namespace screens {

namespace {
constexpr QRgb Paper = 0xC0FFFF;
constexpr QRgb Options = 0xC0C0FF;
}  // namespace

// This screen's title alone ends with a blank.
Form8::Form8(shell::RandomSource &random)
    : SingleChoiceScreen(Question::Four, random, u"Form8"_s, u"Ссылки в Excel "_s, 10515, 7560,
                         Paper)
{
    // One line per control, as in the design table.
    // clang-format off
    Label1 = label(this, u"Label1"_s, {600, 480, 8415, 1455}, u"В ячейку A5 ввели формулу =$D6+F$1. Затем скопировали формулу в ячейку C4. Что получится?"_s, {.points = 13.5}, {.text = colour::Salmon, .back = Paper}, Align::Left, Border::FixedSingle);
    Frame1 = frame(this, u"Frame1"_s, {480, 2400, 3735, 3015}, u"Варианты ответов"_s, {.points = 12, .bold = true}, {.back = Options});
    Option1[0] = option(Frame1, u"Option1(0)"_s, {240, 480, 2655, 495}, {.points = 9.75}, {.back = Options}, true);
    Option1[1] = option(Frame1, u"Option1(1)"_s, {240, 1080, 2535, 615}, {.points = 9.75}, {.back = Options});
    Option1[2] = option(Frame1, u"Option1(2)"_s, {240, 1800, 2535, 615}, {.points = 9.75}, {.back = Options});
    Picture1 = pictureBox(this, u"Picture1"_s, {5160, 2400, 4455, 3375}, u":/pictures/worksheet.bmp"_s, Sizing::Fixed, WorksheetSpoken.toString());
    Command1 = button(this, u"Command1"_s, {7080, 6360, 2535, 735}, u"Ввод"_s, {.points = 18, .bold = true}, colour::Pink);
    // clang-format on

    tabOrder({Option1[0], Option1[1], Option1[2], Command1});
    handle(Command1, &QPushButton::clicked, &Form8::judge);
}

}  // namespace screens
