// SPDX-License-Identifier: GPL-3.0-or-later
#include "quiz_harness.h"

#include "controls/design.h"
#include "screens/questions/form7.h"
#include "shell/screen.h"

#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(app::ScreenId)

namespace {

enum class SecondPress {
    DoubleClick,
    HeldSpace,
    HeldEnter,
    QueuedBefore,
    QueuedAfter,
    ClickedTwice
};

QRadioButton *slot(QWidget &form, int index)
{
    return form.findChild<QRadioButton *>(u"Option1(%1)"_s.arg(index));
}

}  // namespace

Q_DECLARE_METATYPE(SecondPress)

class TestSingleChoice : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { harness::applyLookOnce(); }
    void cleanup() { harness::verifyNoWindowLeft(); }

    void placesAnswersByCorrectIndex_data();
    void placesAnswersByCorrectIndex();
    void startsWithTheDesignSelection_data();
    void startsWithTheDesignSelection();
    void judgesTheSelectedSlot_data();
    void judgesTheSelectedSlot();
    void questionOneRecordsItsVerdictBeforeAnyResults();
    void aSecondPressChangesNothing_data();
    void aSecondPressChangesNothing();
    void noOptionCaptionIsCutOff_data();
    void noOptionCaptionIsCutOff();
};

void TestSingleChoice::placesAnswersByCorrectIndex_data()
{
    QTest::addColumn<app::ScreenId>("screen");
    QTest::addColumn<int>("correctIndex");
    QTest::addColumn<QStringList>("captions");

    for (const answer_key::SingleChoice &question : answer_key::SingleChoiceQuestions) {
        for (int correct = 1; correct <= 3; ++correct)
            QTest::addRow("%s %d", harness::nameOf(question.screen), correct)
                << question.screen << correct << answer_key::captionsFor(question, correct);
    }
}

void TestSingleChoice::placesAnswersByCorrectIndex()
{
    QFETCH(app::ScreenId, screen);
    QFETCH(int, correctIndex);
    QFETCH(QStringList, captions);

    harness::Run run{harness::drawFor(correctIndex)};
    shell::Screen &form = run.start(screen);

    QCOMPARE(run.draws().seedings, 1);
    for (int index = 0; index < 3; ++index)
        QCOMPARE(slot(form, index)->text(), captions.at(index));
}

void TestSingleChoice::startsWithTheDesignSelection_data()
{
    QTest::addColumn<app::ScreenId>("screen");
    QTest::addColumn<int>("selected");  // -1: none
    for (const answer_key::SingleChoice &question : answer_key::SingleChoiceQuestions)
        QTest::newRow(harness::nameOf(question.screen))
            << question.screen << question.selectedAtStart - 1;
}

void TestSingleChoice::startsWithTheDesignSelection()
{
    QFETCH(app::ScreenId, screen);
    QFETCH(int, selected);

    harness::Run run;
    shell::Screen &form = run.start(screen);
    QApplication::processEvents();

    // Whatever takes the focus when the screen appears, the selection is the design's.
    for (int index = 0; index < 3; ++index)
        QCOMPARE(slot(form, index)->isChecked(), index == selected);
}

void TestSingleChoice::judgesTheSelectedSlot_data()
{
    QTest::addColumn<app::ScreenId>("screen");
    QTest::addColumn<int>("correctIndex");
    QTest::addColumn<int>("chosen");  // 0: nothing selected
    QTest::addColumn<bool>("right");

    for (const answer_key::SingleChoice &question : answer_key::SingleChoiceQuestions) {
        for (int correct = 1; correct <= 3; ++correct) {
            for (int chosen = 1; chosen <= 3; ++chosen) {
                QTest::addRow("%s correct %d chosen %d", harness::nameOf(question.screen), correct,
                              chosen)
                    << question.screen << correct << chosen << (chosen == correct);
            }
        }
    }
    QTest::newRow("Form7 nothing selected") << app::ScreenId::Form7 << 1 << 0 << false;
}

