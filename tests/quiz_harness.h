// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "controls/look.h"
#include "screens/results/form5.h"
#include "shell/random_source.h"
#include "shell/screen_slots.h"

#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QMetaEnum>
#include <QTest>
#include <QTimer>
#include <QWidget>

#include <array>
#include <deque>
#include <initializer_list>

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

// Every screen, in the order a run meets them.
inline constexpr std::array AllScreens{
    shell::ScreenId::Form1, shell::ScreenId::Form6, shell::ScreenId::Form2, shell::ScreenId::Form7,
    shell::ScreenId::Form3, shell::ScreenId::Form8, shell::ScreenId::Form4, shell::ScreenId::Form5};

[[nodiscard]] inline const char *nameOf(shell::ScreenId id)
{
    return QMetaEnum::fromType<shell::ScreenId>().valueToKey(static_cast<int>(id));
}

// One row per screen, in run order, in a column named "screen".
inline void addRowPerScreen()
{
    QTest::addColumn<shell::ScreenId>("screen");
    for (const shell::ScreenId screen : AllScreens)
        QTest::newRow(nameOf(screen)) << screen;
}

// One row per screen and slot of the right answer, in columns "screen" and "correctIndex".
inline void addRowPerScreenAndSlot()
{
    QTest::addColumn<shell::ScreenId>("screen");
    QTest::addColumn<int>("correctIndex");
    for (const shell::ScreenId screen : AllScreens) {
        for (int correctIndex = 1; correctIndex <= 3; ++correctIndex)
            QTest::addRow("%s, right answer in slot %d", nameOf(screen), correctIndex)
                << screen << correctIndex;
    }
}

// Fills the results with the longest texts a run can write into them.
inline void fillResultsWithTheLongestTexts()
{
    auto &results = shell::Form5();
    for (QLabel *field :
         {results.Label4, results.Label5, results.Label6, results.Label10, results.Label12})
        field->setText(QStringLiteral("верно (3 балла)"));
    results.Label14->setText(QStringLiteral("9"));
    results.Label8->setText(QStringLiteral("5"));
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
