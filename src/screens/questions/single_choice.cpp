#include "screens/questions/single_choice.h"

#include "screens/results/form5.h"
#include "shell/module1.h"
#include "shell/random_source.h"
#include "shell/runtime_error.h"

#include <QLabel>
#include <QRadioButton>

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

constexpr QStringView OnePoint = u"верно (1 балл)";
constexpr QStringView TwoPoints = u"верно (2 балла)";

constexpr std::array<SingleChoiceQuestion, 4> Questions{{
    {1, &Form5::Label4, OnePoint,
     {{u"латинскими буквами и сочетаниями букв", u"словами", u"числами"}, {0, 2, 1}},
     Rotated, shell::ScreenId::Form7},
    {1, &Form5::Label5, OnePoint,
     {{u"выполнения различных расчетов и математических операций",
       u"создания и обработки баз данных", u"создания и редактирования текстов"},
      {0, 2, 1}},
     InOrder, shell::ScreenId::Form3},
    {2, &Form5::Label6, TwoPoints,
     {{u"=$A$1+D3", u"=$C$4+D3", u"=$C$4+D6"}, {1, 0, 2}},
     InOrder, shell::ScreenId::Form8},
    {2, &Form5::Label10, TwoPoints,
     {{u"=$D5+H$1", u"=$D5+H$2", u"=$F6+H$1"}, {0, 2, 1}},
     InOrder, shell::ScreenId::Form4},
}};

}  // namespace

const SingleChoiceQuestion &question(Question which)
{
    return Questions.at(static_cast<std::size_t>(which));
}

std::uint8_t correctIndexFor(float r)
{
    return shell::checkedByte(std::floor(r * 3.0F + 1.0F));
}

SingleChoiceScreen::SingleChoiceScreen(Question which, const QString &name,
                                       const QString &caption, int clientWidth,
                                       int clientHeight, std::optional<QRgb> background,
                                       shell::BorderStyle border)
    : Screen(name, caption, clientWidth, clientHeight, background, border)
    , m_question(question(which))
{
}

void SingleChoiceScreen::Form_Load()
{
    shell::RandomSource &random = shell::randomSource();
    random.randomize(shell::timer());
    CorrectIndex = correctIndexFor(random.next());

    // A value outside 1..3 cannot be drawn; it would leave the captions as designed.
    if (CorrectIndex < 1 || CorrectIndex > 3)
        return;
    const auto &row = m_question.placement.at(CorrectIndex - 1);
    for (std::size_t slot = 0; slot < Option1.size(); ++slot)
        Option1.at(slot)->setText(m_question.answers[row.at(slot)].toString());
}

void SingleChoiceScreen::judge()
{
    std::optional<std::int16_t> chosen;
    for (std::size_t index = 0; index < Option1.size(); ++index) {
        if (Option1.at(index)->isChecked())
            chosen = static_cast<std::int16_t>(index + 1);
    }

    Form5 &results = shell::Form5();
    QLabel *field = results.*m_question.field;
    if (chosen.value_or(0) == CorrectIndex) {
        field->setText(m_question.verdictWhenRight.toString());
        Module1::addPoints(m_question.points);
    } else {
        field->setText(WrongVerdict.toString());
    }

    shell::handOver(*this, m_question.next);
}

}  // namespace screens