void TestSingleChoice::judgesTheSelectedSlot()
{
    QFETCH(app::ScreenId, screen);
    QFETCH(int, correctIndex);
    QFETCH(int, chosen);
    QFETCH(bool, right);
    const app::Step &step = app::stepOf(screen);

    harness::Run run{harness::drawFor(correctIndex)};
    const QPointer<shell::Screen> form = &run.start(screen);
    if (chosen > 0)
        QTest::mouseClick(slot(*form, chosen - 1), Qt::LeftButton);
    QStringList captions =
        answer_key::captionsFor(*answer_key::singleChoiceOn(screen), correctIndex);
    QList<screens::Response> responses;
    connect(&run.quiz(), &app::Quiz::questionAnswered, this,
            [&](std::size_t, screens::Verdict, const screens::Response &response) {
                responses << response;
            });
    QTest::mouseClick(harness::enterOf(run), Qt::LeftButton);

    // A platform is told the chosen text's letter in the order of the texts' code units,
    // whatever slot it was drawn into.
    QCOMPARE(responses.size(), 1);
    QCOMPARE(responses[0].kind, screens::Response::Kind::Choice);
    QString letter;
    if (chosen > 0) {
        const QString caption = captions.at(chosen - 1);
        captions.sort();
        letter = QChar(char16_t(u'a' + captions.indexOf(caption)));
    }
    QCOMPARE(responses[0].text, letter);

    const screens::Verdict verdict = run.quiz().verdicts().at(app::questionNumberOf(screen));
    QCOMPARE(verdict.right, right);
    QCOMPARE(int{verdict.points}, int{step.points});
    QCOMPARE(int{run.quiz().score()}, right ? step.points : 0);
    QVERIFY(form->isHidden());
    QCOMPARE(run.step(), *step.next);
    QCOMPARE(harness::visibleScreens(), QWidgetList{&run.screen()});
}

void TestSingleChoice::questionOneRecordsItsVerdictBeforeAnyResults()
{
    harness::Run run{harness::drawFor(1), harness::drawFor(2)};
    run.start(app::ScreenId::Form2);

    // The design selects slot 1, where the draw put the right answer.
    QTest::mouseClick(harness::enterOf(run), Qt::LeftButton);

    const screens::Verdict verdict = run.quiz().verdicts().at(0);
    QVERIFY(verdict.right);
    QCOMPARE(int{verdict.points}, int{app::stepOf(app::ScreenId::Form2).points});
    // The results are made when they are shown, not before.
    for (const QWidget *window : QApplication::topLevelWidgets())
        QVERIFY(window->objectName() != u"Form5"_s);
    // Question 2 drew its own placement when it appeared.
    QCOMPARE(run.draws().seedings, 2);
    QCOMPARE(run.screenAs<screens::Form7>()->Option1[1]->text(),
             answer_key::singleChoiceOn(app::ScreenId::Form7)->answers[0]);
}

void TestSingleChoice::aSecondPressChangesNothing_data()
{
    QTest::addColumn<app::ScreenId>("screen");
    QTest::addColumn<SecondPress>("press");

    constexpr std::array<std::pair<const char *, SecondPress>, 6> Presses{{
        {"double click", SecondPress::DoubleClick},
        {"Space held down", SecondPress::HeldSpace},
        {"Enter held down", SecondPress::HeldEnter},
        {"a queued press, then a click", SecondPress::QueuedBefore},
        {"a click, then a queued press", SecondPress::QueuedAfter},
        {"two presses in one handler", SecondPress::ClickedTwice},
    }};
    for (const app::Step &step : app::RunOrder) {
        if (step.role != app::Role::Question)
            continue;
        for (const auto &[name, press] : Presses)
            QTest::addRow("question %zu, %s", app::questionNumberOf(step.screen) + 1, name)
                << step.screen << press;
    }
}

