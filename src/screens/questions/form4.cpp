// SPDX-License-Identifier: GPL-3.0-or-later
#include "screens/questions/form4.h"

#include "controls/colours.h"
#include "controls/design.h"
#include "screens/questions/formula_judge.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

using namespace Qt::StringLiterals;
using namespace design;

namespace screens {

namespace {
// The picture holds the data the question works on, so a screen reader reads it out.
constexpr QStringView SpreadsheetSpoken =
    u"Таблица на листе Excel. A1: Стоимость 1 КВт, B1: 1,50р. "
    u"Строка 2: Месяц, Показания счетчика, Оплата за месяц. "
    u"A3: декабрь 2005, B3: 1280. A4: январь, B4: 1450. "
    u"A5: февраль, B5: 1630. A6: март, B6: 1860. Столбец C пуст.";
}  // namespace

Form4::Form4() : QuestionScreen(u"Form4"_s, u"Ссылки в Excel"_s, 9990, 7110, std::nullopt)
{
    // One line per control, as in the design table.
    // In Label1 the С of С4, С5 and С6 is the Cyrillic Es (U+0421), and the text ends
    // with a blank.
    // clang-format off
    Label1 = label(this, u"Label1"_s, {600, 360, 8655, 1335}, u"Какую формулу нужно ввести в ячейку С4, для получения значения оплаты электроэнергии за январь, так чтобы ее можно было скопировать в ячейки С5 и С6? "_s, {.points = 13.5, .bold = true}, {.back = 0xE0E0E0}, Align::Left, Border::FixedSingle);
    Label2 = label(this, u"Label2"_s, {600, 3000, 3495, 615}, u"Введите формулу"_s, {.points = 18}, {.text = colour::Red});
    Text1 = textBox(this, u"Text1"_s, {360, 3840, 3855, 735}, {.points = 18, .bold = true}, {.text = 0x800000}, u"Формула"_s);
    Image1 = image(this, u"Image1"_s, {4800, 2760, 4695, 2370}, u":/pictures/spreadsheet.bmp"_s, SpreadsheetSpoken.toString());
    Command3 = button(this, u"Command3"_s, {7200, 6120, 2415, 615}, u"Ввод"_s, {.points = 18, .bold = true}, colour::Pink);
    // clang-format on

    // The label names the box for screen readers: they read it when the box takes the
    // focus, and with the question when the screen opens.
    Label2->setBuddy(Text1);
    tabOrder({Command3, Text1});
    handle(Command3, &QPushButton::clicked, &Form4::judge);
}

void Form4::judge()
{
    emit answered(isAcceptedFormula(Text1->text()), {Response::Kind::Typed, Text1->text()});
}

}  // namespace screens
