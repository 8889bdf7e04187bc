// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/run_order.h"

#include <QStringList>
#include <QStringView>

#include <array>

// The quiz's answers as the tests know them, written down once for every suite. What a
// right answer is worth comes from the run's own order.
namespace answer_key {

struct SingleChoice {
    app::ScreenId screen;
    const char *button;                  // its "Ввод"
    std::array<QStringView, 3> answers;  // right, wrong A, wrong B
    // Question 1 rotates its texts through the slots; the others keep wrong answer A
    // before wrong answer B.
    bool rotated;
    int selectedAtStart;  // the slot, 1 to 3, the design selects; 0 for none
};

// clang-format off
inline constexpr std::array<SingleChoice, 4> SingleChoiceQuestions{{
    {app::ScreenId::Form2, "Command1",
     {u"латинскими буквами и сочетаниями букв", u"числами", u"словами"}, true, 1},
    {app::ScreenId::Form7, "Command1",
     {u"выполнения различных расчетов и математических операций",
      u"создания и редактирования текстов", u"создания и обработки баз данных"}, false, 0},
    {app::ScreenId::Form3, "Command2", {u"=$C$4+D3", u"=$A$1+D3", u"=$C$4+D6"}, false, 1},
    {app::ScreenId::Form8, "Command1", {u"=$D5+H$1", u"=$F6+H$1", u"=$D5+H$2"}, false, 1},
}};
// clang-format on

inline constexpr app::ScreenId FormulaScreen = app::ScreenId::Form4;
inline constexpr const char *FormulaButton = "Command3";
inline constexpr std::array<QStringView, 4> AcceptedFormulas{u"=$B$1*(B4-B3)", u"=$B$1*($B4-$B3)",
                                                             u"=(B4-B3)*$B$1", u"=($B4-$B3)*$B$1"};

inline constexpr QStringView WrongVerdict = u"неверно";

// What the results say of a right answer worth so many points.
[[nodiscard]] inline QString rightVerdict(int points)
{
    return points == 1 ? QStringLiteral("верно (1 балл)")
                       : QStringLiteral("верно (%1 балла)").arg(points);
}

// The captions of slots 1 to 3 with the right answer in slot correctIndex.
[[nodiscard]] inline QStringList captionsFor(const SingleChoice &question, int correctIndex)
{
    const auto [right, wrongA, wrongB] = question.answers;
    QStringList captions{wrongA.toString(), wrongB.toString()};
    if (question.rotated && correctIndex == 2)
        captions = {wrongB.toString(), wrongA.toString()};
    captions.insert(correctIndex - 1, right.toString());
    return captions;
}

[[nodiscard]] inline const SingleChoice *singleChoiceOn(app::ScreenId screen)
{
    for (const SingleChoice &question : SingleChoiceQuestions) {
        if (question.screen == screen)
            return &question;
    }
    return nullptr;
}

}  // namespace answer_key