void TestSingleChoice::aSecondPressChangesNothing()
{
    QFETCH(app::ScreenId, screen);
    QFETCH(SecondPress, press);
    const app::Step &judged = app::stepOf(screen);
    const app::Step &next = app::stepOf(*judged.next);

    harness::Run run{harness::drawFor(1), harness::drawFor(1)};
    const QPointer<shell::Screen> form = &run.start(screen);
    QVERIFY(harness::waitUntilActive(*form));
    if (screen == answer_key::FormulaScreen)
        form->findChild<QLineEdit *>(u"Text1"_s)
            ->setText(answer_key::AcceptedFormulas[3].toString());
    else
        QTest::mouseClick(slot(*form, 0), Qt::LeftButton);
    const int seedings = run.draws().seedings;
    auto *button = harness::enterOf(run);

    // A held key repeats its press, each time to whichever window has the focus by then.
    const auto hold = [](Qt::Key key, const QString &text) {
        const auto send = [&](QEvent::Type type, bool repeat) {
            qt_handleKeyEvent(QGuiApplication::focusWindow(), type, key, Qt::NoModifier, text,
                              repeat);
            QApplication::processEvents();
        };
        send(QEvent::KeyPress, false);
        for (int repeat = 0; repeat < 8; ++repeat) {
            send(QEvent::KeyRelease, true);
            send(QEvent::KeyPress, true);
        }
        send(QEvent::KeyRelease, false);
    };
    switch (press) {
    case SecondPress::DoubleClick:
        // Through the window, which turns the second press into the double click.
        QTest::mouseDClick(form->windowHandle(), Qt::LeftButton, {},
                           button->mapTo(form, button->rect().center()));
        break;
    case SecondPress::HeldSpace:
        button->setFocus();
        hold(Qt::Key_Space, u" "_s);
        break;
    case SecondPress::HeldEnter:
        button->setFocus();
        hold(Qt::Key_Return, u"\r"_s);
        break;
    case SecondPress::QueuedBefore:
        QMetaObject::invokeMethod(button, &QPushButton::click, Qt::QueuedConnection);
        QTest::mouseClick(button, Qt::LeftButton);
        break;
    case SecondPress::QueuedAfter:
        QTest::mouseClick(button, Qt::LeftButton);
        QMetaObject::invokeMethod(button, &QPushButton::click, Qt::QueuedConnection);
        break;
    case SecondPress::ClickedTwice:
        button->click();
        button->click();
        break;
    }
    QApplication::processEvents();

    const screens::Verdicts &verdicts = run.quiz().verdicts();
    QVERIFY(verdicts.at(app::questionNumberOf(screen)).right);
    QCOMPARE(int{run.quiz().score()}, int{judged.points});
    QVERIFY(!form || form->isHidden());
    // The next screen neither took the press nor drew twice.
    QCOMPARE(run.step(), next.screen);
    QCOMPARE(harness::visibleScreens(), QWidgetList{&run.screen()});
    if (next.role == app::Role::Question)
        QCOMPARE(int{verdicts.at(app::questionNumberOf(next.screen)).points}, 0);
    QCOMPARE(run.draws().seedings,
             seedings + (answer_key::singleChoiceOn(next.screen) != nullptr ? 1 : 0));
}

void TestSingleChoice::noOptionCaptionIsCutOff_data()
{
    placesAnswersByCorrectIndex_data();
}

void TestSingleChoice::noOptionCaptionIsCutOff()
{
    QFETCH(app::ScreenId, screen);
    QFETCH(int, correctIndex);

    harness::Run run{harness::drawFor(correctIndex)};
    shell::Screen &form = run.start(screen);

    for (int index = 0; index < 3; ++index) {
        auto *option = qobject_cast<design::OptionButton *>(slot(form, index));
        QVERIFY(option);
        const QRect box = option->captionRect();
        const QRect text = option->fontMetrics().boundingRect(
            box, design::OptionButton::captionFlags(), option->text());
        // The line box may overhang by a pixel where the glyphs' ink still fits.
        QVERIFY2(text.width() <= box.width() && text.height() <= box.height() + 2,
                 qPrintable(u"%1: %2x%3 in %4x%5"_s.arg(option->text())
                                .arg(text.width())
                                .arg(text.height())
                                .arg(box.width())
                                .arg(box.height())));
    }
}

QTEST_MAIN(TestSingleChoice)
#include "test_single_choice.moc"
