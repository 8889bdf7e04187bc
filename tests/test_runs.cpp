// SPDX-License-Identifier: GPL-3.0-or-later
#include "quiz_harness.h"

#include "screens/intro/form1.h"
#include "screens/intro/form6.h"
#include "screens/questions/form2.h"
#include "screens/questions/form4.h"
#include "screens/results/form5.h"

#include <QClipboard>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTest>

#include <optional>

using namespace Qt::StringLiterals;

namespace {

// Which slot carries the right answer on each question in these runs.
constexpr std::array<int, 4> CorrectSlots{2, 3, 1, 2};

}  // namespace

class TestRuns : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { harness::applyLookOnce(); }
    void cleanup() { harness::verifyNoWindowLeft(); }

    void wholeRunEndsWithTotalAndGrade_data();
    void wholeRunEndsWithTotalAndGrade();
    void lastQuestionWritesTheTotalAndItsGrade_data();
    void lastQuestionWritesTheTotalAndItsGrade();
    void titleHandsOverOnceAfterTwoSeconds_data();
    void titleHandsOverOnceAfterTwoSeconds();
    void titleIgnoresClicksAndKeys();
    void startButtonOpensQuestionOneWithAFreshDraw();
    void keysOnTheFormulaScreen_data();
    void keysOnTheFormulaScreen();
    void formulaBoxTakesAnyText_data();
    void formulaBoxTakesAnyText();
};

void TestRuns::wholeRunEndsWithTotalAndGrade_data()
{
    QTest::addColumn<QList<bool>>("right");
    QTest::addColumn<QString>("formula");
    QTest::addColumn<QString>("total");
    QTest::addColumn<QString>("grade");

    const QString good = answer_key::AcceptedFormulas[0].toString();
    QTest::newRow("all right") << QList<bool>{true, true, true, true, true} << good << u"9"_s
                               << u"5"_s;
    QTest::newRow("all wrong") << QList<bool>{false, false, false, false, false} << QString()
                               << u"0"_s << u"2"_s;
    QTest::newRow("only question 5")
        << QList<bool>{false, false, false, false, true}
        << answer_key::AcceptedFormulas[2].toString() << u"3"_s << u"2"_s;
    QTest::newRow("questions 3 and 4")
        << QList<bool>{false, false, true, true, false} << u"=B$1*(B4-B3)"_s << u"4"_s << u"3"_s;
    QTest::newRow("five points") << QList<bool>{true, false, true, true, false} << QString()
                                 << u"5"_s << u"3"_s;
    QTest::newRow("six points") << QList<bool>{true, true, true, true, false} << u"=$b$1*(b4-b3)"_s
                                << u"6"_s << u"4"_s;
    QTest::newRow("seven points") << QList<bool>{false, false, true, true, true}
                                  << answer_key::AcceptedFormulas[3].toString() << u"7"_s << u"4"_s;
    QTest::newRow("eight points") << QList<bool>{true, false, true, true, true}
                                  << answer_key::AcceptedFormulas[1].toString() << u"8"_s << u"5"_s;
}

void TestRuns::wholeRunEndsWithTotalAndGrade()
{
    QFETCH(QList<bool>, right);
    QFETCH(QString, formula);
    QFETCH(QString, total);
    QFETCH(QString, grade);
    QCOMPARE(right.size(), 5);

    harness::Run run;
    // What a learning platform is told: each verdict as it is given, then the result.
    QList<bool> told;
    QList<screens::Response> responses;
    connect(&run.quiz(), &app::Quiz::questionAnswered, this,
            [&](std::size_t question, screens::Verdict verdict, const screens::Response &response) {
                QCOMPARE(question, std::size_t(told.size()));
                told << verdict.right;
                responses << response;
            });
    QStringList result;
    connect(&run.quiz(), &app::Quiz::resultsShown, this,
            [&](std::uint8_t points, std::int16_t mark) {
                result << QString::number(points) << QString::number(mark);
            });
    harness::takeQuiz(run, CorrectSlots, {{right[0], right[1], right[2], right[3]}, formula});
    QCOMPARE(told, right);
    QCOMPARE(responses.constLast().kind, screens::Response::Kind::Typed);
    QCOMPARE(responses.constLast().text, formula);
    QCOMPARE(result, (QStringList{total, grade}));

    auto *results = run.screenAs<screens::Form5>();
    QVERIFY(results);
    QCOMPARE(harness::visibleScreens(), QWidgetList{results});
    QCOMPARE(results->Label14->text(), total);
    QCOMPARE(results->Label8->text(), grade);

    // The fields stand in run order, one per question.
    const std::array<QLabel *, 5> fields{results->Label4, results->Label5, results->Label6,
                                         results->Label10, results->Label12};
    qsizetype question = 0;
    for (const app::Step &step : app::RunOrder) {
        if (step.role != app::Role::Question)
            continue;
        QCOMPARE(fields.at(std::size_t(question))->text(),
                 right[question] ? answer_key::rightVerdict(step.points)
                                 : answer_key::WrongVerdict.toString());
        ++question;
    }

    for (const QLabel *label : results->findChildren<QLabel *>())
        QVERIFY2(!label->text().startsWith(u"Label"_s), qPrintable(label->objectName()));
}

