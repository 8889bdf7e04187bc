// SPDX-License-Identifier: GPL-3.0-or-later
#include "screens/questions/form7.h"

#include "controls/colours.h"
#include "controls/design.h"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

using namespace Qt::StringLiterals;
using namespace design;

namespace screens {

Form7::Form7(shell::RandomSource &random)
    : SingleChoiceScreen(Question::Two, random, u"Form7"_s, u"Ссылки в Excel"_s, 10395, 7350,
                         std::nullopt)
{
    // One line per control, as in the design table.
    // clang-format off
    Label1 = label(this, u"Label1"_s, {1080, 480, 8295, 975}, u"Excel - это программа для ..."_s, {.points = 24}, {.text = colour::Salmon}, Align::Centre);
    Frame1 = frame(this, u"Frame1"_s, {720, 1920, 3615, 3015}, u"Варианты ответов"_s, {.points = 12}, {.text = 0xFFC080});
    Option1[0] = option(Frame1, u"Option1(0)"_s, {480, 600, 2895, 375}, DefaultFont, {});
    Option1[1] = option(Frame1, u"Option1(1)"_s, {480, 1200, 2895, 615}, DefaultFont, {});
    Option1[2] = option(Frame1, u"Option1(2)"_s, {480, 1920, 2895, 495}, DefaultFont, {});
    Command1 = button(this, u"Command1"_s, {7080, 6240, 2535, 735}, u"Ввод"_s, {.points = 18}, colour::Pink);
    // clang-format on

    tabOrder({Option1[0], Option1[1], Option1[2], Command1});
    handle(Command1, &QPushButton::clicked, &Form7::judge);
}

}  // namespace screens
