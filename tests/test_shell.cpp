// SPDX-License-Identifier: GPL-3.0-or-later
#include "quiz_harness.h"

#include "screens/questions/form2.h"
#include "screens/questions/single_choice.h"
#include "shell/runtime_error.h"
#include "shell/score.h"

#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <cmath>
#include <limits>

using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(app::ScreenId)

class TestShell : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { harness::applyLookOnce(); }
    void cleanup() { harness::verifyNoWindowLeft(); }

    void aScreenLivesOnlyWhileShown();
    void loadHandlerRunsOncePerRun();
    void addPointsIsRangeChecked_data();
    void addPointsIsRangeChecked();
    void correctIndexFromDraw_data();
    void correctIndexFromDraw();
    void generatorStaysBelowOneAndSpreadsEvenly();
    void seedsASecondApartDrawDifferently();
    void overflowInAHandlerIsReportedAndEndsTheProgram_data();
    void overflowInAHandlerIsReportedAndEndsTheProgram();
    void closingAnyScreenEndsTheProgram_data();
    void closingAnyScreenEndsTheProgram();
};

void TestShell::aScreenLivesOnlyWhileShown()
{
    harness::Run run;
    QCOMPARE(run.quiz().screen(), nullptr);
    QPointer<shell::Screen> title = &run.start();
    QVERIFY(title->isLoaded());
    QVERIFY(title->isVisible());

    // Each hand-over makes the next screen as it is shown and lets the one left go once
    // the event loop is back: never more than two windows.
    for (const app::Step &step : app::RunOrder) {
        QCOMPARE(run.step(), step.screen);
        QPointer<shell::Screen> shown = &run.screen();
        QCOMPARE(shown->objectName(), QLatin1String(harness::nameOf(step.screen)));
        QVERIFY(shown->isVisible());
        QCOMPARE(harness::visibleScreens(), QWidgetList{shown});
        QVERIFY(QApplication::topLevelWidgets().size() <= 2);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QApplication::processEvents();
        QCOMPARE(QApplication::topLevelWidgets(), QWidgetList{shown});
        if (!step.next)
            break;
        if (auto *title = qobject_cast<screens::Form1 *>(shown))
            title->Timer1_Timer();
        else
            QTest::mouseClick(harness::enterOf(run) ? harness::enterOf(run)
                                                    : shown->findChild<QPushButton *>(),
                              Qt::LeftButton);
        QVERIFY(shown);
        QVERIFY(shown->isHidden());
    }
}

void TestShell::loadHandlerRunsOncePerRun()
{
    harness::Run run{harness::drawFor(3), harness::drawFor(1)};

    auto &form = run.start(app::ScreenId::Form2);
    form.hideScreen();
    form.showScreen();
    QCOMPARE(run.draws().seedings, 1);
    QCOMPARE(run.draws().drawsTaken, 1);
    // The first draw stays: slot 3 keeps the right answer.
    QCOMPARE(run.screenAs<screens::Form2>()->Option1[2]->text(),
             u"латинскими буквами и сочетаниями букв"_s);
    run.screenAs<screens::Form2>()->Option1[2]->click();
    QTest::mouseClick(harness::enterOf(run), Qt::LeftButton);
    QCOMPARE(run.quiz().score(), 1);

    // A new run makes the screen anew, with a draw of its own, and nothing of the run before.
    auto &next = run.start(app::ScreenId::Form2);
    QCOMPARE(run.draws().seedings, 3);
    QCOMPARE(qobject_cast<screens::Form2 *>(&next)->Option1[0]->text(),
             u"латинскими буквами и сочетаниями букв"_s);
    QCOMPARE(run.quiz().score(), 0);
    QVERIFY(!run.quiz().verdicts()[0].right);
}

void TestShell::addPointsIsRangeChecked_data()
{
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("points");
    QTest::addColumn<int>("expected");  // -1: overflow

    QTest::newRow("first point") << 0 << 1 << 1;
    QTest::newRow("best run") << 6 << 3 << 9;
    QTest::newRow("up to the top") << 252 << 3 << 255;
    QTest::newRow("one past the top") << 255 << 1 << -1;
    QTest::newRow("well past the top") << 250 << 9 << -1;
}

void TestShell::addPointsIsRangeChecked()
{
    QFETCH(int, start);
    QFETCH(int, points);
    QFETCH(int, expected);

    shell::Score score(static_cast<std::uint8_t>(start));
    if (expected < 0) {
        try {
            score.add(points);
            QFAIL("no overflow raised");
        } catch (const shell::RuntimeError &error) {
            QCOMPARE(error.number(), shell::ErrorNumber::Overflow);
        }
        QCOMPARE(int{score.points()}, start);
    } else {
        score.add(points);
        QCOMPARE(int{score.points()}, expected);
    }
}