void TestRuns::lastQuestionWritesTheTotalAndItsGrade_data()
{
    QTest::addColumn<int>("total");
    QTest::addColumn<QString>("grade");

    constexpr std::array Grades{2, 2, 2, 2, 3, 3, 4, 4, 5, 5};
    for (int total = 0; total < int(Grades.size()); ++total)
        QTest::addRow("total %d", total) << total << QString::number(Grades[std::size_t(total)]);
    QTest::newRow("total 10, more than a run gives") << 10 << u"2"_s;
    QTest::newRow("total 255, the most a byte holds") << 255 << u"2"_s;
}

void TestRuns::lastQuestionWritesTheTotalAndItsGrade()
{
    QFETCH(int, total);
    QFETCH(QString, grade);

    // Below its points question 5 can only be answered wrongly; from them on, rightly, so
    // that the total counts the last answer too.
    const int points = app::stepOf(answer_key::FormulaScreen).points;
    const bool right = total >= points;
    harness::Run run;
    auto &form = dynamic_cast<screens::Form4 &>(
        run.start(answer_key::FormulaScreen, right ? total - points : total));
    if (right)
        form.Text1->setText(answer_key::AcceptedFormulas[0].toString());
    QTest::mouseClick(form.Command3, Qt::LeftButton);

    auto *results = run.screenAs<screens::Form5>();
    QVERIFY(results);
    QVERIFY(results->isVisible());
    QCOMPARE(results->Label14->text(), QString::number(total));
    QCOMPARE(results->Label8->text(), grade);
}

void TestRuns::titleHandsOverOnceAfterTwoSeconds_data()
{
    QTest::addColumn<int>("builtBeforeMs");  // how long the title exists before it shows
    QTest::addColumn<int>("watchMs");        // how long it is watched once shown
    QTest::addColumn<int>("ticks");
    QTest::addColumn<QString>("onShow");

    QTest::newRow("the two seconds count from showing") << 1000 << 1500 << 0 << u"Form1"_s;
    QTest::newRow("handed over after two seconds") << 0 << 2400 << 1 << u"Form6"_s;
    QTest::newRow("and only once") << 0 << 4200 << 1 << u"Form6"_s;
}

void TestRuns::titleHandsOverOnceAfterTwoSeconds()
{
    QFETCH(int, builtBeforeMs);
    QFETCH(int, watchMs);
    QFETCH(int, ticks);
    QFETCH(QString, onShow);

    // A run makes its title as it shows it; a title built early stands alone.
    harness::Run run;
    std::optional<screens::Form1> early;
    if (builtBeforeMs > 0) {
        early.emplace();
        QTest::qWait(builtBeforeMs);
    }
    QElapsedTimer clock;
    QList<qint64> ticked;
    const QObject watching;
    clock.start();
    if (early)
        early->showScreen();
    const QPointer<screens::Form1> title =
        early ? &*early : &dynamic_cast<screens::Form1 &>(run.start());
    QObject::connect(title->Timer1, &QTimer::timeout, &watching,
                     [&] { ticked.append(clock.elapsed()); });
    QTest::qWait(watchMs);

    QCOMPARE(ticked.size(), ticks);
    for (const qint64 at : ticked)
        QVERIFY2(at >= 1990 && at < 2500, qPrintable(u"ticked %1 ms after showing"_s.arg(at)));
    const QWidgetList visible = harness::visibleScreens();
    QCOMPARE(visible.size(), 1);
    QCOMPARE(visible.first()->objectName(), onShow);
    if (ticked.isEmpty()) {
        QVERIFY(title->Timer1->isActive());
        return;
    }
    // A tick that comes late does not hand over a second time.
    if (title) {
        QVERIFY(!title->Timer1->isActive());
        QVERIFY(QMetaObject::invokeMethod(title->Timer1, "timeout"));
    }
    QCOMPARE(harness::visibleScreens(), visible);
    QCOMPARE(run.step(), app::ScreenId::Form6);
    QCOMPARE(run.draws().seedings, 0);
}

