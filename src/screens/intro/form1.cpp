// SPDX-License-Identifier: GPL-3.0-or-later
#include "screens/intro/form1.h"

#include "controls/design.h"

#include <QLabel>
#include <QTimer>

using namespace Qt::StringLiterals;
using namespace design;

namespace screens {

namespace {
constexpr QRgb Paper = 0xFFFFC0;
}  // namespace

Form1::Form1() : Screen(u"Form1"_s, u"Ссылки в Excel"_s, 10125, 7230, Paper)
{
    // One line per control, as in the design table.
    // "Еxcel" in Label1 starts with the Cyrillic Е (U+0415), followed by Latin "xcel".
    // clang-format off
    Label1 = label(this, u"Label1"_s, {1200, 120, 7815, 2055}, u"Тест по теме: Ссылки в Еxcel"_s, {.points = 36, .bold = true, .italic = true}, {.text = 0x008000, .back = Paper}, Align::Centre);
    Picture1 = pictureBox(this, u"Picture1"_s, {1440, 2280, 7515, 4740}, u":/pictures/title.bmp"_s, Sizing::AutoSize, u"Рисунок: человек за компьютером"_s);
    Timer1 = timer(this, u"Timer1"_s, 2000);
    // clang-format on

    handle(Timer1, &QTimer::timeout, &Form1::Timer1_Timer);
}

void Form1::appeared()
{
    // The two seconds count from the moment the title is in front of the user.
    Timer1->start();
}

void Form1::Timer1_Timer()
{
    emit advance();
    Timer1->stop();
}

}  // namespace screens