void TestShell::correctIndexFromDraw_data()
{
    QTest::addColumn<float>("draw");
    QTest::addColumn<int>("expected");

    const float third = 1.0F / 3.0F;
    QTest::newRow("zero") << 0.0F << 1;
    QTest::newRow("below a third") << 0.33F << 1;
    // r * 3 + 1 is computed in single precision, where this rounds up to 2.
    QTest::newRow("a hair below a third") << std::nextafter(third, 0.0F) << 2;
    QTest::newRow("a third") << third << 2;
    QTest::newRow("a half") << 0.5F << 2;
    QTest::newRow("two thirds") << 2.0F / 3.0F << 3;
    QTest::newRow("largest below one") << std::nextafter(1.0F, 0.0F) << 3;
}

void TestShell::correctIndexFromDraw()
{
    QFETCH(float, draw);
    QFETCH(int, expected);
    QCOMPARE(int{screens::correctIndexFor(draw)}, expected);
}

void TestShell::generatorStaysBelowOneAndSpreadsEvenly()
{
    shell::LinearCongruentialSource generator;
    generator.randomize(43210.5F);
    std::array<int, 3> counts{};
    constexpr int Draws = 30000;
    for (int i = 0; i < Draws; ++i) {
        const float r = generator.next();
        QVERIFY2(r >= 0.0F && r < 1.0F, qPrintable(QString::number(r)));
        ++counts.at(screens::correctIndexFor(r) - 1);
    }
    for (const int count : counts)
        QVERIFY2(count > Draws * 0.31 && count < Draws * 0.36, qPrintable(QString::number(count)));
}

void TestShell::seedsASecondApartDrawDifferently()
{
    // Each question seeds from the clock when it appears; the first draw after seeding
    // must depend on the seed, or every question of a run would place alike.
    std::array<int, 3> counts{};
    constexpr int Seconds = 3000;
    for (int second = 0; second < Seconds; ++second) {
        shell::LinearCongruentialSource generator;
        generator.randomize(36000.0F + static_cast<float>(second));
        ++counts.at(screens::correctIndexFor(generator.next()) - 1);
    }
    for (const int count : counts)
        QVERIFY2(count > Seconds * 0.25 && count < Seconds * 0.42,
                 qPrintable(QString::number(count)));
}

void TestShell::overflowInAHandlerIsReportedAndEndsTheProgram_data()
{
    QTest::addColumn<app::ScreenId>("screen");
    for (const app::Step &step : app::RunOrder) {
        if (step.role == app::Role::Question)
            QTest::newRow(harness::nameOf(step.screen)) << step.screen;
    }
}

void TestShell::overflowInAHandlerIsReportedAndEndsTheProgram()
{
    QFETCH(app::ScreenId, screen);

    // A right answer, whose points no longer fit into the byte.
    const int start = 256 - app::stepOf(screen).points;
    harness::Run run{harness::drawFor(1)};
    shell::Screen &form = run.start(screen, start);
    if (auto *formula = form.findChild<QLineEdit *>(u"Text1"_s))
        formula->setText(answer_key::AcceptedFormulas[0].toString());
    else
        QTest::mouseClick(form.findChild<QRadioButton *>(u"Option1(0)"_s), Qt::LeftButton);

    harness::MessageBoxWatcher watcher;
    auto *press = harness::enterOf(run);
    QTimer::singleShot(0, press, [press] { QTest::mouseClick(press, Qt::LeftButton); });
    const int status = harness::runEventLoop();

    QCOMPARE(status, shell::RuntimeErrorExitStatus);
    QVERIFY2(watcher.text.contains(u"'6'"_s), qPrintable(watcher.text));
    QVERIFY2(watcher.text.contains(u"Переполнение"_s), qPrintable(watcher.text));
    QCOMPARE(watcher.icon, QMessageBox::Critical);
    QCOMPARE(int{run.quiz().score()}, start);
    // The error ended the handler where it arose: the quiz went no further.
    QCOMPARE(harness::visibleScreens(), QWidgetList{&form});
}

void TestShell::closingAnyScreenEndsTheProgram_data()
{
    harness::addRowPerScreen();
}

void TestShell::closingAnyScreenEndsTheProgram()
{
    QFETCH(app::ScreenId, screen);
    harness::Run run;

    shell::Screen &form = run.start(screen);
    QTimer::singleShot(0, &form, [&form] { form.close(); });
    QCOMPARE(harness::runEventLoop(), 0);
}

QTEST_MAIN(TestShell)
#include "test_shell.moc"