void TestRuns::titleIgnoresClicksAndKeys()
{
    harness::Run run;
    auto &title = dynamic_cast<screens::Form1 &>(run.start());
    QTest::mouseClick(title.Label1, Qt::LeftButton);
    QTest::mouseClick(title.Picture1, Qt::LeftButton);
    for (const auto key : {Qt::Key_Space, Qt::Key_Return, Qt::Key_Tab, Qt::Key_Escape})
        QTest::keyClick(&title, key);

    QCOMPARE(run.step(), app::ScreenId::Form1);
    QVERIFY(title.isVisible());
    QVERIFY(title.Timer1->isActive());
}

void TestRuns::startButtonOpensQuestionOneWithAFreshDraw()
{
    harness::Run run{harness::drawFor(CorrectSlots[0])};
    dynamic_cast<screens::Form1 &>(run.start()).Timer1_Timer();
    const QPointer<screens::Form6> instructions = run.screenAs<screens::Form6>();
    QVERIFY(instructions);
    QCOMPARE(run.draws().seedings, 0);

    QTest::mouseClick(instructions->Command1, Qt::LeftButton);

    QCOMPARE(run.draws().seedings, 1);
    QVERIFY(instructions->isHidden());
    auto *question = run.screenAs<screens::Form2>();
    QVERIFY(question);
    QVERIFY(question->isVisible());
    QCOMPARE(question->Option1[CorrectSlots[0] - 1]->text(),
             answer_key::singleChoiceOn(app::ScreenId::Form2)->answers[0]);
}

void TestRuns::keysOnTheFormulaScreen_data()
{
    QTest::addColumn<bool>("typeFirst");
    QTest::addColumn<int>("key");
    QTest::addColumn<bool>("judged");

    QTest::newRow("Space on the opening focus") << false << int(Qt::Key_Space) << true;
    QTest::newRow("Enter on the opening focus") << false << int(Qt::Key_Return) << true;
    QTest::newRow("Enter in the text box") << true << int(Qt::Key_Return) << false;
}

void TestRuns::keysOnTheFormulaScreen()
{
    QFETCH(bool, typeFirst);
    QFETCH(int, key);
    QFETCH(bool, judged);

    harness::Run run;
    const QPointer<screens::Form4> form =
        &dynamic_cast<screens::Form4 &>(run.start(answer_key::FormulaScreen));
    QVERIFY(harness::waitUntilActive(*form));
    QCOMPARE(QApplication::focusWidget(), form->Command3);
    if (typeFirst) {
        QTest::keyClick(form, Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), form->Text1);
        QTest::keyClicks(form->Text1, answer_key::AcceptedFormulas[0].toString());
    }
    QTest::keyClick(QApplication::focusWidget(), Qt::Key(key));

    QCOMPARE(form && form->isVisible(), !judged);
    QCOMPARE(run.step(), judged ? app::ScreenId::Form5 : answer_key::FormulaScreen);
    if (judged) {
        auto *results = run.screenAs<screens::Form5>();
        QVERIFY(results->isVisible());
        QCOMPARE(results->Label12->text(), answer_key::WrongVerdict);
        QCOMPARE(results->Label14->text(), u"0"_s);
        QCOMPARE(results->Label8->text(), u"2"_s);
    }
}

