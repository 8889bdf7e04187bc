// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "answer_key.h"

#include "app/quiz.h"
#include "controls/look.h"
#include "screens/intro/form1.h"
#include "screens/results/form5.h"
#include "screens/results/grade.h"
#include "shell/random_source.h"

#include <QApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QMetaEnum>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <QWidget>

#include <array>
#include <deque>
#include <initializer_list>
#include <memory>

namespace harness {

// Hands the load handlers the draws a test asks for, and counts the seedings.
class ScriptedDraws final : public shell::RandomSource {
public:
    ScriptedDraws(std::initializer_list<float> draws = {}) : m_draws(draws) {}

    void push(float draw) { m_draws.push_back(draw); }
    void randomize(float) override { ++seedings; }
    [[nodiscard]] float next() override
    {
        ++drawsTaken;
        if (m_draws.empty())
            return 0.0F;
        const float draw = m_draws.front();
        m_draws.pop_front();
        return draw;
    }

    int seedings = 0;
    int drawsTaken = 0;

private:
    std::deque<float> m_draws;
};

// A draw that makes the load handler put the right answer into slot correctIndex.
[[nodiscard]] constexpr float drawFor(int correctIndex)
{
    return static_cast<float>(correctIndex - 1) / 3.0F + 0.1F;
}

inline void applyLookOnce()
{
    static bool applied = false;
    if (!applied) {
        design::applyLook(*qApp);
        applied = true;
    }
}

// Runs the application's event loop as main does and returns the status it ends with;
// a loop that nothing ends returns -1 after the time limit instead of hanging the test.
// Whatever ends a run does so at once, so a second is plenty.
[[nodiscard]] inline int runEventLoop(int limitMs = 2000)
{
    QTimer guard;
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, [] { QCoreApplication::exit(-1); });
    guard.start(limitMs);
    return QApplication::exec();
}

// Waits until the window has the keyboard. On an X server with no window manager an
// activation request can be lost while the window is still being mapped, so it is
// asked for again a few times.
[[nodiscard]] inline bool waitUntilActive(QWidget &window)
{
    for (int attempt = 0; attempt < 4; ++attempt) {
        if (QTest::qWaitForWindowActive(&window, 1000))
            return true;
        window.raise();
        window.activateWindow();
    }
    return QTest::qWaitForWindowActive(&window);
}

[[nodiscard]] inline const char *nameOf(app::ScreenId id)
{
    return QMetaEnum::fromType<app::ScreenId>().valueToKey(static_cast<int>(id));
}

// One row per screen, in run order, in a column named "screen".
inline void addRowPerScreen()
{
    QTest::addColumn<app::ScreenId>("screen");
    for (const app::Step &step : app::RunOrder)
        QTest::newRow(nameOf(step.screen)) << step.screen;
}

// One row per screen and slot of the right answer, in columns "screen" and "correctIndex".
inline void addRowPerScreenAndSlot()
{
    QTest::addColumn<app::ScreenId>("screen");
    QTest::addColumn<int>("correctIndex");
    for (const app::Step &step : app::RunOrder) {
        for (int correctIndex = 1; correctIndex <= 3; ++correctIndex)
            QTest::addRow("%s, right answer in slot %d", nameOf(step.screen), correctIndex)
                << step.screen << correctIndex;
    }
}

// A run of the quiz whose questions draw what the test scripts. It lets the run go when
// it goes out of scope, windows and all.
class Run {
public:
    Run(std::initializer_list<float> draws = {})
    {
        auto scripted = std::make_unique<ScriptedDraws>(draws);
        m_draws = scripted.get();
        m_quiz = std::make_unique<app::Quiz>(std::move(scripted));
    }

    // A run whose questions 1 to 4 put their right answers in these slots.
    [[nodiscard]] static std::array<float, 4> drawsFor(std::array<int, 4> correctSlots)
    {
        return {drawFor(correctSlots[0]), drawFor(correctSlots[1]), drawFor(correctSlots[2]),
                drawFor(correctSlots[3])};
    }

    // Starts the run at the screen, with the points gathered before it; returns the screen.
    shell::Screen &start(app::ScreenId at = app::ScreenId::Form1, int score = 0)
    {
        m_quiz->start(at, shell::Score(static_cast<std::uint8_t>(score)));
        return screen();
    }

