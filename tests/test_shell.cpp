// SPDX-License-Identifier: GPL-3.0-or-later
#include "quiz_harness.h"

#include "screens/questions/form2.h"
#include "screens/questions/form4.h"
#include "screens/questions/single_choice.h"
#include "screens/results/form5.h"
#include "shell/module1.h"
#include "shell/runtime_error.h"

#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <cmath>
#include <limits>

using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(shell::ScreenId)

class TestShell : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { harness::applyLookOnce(); }
    void cleanup() { shell::endRun(); }

    void slotsStartEmptyAndFillOnce();
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

void TestShell::slotsStartEmptyAndFillOnce()
{
    QVERIFY(!shell::Form2.isFilled());
    QVERIFY(!shell::Form5.isFilled());
    harness::ScriptedDraws draws;
    shell::ScopedRandomSource scoped(draws);

    screens::Form2 &first = shell::Form2();
    QVERIFY(shell::Form2.isFilled());
    QVERIFY(first.isLoaded());
    QVERIFY(first.isHidden());
    QCOMPARE(&shell::Form2(), &first);
    QVERIFY(!shell::Form5.isFilled());
}

void TestShell::loadHandlerRunsOncePerRun()
{
    harness::ScriptedDraws draws{harness::drawFor(3), harness::drawFor(1)};
    shell::ScopedRandomSource scoped(draws);

    auto &form = shell::Form2();
    form.showScreen();
    form.hideScreen();
    form.showScreen();
    QCOMPARE(draws.seedings, 1);
    QCOMPARE(draws.drawsTaken, 1);
    // The first draw stays: slot 3 keeps the right answer.
    QCOMPARE(form.Option1[2]->text(), u"латинскими буквами и сочетаниями букв"_s);

    shell::endRun();
    auto &next = shell::Form2();
    next.showScreen();
    QCOMPARE(draws.seedings, 2);
    QCOMPARE(next.Option1[0]->text(), u"латинскими буквами и сочетаниями букв"_s);
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

    Module1::Score = static_cast<std::uint8_t>(start);
    if (expected < 0) {
        try {
            Module1::addPoints(points);
            QFAIL("no overflow raised");
        } catch (const shell::RuntimeError &error) {
            QCOMPARE(error.number(), shell::ErrorNumber::Overflow);
        }
        QCOMPARE(int{Module1::Score}, start);
    } else {
        Module1::addPoints(points);
        QCOMPARE(int{Module1::Score}, expected);
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
    QTest::addColumn<shell::ScreenId>("screen");
    QTest::addColumn<QString>("button");
    QTest::addColumn<int>("points");

    QTest::newRow("question 1") << shell::ScreenId::Form2 << u"Command1"_s << 1;
    QTest::newRow("question 2") << shell::ScreenId::Form7 << u"Command1"_s << 1;
    QTest::newRow("question 3") << shell::ScreenId::Form3 << u"Command2"_s << 2;
    QTest::newRow("question 4") << shell::ScreenId::Form8 << u"Command1"_s << 2;
    QTest::newRow("question 5") << shell::ScreenId::Form4 << u"Command3"_s << 3;
}

void TestShell::overflowInAHandlerIsReportedAndEndsTheProgram()
{
    QFETCH(shell::ScreenId, screen);
    QFETCH(QString, button);
    QFETCH(int, points);

    harness::ScriptedDraws draws{harness::drawFor(1)};
    shell::ScopedRandomSource scoped(draws);
    shell::Screen &form = shell::instance(screen);
    form.showScreen();
    // A right answer, whose points no longer fit into the byte.
    if (auto *formula = form.findChild<QLineEdit *>(u"Text1"_s))
        formula->setText(u"=$B$1*(B4-B3)"_s);
    else
        QTest::mouseClick(form.findChild<QRadioButton *>(u"Option1(0)"_s), Qt::LeftButton);
    const int start = 256 - points;
    Module1::Score = static_cast<std::uint8_t>(start);

    harness::MessageBoxWatcher watcher;
    auto *press = form.findChild<QPushButton *>(button);
    QTimer::singleShot(0, press, [press] { QTest::mouseClick(press, Qt::LeftButton); });
    const int status = harness::runEventLoop();

    QCOMPARE(status, shell::RuntimeErrorExitStatus);
    QVERIFY2(watcher.text.contains(u"'6'"_s), qPrintable(watcher.text));
    QVERIFY2(watcher.text.contains(u"Переполнение"_s), qPrintable(watcher.text));
    QCOMPARE(watcher.icon, QMessageBox::Critical);
    QCOMPARE(int{Module1::Score}, start);
    // The error ended the handler where it arose: the quiz went no further.
    QCOMPARE(harness::visibleScreens(), QWidgetList{&form});
}

void TestShell::closingAnyScreenEndsTheProgram_data()
{
    harness::addRowPerScreen();
}

void TestShell::closingAnyScreenEndsTheProgram()
{
    QFETCH(shell::ScreenId, screen);
    harness::ScriptedDraws draws;
    shell::ScopedRandomSource scoped(draws);

    shell::Screen &form = shell::instance(screen);
    form.showScreen();
    QTimer::singleShot(0, &form, [&form] { form.close(); });
    QCOMPARE(harness::runEventLoop(), 0);
}

QTEST_MAIN(TestShell)
#include "test_shell.moc"