void TestRuns::formulaBoxTakesAnyText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("paste");  // or type key by key
    QTest::addColumn<bool>("right");

    const QString answer = answer_key::AcceptedFormulas[0].toString();
    const QString megabyte(1 << 20, u'B');
    QTest::newRow("the answer typed") << answer << false << true;
    QTest::newRow("the answer pasted") << answer << true << true;
    QTest::newRow("a megabyte pasted") << megabyte << true << false;
    QTest::newRow("a megabyte, then the answer, pasted") << megabyte + answer << true << false;
    QTest::newRow("the answer repeated to a megabyte, pasted")
        << answer.repeated((1 << 20) / answer.size()) << true << false;
    QTest::newRow("a megabyte of emoji pasted")
        << u"\U0001F600"_s.repeated(1 << 19) << true << false;
    QTest::newRow("a megabyte of combining marks pasted")
        << QString(1 << 20, QChar(u'\u0301')) << true << false;
    QTest::newRow("a megabyte of right-to-left text pasted")
        << u"\u202E\u05D0b\u0301\u200F"_s.repeated(1 << 18) << true << false;
    QTest::newRow("NUL and control characters pasted")
        << QChar(u'\0') + answer + u"\u0001\u001B\u007F"_s << true << false;
    QTest::newRow("right-to-left marks around the answer, pasted")
        << u"\u200F"_s + answer + u"\u200F"_s << true << false;
    QTest::newRow("the answer with a combining mark, typed")
        << u"=$B\u0301$1*(B4-B3)"_s << false << false;
    QTest::newRow("the answer and an emoji, typed") << answer + u"\U0001F600"_s << false << false;
    QTest::newRow("unpaired surrogates pasted")
        << QChar(char16_t(0xDC00)) + answer + QChar(char16_t(0xD800)) << true << false;
    QTest::newRow("the answer with a zero-width space, typed")
        << u"=$B$1*(B4\u200B-B3)"_s << false << false;
    QTest::newRow("the answer with a zero-width space, pasted")
        << u"=$B$1*(B4\u200B-B3)"_s << true << false;
    // The box keeps what comes before the first line break, and the judge reads that.
    QTest::newRow("the answer and a line break pasted") << answer + u"\n"_s << true << true;
    QTest::newRow("the answer and a second line pasted")
        << answer + u"\r\n=B1*(B4-B3)"_s << true << true;
    QTest::newRow("the answer and a line separator pasted")
        << answer + u"\u2028x"_s << true << true;
    QTest::newRow("an answer broken over two lines, pasted")
        << u"=$B$1*\n(B4-B3)"_s << true << false;
    QTest::newRow("a line break, then the answer, pasted") << u"\n"_s + answer << true << false;
    QTest::newRow("a megabyte of lines pasted")
        << (answer + u"\n"_s).repeated((1 << 20) / 14) << true << true;
}

void TestRuns::formulaBoxTakesAnyText()
{
    QFETCH(QString, text);
    QFETCH(bool, paste);
    QFETCH(bool, right);

    harness::Run run;
    auto &form = dynamic_cast<screens::Form4 &>(run.start(answer_key::FormulaScreen));
    QVERIFY(harness::waitUntilActive(form));
    QTest::mouseClick(form.Text1, Qt::LeftButton);
    QElapsedTimer clock;
    clock.start();
    if (paste) {
        QGuiApplication::clipboard()->setText(text);
        QTest::keyClick(form.Text1, Qt::Key_V, Qt::ControlModifier);
    } else {
        for (qsizetype at = 0; at < text.size(); at += text.at(at).isHighSurrogate() ? 2 : 1)
            QTest::sendKeyEvent(QTest::Click, form.Text1, Qt::Key_unknown,
                                text.mid(at, text.at(at).isHighSurrogate() ? 2 : 1),
                                Qt::NoModifier);
    }
    QApplication::processEvents();
    const qint64 entering = clock.restart();
    // A key more and a key back: the box must keep up with a child's typing, whatever it holds.
    QTest::keyClick(form.Text1, Qt::Key_X);
    QTest::keyClick(form.Text1, Qt::Key_Backspace);
    QApplication::processEvents();
    const qint64 keys = clock.restart();
    const qsizetype held = form.Text1->text().size();
    // The form goes once the results are up.
    QTest::mouseClick(form.Command3, Qt::LeftButton);
    QApplication::processEvents();
    const qint64 judging = clock.elapsed();
    qInfo("%lld code units pasted or typed, %lld held; entered in %lld ms, two keys in %lld ms, "
          "judged in %lld ms",
          text.size(), held, entering, keys, judging);

    auto *results = run.screenAs<screens::Form5>();
    QVERIFY(results);
    QCOMPARE(harness::visibleScreens(), QWidgetList{results});
    const int points = app::stepOf(answer_key::FormulaScreen).points;
    QCOMPARE(results->Label12->text(),
             right ? answer_key::rightVerdict(points) : answer_key::WrongVerdict.toString());
    QCOMPARE(int{run.quiz().score()}, right ? points : 0);
#ifdef __SANITIZE_ADDRESS__
    // The sanitizers' checks slow every allocation and copy several times over.
    constexpr qint64 Slowdown = 5;
#else
    constexpr qint64 Slowdown = 1;
#endif
    QVERIFY2(entering < 2000 * Slowdown, qPrintable(QString::number(entering)));
    QVERIFY2(keys < 400 * Slowdown, qPrintable(QString::number(keys)));
    QVERIFY2(judging < 400 * Slowdown, qPrintable(QString::number(judging)));
}

QTEST_MAIN(TestRuns)
#include "test_runs.moc"
