// SPDX-License-Identifier: GPL-3.0-or-later
#include "screens/questions/form3.h"

#include "controls/colours.h"
#include "controls/design.h"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

using namespace Qt::StringLiterals;
using namespace design;

namespace screens {

namespace {
constexpr QRgb Paper = 0xFFC0FF;
constexpr QRgb Options = 0x8080FF;
}  // namespace

Form3::Form3(shell::RandomSource &random)
    : SingleChoiceScreen(Question::Three, random, u"Form3"_s, u"Ссылки в Excel"_s, 10110, 7470,
                         Paper, shell::BorderStyle::FixedSingle)
{
    // One line per control, as in the design table.
    // clang-format off
    Label1 = label(this, u"Label1"_s, {720, 360, 8775, 1575}, u"В ячейку D5 ввели формулу =$C$4+F6 . Затем скопировали формулу в ячейку B2. Что получится?"_s, {.points = 13.5, .bold = true}, {.back = Paper}, Align::Left, Border::FixedSingle);
    Frame2 = frame(this, u"Frame2"_s, {480, 2400, 3735, 2775}, u"Варианты ответов"_s, {.points = 12, .bold = true}, {.text = colour::Orange, .back = Options});
    Option1[0] = option(Frame2, u"Option1(0)"_s, {720, 600, 1815, 375}, {.points = 9.75}, {.back = Options}, true);
    Option1[1] = option(Frame2, u"Option1(1)"_s, {720, 1080, 2055, 375}, {.points = 9.75}, {.back = Options});
    Option1[2] = option(Frame2, u"Option1(2)"_s, {720, 1560, 2055, 375}, {.points = 9.75}, {.back = Options});
    Picture1 = pictureBox(this, u"Picture1"_s, {4800, 2280, 4455, 3375}, u":/pictures/worksheet.bmp"_s, Sizing::Fixed, WorksheetSpoken.toString());
    Command2 = button(this, u"Command2"_s, {6960, 6120, 2895, 615}, u"Ввод"_s, {.points = 18, .bold = true}, colour::Salmon);
    // clang-format on

    tabOrder({Option1[2], Option1[1], Option1[0], Command2});
    handle(Command2, &QPushButton::clicked, &Form3::judge);
}

}  // namespace screens
