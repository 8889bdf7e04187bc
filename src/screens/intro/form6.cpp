// SPDX-License-Identifier: GPL-3.0-or-later
#include "screens/intro/form6.h"

#include "controls/colours.h"
#include "controls/design.h"

#include <QLabel>
#include <QPushButton>

using namespace Qt::StringLiterals;
using namespace design;

namespace screens {

namespace {
constexpr QRgb Paper = colour::Peach;
constexpr Font Body{.points = 13.5};
}  // namespace

Form6::Form6() : Screen(u"Form6"_s, u"Ссылки в Excel"_s, 10035, 7110, Paper)
{
    // One line per control, as in the design table.
    // In Label1 "$А$1" has the Cyrillic А (U+0410) while "$L$77" is Latin. The double
    // blanks in Label1, Label2 and Label4 are the design's own.
    // clang-format off
    Label1 = label(this, u"Label1"_s, {120, 240, 9015, 1335}, u"Абсолютная ссылка в формуле используется для указания адреса ячейки, вычисляемого в абсолютной системе координат и независящего от текущей ячейки. Пример: $А$1, $L$77  и т.п."_s, Body, {.text = colour::Orange, .back = Paper});
    Label2 = label(this, u"Label2"_s, {360, 1800, 8535, 1095}, u"Относительная ссылка  в формуле используется для указания адреса ячейки, вычисляемого в относительной системе координат с началом в текущей ячейке. Пример: B4, Z55 и т.п."_s, Body, {.text = colour::Salmon, .back = Paper});
    Label3 = label(this, u"Label3"_s, {600, 3240, 8775, 1215}, u"При копировании формулы абсолютные ссылки не изменяются, а относительные обновляются относительно нового положения формулы."_s, Body, {.text = 0xC04000, .back = Paper});
    Label4 = label(this, u"Label4"_s, {1200, 4920, 8655, 1335}, u"Можно использовать в формулах смешанные ссылки. Часть ссылки не изменяется при копировании, а другая часть может обновляться. Пример: $T6,  P$15"_s, Body, {.text = colour::Brown, .back = Paper});
    Command1 = button(this, u"Command1"_s, {2160, 6480, 5775, 495}, u"Начать тест"_s, {.points = 24}, colour::Salmon);
    // clang-format on

    handle(Command1, &QPushButton::clicked, &Form6::advance);
}

}  // namespace screens
