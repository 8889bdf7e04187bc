// SPDX-License-Identifier: GPL-3.0-or-later
#include "screens/questions/single_choice.h"

#include "shell/runtime_error.h"

#include <QRadioButton>

#include <algorithm>
#include <cmath>
#include <optional>

namespace screens {

namespace {

using enum Answer;

// Question 1 rotates its texts through the slots; the others keep wrong answer A
// before wrong answer B.
constexpr Placement Rotated{{
    {Right, WrongA, WrongB},
    {WrongB, Right, WrongA},
    {WrongA, WrongB, Right},
}};
constexpr Placement InOrder{{
    {Right, WrongA, WrongB},
    {WrongA, Right, WrongB},
    {WrongA, WrongB, Right},
}};

// Kept as written: each entry reads answers, then placement.
// clang-format off
constexpr std::array<SingleChoiceQuestion, 4> Questions{{
    {{u"латинскими буквами и сочетаниями букв\nсловами\nчислами", {0, 2, 1}},
     Rotated},
    {{u"выполнения различных расчетов и математических операций\n"
      u"создания и обработки баз данных\n"
      u"создания и редактирования текстов",
      {0, 2, 1}},
     InOrder},
    {{u"=$A$1+D3\n=$C$4+D3\n=$C$4+D6", {1, 0, 2}},
     InOrder},
    {{u"=$D5+H$1\n=$D5+H$2\n=$F6+H$1", {0, 2, 1}},
     InOrder},
}};
// clang-format on

// Three lines in ascending order of their code units and every line given to one answer:
// otherwise the order in the executable could still follow the answers.
constexpr bool storedAlphabetically(const AnswerTexts &texts)
{
    const std::array<QStringView, 3> lines{texts[Right], texts[WrongA], texts[WrongB]};
    std::array<QStringView, 3> ordered{};
    for (std::size_t answer = 0; answer < lines.size(); ++answer) {
        if (texts.positionOf.at(answer) >= ordered.size()
            || !ordered.at(texts.positionOf.at(answer)).isNull())
            return false;
        ordered.at(texts.positionOf.at(answer)) = lines.at(answer);
    }
    const auto before = [](QStringView left, QStringView right) {
        for (qsizetype at = 0; at < left.size() && at < right.size(); ++at) {
            if (left.at(at) != right.at(at))
                return left.at(at) < right.at(at);
        }
        return left.size() < right.size();
    };
    return before(ordered[0], ordered[1]) && before(ordered[1], ordered[2])
        && ordered[0].size() + ordered[1].size() + ordered[2].size() + 2
        == texts.alphabetical.size();
}
static_assert(std::all_of(Questions.begin(), Questions.end(),
                          [](const SingleChoiceQuestion &question) {
                              return storedAlphabetically(question.answers);
                          }));

}  // namespace

const SingleChoiceQuestion &question(Question which)
{
    return Questions.at(static_cast<std::size_t>(which));
}

std::uint8_t correctIndexFor(float r)
{
    return shell::checkedByte(std::floor(r * 3.0F + 1.0F));
}

SingleChoiceScreen::SingleChoiceScreen(Question which, shell::RandomSource &random,
                                       const QString &name, const QString &caption, int clientWidth,
                                       int clientHeight, std::optional<QRgb> background,
                                       shell::BorderStyle border)
    : QuestionScreen(name, caption, clientWidth, clientHeight, background, border)
    , m_question(question(which))
    , m_random(random)
{}

void SingleChoiceScreen::Form_Load()
{
    m_random.randomize(shell::secondsSinceMidnight());
    CorrectIndex = correctIndexFor(m_random.next());

    // A value outside 1..3 cannot be drawn; it would leave the captions as designed.
    const auto *row = placed();
    if (!row)
        return;
    for (std::size_t slot = 0; slot < Option1.size(); ++slot)
        Option1.at(slot)->setText(m_question.answers[row->at(slot)].toString());
}

const std::array<Answer, 3> *SingleChoiceScreen::placed() const
{
    if (CorrectIndex < 1 || CorrectIndex > 3)
        return nullptr;
    return &m_question.placement.at(CorrectIndex - 1);
}

void SingleChoiceScreen::judge()
{
    std::optional<std::int16_t> chosen;
    for (std::size_t index = 0; index < Option1.size(); ++index) {
        if (Option1.at(index)->isChecked())
            chosen = static_cast<std::int16_t>(index + 1);
    }

    Response response;
    if (const auto *row = placed(); chosen && row) {
        const Answer answer = row->at(static_cast<std::size_t>(*chosen - 1));
        response.text =
            QChar(u'a' + m_question.answers.positionOf.at(static_cast<std::size_t>(answer)));
    }
    emit answered(chosen.value_or(0) == CorrectIndex, response);
}

}  // namespace screens
