// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "screens/questions/question_screen.h"
#include "shell/random_source.h"

#include <QStringView>

#include <array>
#include <cstdint>

class QRadioButton;

namespace screens {

// What a screen reader says of the worksheet picture on questions 3 and 4.
inline constexpr QStringView WorksheetSpoken =
    u"Пустой лист Excel: столбцы от A до H, строки от 1 до 12, выделена ячейка A1";

enum class Answer : std::uint8_t { Right, WrongA, WrongB };

// Which answer each of the three slots shows, one row per CorrectIndex 1..3.
using Placement = std::array<std::array<Answer, 3>, 3>;

// The three answer texts in alphabetical order, one line each, with the line of each
// answer beside them, so that the order of the texts in the executable does not tell
// which one is right. One literal: the linker reorders separate ones as it merges them.
struct AnswerTexts {
    QStringView alphabetical;
    std::array<std::uint8_t, 3> positionOf;  // indexed by Answer

    [[nodiscard]] constexpr QStringView operator[](Answer answer) const
    {
        qsizetype begin = 0;
        for (auto line = positionOf.at(static_cast<std::size_t>(answer)); line > 0; --line) {
            while (alphabetical.at(begin) != u'\n')
                ++begin;
            ++begin;
        }
        qsizetype end = begin;
        while (end < alphabetical.size() && alphabetical.at(end) != u'\n')
            ++end;
        return alphabetical.sliced(begin, end - begin);
    }
};

struct SingleChoiceQuestion {
    AnswerTexts answers;
    const Placement &placement;
};

enum class Question { One, Two, Three, Four };

[[nodiscard]] const SingleChoiceQuestion &question(Question which);

// floor(r * 3 + 1) in single precision, stored as a byte with the range check.
[[nodiscard]] std::uint8_t correctIndexFor(float r);

// One of the four screens that ask a question with three options, exactly one right.
// Loading seeds the run's generator from the clock, draws the slot of the right answer
// and places the texts; the button judges the selected option.
class SingleChoiceScreen : public QuestionScreen {
    Q_OBJECT

public:
    std::array<QRadioButton *, 3> Option1{};

protected:
    SingleChoiceScreen(Question which, shell::RandomSource &random, const QString &name,
                       const QString &caption, int clientWidth, int clientHeight,
                       std::optional<QRgb> background,
                       shell::BorderStyle border = shell::BorderStyle::Sizable);

    void Form_Load() override;

    // The click handler of the screen's button "Ввод".
    void judge();

private:
    // The answer each slot shows, or none while CorrectIndex is outside 1..3.
    [[nodiscard]] const std::array<Answer, 3> *placed() const;

    const SingleChoiceQuestion &m_question;
    shell::RandomSource &m_random;
    std::uint8_t CorrectIndex = 0;
};

}  // namespace screens
