// SPDX-License-Identifier: GPL-3.0-or-later
#include "screens/results/form5.h"

#include "controls/colours.h"
#include "controls/design.h"

#include <QLabel>

#include <utility>

using namespace Qt::StringLiterals;
using namespace design;

namespace screens {

namespace {
constexpr Colours Title{.text = 0x0000FF};
constexpr Colours Field{.text = colour::Salmon};
constexpr Font TitleFont{.points = 18, .bold = true};
constexpr Font FieldFont{.points = 24};

// A right answer's verdict by its points, from 1: the noun takes the case the number asks for.
constexpr std::array<QStringView, 3> RightVerdicts{u"верно (1 балл)", u"верно (2 балла)",
                                                   u"верно (3 балла)"};
constexpr QStringView WrongVerdict = u"неверно";
}  // namespace

Form5::Form5() : Screen(u"Form5"_s, u"Ссылки в Excel"_s, 10245, 7290, std::nullopt)
{
    // Screen readers walk the labels in the order they are made, and nothing here takes
    // the focus to guide them: each title comes before its verdict, and the bottom row
    // goes from left to right, as the screen is read.
    // One line per control, as in the design table.
    // clang-format off
    Label1 = label(this, u"Label1"_s, {-360, 120, 3375, 975}, u"Вопрос 1:"_s, TitleFont, Title, Align::Centre);
    Label4 = label(this, u"Label4"_s, {5640, 120, 4215, 975}, u"Label4"_s, FieldFont, Field, Align::Centre, Border::FixedSingle);
    Label2 = label(this, u"Label2"_s, {480, 1080, 2775, 975}, u"Вопрос 2:"_s, TitleFont, Title, Align::Centre);
    Label5 = label(this, u"Label5"_s, {5640, 1080, 4215, 975}, u"Label5"_s, FieldFont, Field, Align::Centre, Border::FixedSingle);
    Label3 = label(this, u"Label3"_s, {960, 2040, 3015, 855}, u"Вопрос 3:"_s, TitleFont, Title, Align::Centre);
    Label6 = label(this, u"Label6"_s, {5640, 2040, 4215, 975}, u"Label6"_s, FieldFont, Field, Align::Centre, Border::FixedSingle);
    Label9 = label(this, u"Label9"_s, {1680, 3120, 2775, 735}, u"Вопрос 4:"_s, TitleFont, Title, Align::Centre);
    Label10 = label(this, u"Label10"_s, {5640, 3120, 4215, 975}, u"Label10"_s, FieldFont, Field, Align::Centre, Border::FixedSingle);
    Label11 = label(this, u"Label11"_s, {2880, 4080, 2295, 855}, u"Вопрос 5:"_s, TitleFont, Title, Align::Left);
    Label12 = label(this, u"Label12"_s, {5640, 4080, 4215, 1095}, u"Label12"_s, FieldFont, Field, Align::Centre, Border::FixedSingle);
    Label7 = label(this, u"Label7"_s, {120, 5640, 3135, 855}, u"Ваша оценка"_s, {.points = 24, .bold = true}, {.text = colour::Red}, Align::Left);
    Label8 = label(this, u"Label8"_s, {3720, 5400, 1455, 1455}, u"Label8"_s, {.points = 39, .bold = true}, {.text = 0xFF00FF}, Align::Centre, Border::FixedSingle);
    Label13 = label(this, u"Label13"_s, {5760, 5280, 2415, 1575}, u"Набрано баллов"_s, {.points = 24}, Title, Align::Centre);
    Label14 = label(this, u"Label14"_s, {8400, 5280, 1335, 975}, u"Label14"_s, FieldFont, Field, Align::Left);
    // clang-format on

    // Each caption names its field, so that a screen reader reads them as pairs, in this
    // order, when the screen opens.
    for (const auto &[caption, field] : {std::pair{Label1, Label4},
                                         {Label2, Label5},
                                         {Label3, Label6},
                                         {Label9, Label10},
                                         {Label11, Label12},
                                         {Label7, Label8},
                                         {Label13, Label14}})
        caption->setBuddy(field);
}

void Form5::showResults(const Verdicts &verdicts, std::uint8_t total, std::int16_t grade)
{
    const std::array<QLabel *, QuestionCount> fields{Label4, Label5, Label6, Label10, Label12};
    for (std::size_t question = 0; question < QuestionCount; ++question) {
        const Verdict verdict = verdicts.at(question);
        fields.at(question)->setText(
            (verdict.right ? RightVerdicts.at(verdict.points - 1U) : WrongVerdict).toString());
    }
    Label14->setText(QString::number(total));
    Label8->setText(QString::number(grade));
}

}  // namespace screens