    [[nodiscard]] app::Quiz &quiz() const { return *m_quiz; }
    [[nodiscard]] ScriptedDraws &draws() const { return *m_draws; }
    [[nodiscard]] shell::Screen &screen() const { return *m_quiz->screen(); }
    // The screen on show as the form it is, or null if another is on show.
    template <class Form>
    [[nodiscard]] Form *screenAs() const
    {
        return qobject_cast<Form *>(m_quiz->screen());
    }
    [[nodiscard]] app::ScreenId step() const { return m_quiz->step(); }

private:
    ScriptedDraws *m_draws = nullptr;
    std::unique_ptr<app::Quiz> m_quiz;
};

// The "Ввод" of the question on show.
[[nodiscard]] inline QPushButton *enterOf(const Run &run)
{
    const auto *question = answer_key::singleChoiceOn(run.step());
    return run.screen().findChild<QPushButton *>(
        QLatin1String(question ? question->button : answer_key::FormulaButton));
}

// A whole run by mouse and keys, from the title to the results: for each single-choice
// question whether to pick the right answer (its slot is the draw's) or the one after it,
// and the formula to type.
struct Answers {
    std::array<bool, 4> right{};
    QString formula;
};

inline void takeQuiz(Run &run, std::array<int, 4> correctSlots, const Answers &answers)
{
    for (const float draw : Run::drawsFor(correctSlots))
        run.draws().push(draw);
    run.start();
    run.screenAs<screens::Form1>()->Timer1_Timer();
    QTest::mouseClick(run.screen().findChild<QPushButton *>(QStringLiteral("Command1")),
                      Qt::LeftButton);
    for (std::size_t question = 0; question < correctSlots.size(); ++question) {
        const int correct = correctSlots.at(question);
        const int chosen = answers.right.at(question) ? correct : correct % 3 + 1;
        QTest::mouseClick(
            run.screen().findChild<QRadioButton *>(QStringLiteral("Option1(%1)").arg(chosen - 1)),
            Qt::LeftButton);
        QTest::mouseClick(enterOf(run), Qt::LeftButton);
    }
    auto *formula = run.screen().findChild<QLineEdit *>(QStringLiteral("Text1"));
    QTest::mouseClick(formula, Qt::LeftButton);
    QTest::keyClicks(formula, answers.formula);
    QTest::mouseClick(enterOf(run), Qt::LeftButton);
}

// Fills the results, if that is the screen, with the longest texts a run writes into them.
inline void showTheLongestResults(QWidget &screen)
{
    if (auto *results = qobject_cast<screens::Form5 *>(&screen)) {
        screens::Verdicts verdicts;
        verdicts.fill({.right = true, .points = 3});
        results->showResults(verdicts, 9, screens::gradeFor(9));
    }
}

// For a suite's cleanup(): a test leaves no window behind, as Qt's own widget tests check.
inline void verifyNoWindowLeft()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QStringList left;
    for (const QWidget *window : QApplication::topLevelWidgets())
        left.append(window->objectName() + u'(' + QLatin1String(window->metaObject()->className())
                    + u')');
    QVERIFY2(left.isEmpty(), qPrintable(left.join(u", ")));
}

// The quiz windows that are on screen now.
[[nodiscard]] inline QWidgetList visibleScreens()
{
    QWidgetList visible;
    for (QWidget *window : QApplication::topLevelWidgets()) {
        if (window->isVisible() && window->objectName().startsWith(QLatin1String("Form")))
            visible.append(window);
    }
    return visible;
}

// Answers the next message box that opens, keeping its text.
class MessageBoxWatcher {
public:
    MessageBoxWatcher()
    {
        m_poll.setInterval(10);
        QObject::connect(&m_poll, &QTimer::timeout, [this] {
            if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
                text = box->text();
                title = box->windowTitle();
                icon = box->icon();
                box->accept();
                m_poll.stop();
            }
        });
        m_poll.start();
    }

    QString text;
    QString title;
    QMessageBox::Icon icon = QMessageBox::NoIcon;

private:
    QTimer m_poll;
};

}  // namespace harness
