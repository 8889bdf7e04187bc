// SPDX-License-Identifier: GPL-3.0-or-later
#include "quiz_harness.h"

#include "controls/design.h"
#include "screens/questions/form2.h"
#include "screens/questions/form3.h"
#include "screens/questions/form4.h"
#include "screens/questions/form7.h"
#include "screens/questions/form8.h"
#include "screens/results/form5.h"
#include "shell/module1.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(shell::ScreenId)

namespace {

struct QuestionScreen {
    shell::ScreenId id;
    shell::ScreenId next;
    const char *button;
    const char *field;
    int points;
    const char16_t *verdict;
};

constexpr std::array<QuestionScreen, 4> Screens{{
    {shell::ScreenId::Form2, shell::ScreenId::Form7, "Command1", "Label4", 1, u"верно (1 балл)"},
    {shell::ScreenId::Form7, shell::ScreenId::Form3, "Command1", "Label5", 1, u"верно (1 балл)"},
    {shell::ScreenId::Form3, shell::ScreenId::Form8, "Command2", "Label6", 2, u"верно (2 балла)"},
    {shell::ScreenId::Form8, shell::ScreenId::Form4, "Command1", "Label10", 2, u"верно (2 балла)"},
}};

// Question 5 judges a typed formula and hands over to the results.
constexpr QuestionScreen FormulaQuestion{
    shell::ScreenId::Form4, shell::ScreenId::Form5, "Command3", "Label12", 3, u"верно (3 балла)"};

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
    void cleanup() { shell::endRun(); }

    void placesAnswersByCorrectIndex_data();
    void placesAnswersByCorrectIndex();
    void startsWithTheDesignSelection_data();
    void startsWithTheDesignSelection();
    void judgesTheSelectedSlot_data();
    void judgesTheSelectedSlot();
    void resultsExistButStayHiddenAfterQuestionOne();
    void aSecondPressChangesNothing_data();
    void aSecondPressChangesNothing();
    void noOptionCaptionIsCutOff_data();
    void noOptionCaptionIsCutOff();
};

void TestSingleChoice::placesAnswersByCorrectIndex_data()
{
    QTest::addColumn<shell::ScreenId>("screen");
    QTest::addColumn<int>("correctIndex");
    QTest::addColumn<QStringList>("captions");

    const QString latin = u"латинскими буквами и сочетаниями букв"_s;
    const QString numbers = u"числами"_s;
    const QString words = u"словами"_s;
    QTest::newRow("Form2 1") << shell::ScreenId::Form2 << 1 << QStringList{latin, numbers, words};
    QTest::newRow("Form2 2") << shell::ScreenId::Form2 << 2 << QStringList{words, latin, numbers};
    QTest::newRow("Form2 3") << shell::ScreenId::Form2 << 3 << QStringList{numbers, words, latin};

    const QString sums = u"выполнения различных расчетов и математических операций"_s;
    const QString texts = u"создания и редактирования текстов"_s;
    const QString bases = u"создания и обработки баз данных"_s;
    QTest::newRow("Form7 1") << shell::ScreenId::Form7 << 1 << QStringList{sums, texts, bases};
    QTest::newRow("Form7 2") << shell::ScreenId::Form7 << 2 << QStringList{texts, sums, bases};
    QTest::newRow("Form7 3") << shell::ScreenId::Form7 << 3 << QStringList{texts, bases, sums};

    QTest::newRow("Form3 1") << shell::ScreenId::Form3 << 1
                             << QStringList{u"=$C$4+D3"_s, u"=$A$1+D3"_s, u"=$C$4+D6"_s};
    QTest::newRow("Form3 2") << shell::ScreenId::Form3 << 2
                             << QStringList{u"=$A$1+D3"_s, u"=$C$4+D3"_s, u"=$C$4+D6"_s};
    QTest::newRow("Form3 3") << shell::ScreenId::Form3 << 3
                             << QStringList{u"=$A$1+D3"_s, u"=$C$4+D6"_s, u"=$C$4+D3"_s};

    QTest::newRow("Form8 1") << shell::ScreenId::Form8 << 1
                             << QStringList{u"=$D5+H$1"_s, u"=$F6+H$1"_s, u"=$D5+H$2"_s};
    QTest::newRow("Form8 2") << shell::ScreenId::Form8 << 2
                             << QStringList{u"=$F6+H$1"_s, u"=$D5+H$1"_s, u"=$D5+H$2"_s};
    QTest::newRow("Form8 3") << shell::ScreenId::Form8 << 3
                             << QStringList{u"=$F6+H$1"_s, u"=$D5+H$2"_s, u"=$D5+H$1"_s};
}

void TestSingleChoice::placesAnswersByCorrectIndex()
{
    QFETCH(shell::ScreenId, screen);
    QFETCH(int, correctIndex);
    QFETCH(QStringList, captions);

    harness::ScriptedDraws draws{harness::drawFor(correctIndex)};
    shell::ScopedRandomSource scoped(draws);
    shell::Screen &form = shell::instance(screen);
    form.showScreen();

    QCOMPARE(draws.seedings, 1);
    for (int index = 0; index < 3; ++index)
        QCOMPARE(slot(form, index)->text(), captions.at(index));
}

void TestSingleChoice::startsWithTheDesignSelection_data()
{
    QTest::addColumn<shell::ScreenId>("screen");
    QTest::addColumn<int>("selected");  // -1: none
    QTest::newRow("Form2") << shell::ScreenId::Form2 << 0;
    QTest::newRow("Form7") << shell::ScreenId::Form7 << -1;
    QTest::newRow("Form3") << shell::ScreenId::Form3 << 0;
    QTest::newRow("Form8") << shell::ScreenId::Form8 << 0;
}

void TestSingleChoice::startsWithTheDesignSelection()
{
    QFETCH(shell::ScreenId, screen);
    QFETCH(int, selected);

    harness::ScriptedDraws draws;
    shell::ScopedRandomSource scoped(draws);
    shell::Screen &form = shell::instance(screen);
    form.showScreen();
    QApplication::processEvents();

    // Whatever takes the focus when the screen appears, the selection is the design's.
    for (int index = 0; index < 3; ++index)
        QCOMPARE(slot(form, index)->isChecked(), index == selected);
}

void TestSingleChoice::judgesTheSelectedSlot_data()
{
    QTest::addColumn<int>("screen");
    QTest::addColumn<int>("correctIndex");
    QTest::addColumn<int>("chosen");  // 0: nothing selected
    QTest::addColumn<bool>("right");

    for (int screen = 0; screen < 4; ++screen) {
        const int form = static_cast<int>(Screens.at(screen).id) + 1;
        for (int correct = 1; correct <= 3; ++correct) {
            for (int chosen = 1; chosen <= 3; ++chosen) {
                QTest::addRow("Form%d correct %d chosen %d", form, correct, chosen)
                    << screen << correct << chosen << (chosen == correct);
            }
        }
    }
    QTest::newRow("Form7 nothing selected") << 1 << 1 << 0 << false;
}

void TestSingleChoice::judgesTheSelectedSlot()
{
    QFETCH(int, screen);
    QFETCH(int, correctIndex);
    QFETCH(int, chosen);
    QFETCH(bool, right);
    const QuestionScreen &question = Screens.at(screen);

    harness::ScriptedDraws draws{harness::drawFor(correctIndex)};
    shell::ScopedRandomSource scoped(draws);
    shell::Screen &form = shell::instance(question.id);
    form.showScreen();
    if (chosen > 0)
        QTest::mouseClick(slot(form, chosen - 1), Qt::LeftButton);
    QTest::mouseClick(form.findChild<QPushButton *>(QLatin1String(question.button)),
                      Qt::LeftButton);

    auto *field = shell::Form5().findChild<QLabel *>(QLatin1String(question.field));
    QCOMPARE(field->text(), right ? QString::fromUtf16(question.verdict) : u"неверно"_s);
    QCOMPARE(int{Module1::Score}, right ? question.points : 0);
    QVERIFY(form.isHidden());
    QVERIFY(shell::instance(question.next).isVisible());
    QCOMPARE(harness::visibleScreens().size(), 1);
}

void TestSingleChoice::resultsExistButStayHiddenAfterQuestionOne()
{
    harness::ScriptedDraws draws{harness::drawFor(1), harness::drawFor(2)};
    shell::ScopedRandomSource scoped(draws);
    auto &form = shell::Form2();
    form.showScreen();
    QVERIFY(!shell::Form5.isFilled());

    QTest::mouseClick(form.Command1, Qt::LeftButton);

    QVERIFY(shell::Form5.isFilled());
    QVERIFY(shell::Form5().isHidden());
    QCOMPARE(shell::Form5().Label4->text(), u"верно (1 балл)"_s);
    // Question 2 drew its own placement when it appeared.
    QCOMPARE(draws.seedings, 2);
}

void TestSingleChoice::aSecondPressChangesNothing_data()
{
    QTest::addColumn<int>("question");  // 0 to 3: Screens; 4: the formula question
    QTest::addColumn<SecondPress>("press");

    constexpr std::array<std::pair<const char *, SecondPress>, 6> Presses{{
        {"double click", SecondPress::DoubleClick},
        {"Space held down", SecondPress::HeldSpace},
        {"Enter held down", SecondPress::HeldEnter},
        {"a queued press, then a click", SecondPress::QueuedBefore},
        {"a click, then a queued press", SecondPress::QueuedAfter},
        {"two presses in one handler", SecondPress::ClickedTwice},
    }};
    for (int question = 0; question <= 4; ++question) {
        for (const auto &[name, press] : Presses)
            QTest::addRow("question %d, %s", question + 1, name) << question << press;
    }
}

void TestSingleChoice::aSecondPressChangesNothing()
{
    QFETCH(int, question);
    QFETCH(SecondPress, press);
    const QuestionScreen &judged = question < 4 ? Screens.at(question) : FormulaQuestion;
    const auto following = std::ranges::find(Screens, judged.next, &QuestionScreen::id);
    const QuestionScreen *next = following != Screens.end() ? &*following
        : judged.next == FormulaQuestion.id                 ? &FormulaQuestion
                                                            : nullptr;

    harness::ScriptedDraws draws{harness::drawFor(1), harness::drawFor(1)};
    shell::ScopedRandomSource scoped(draws);
    shell::Screen &form = shell::instance(judged.id);
    form.showScreen();
    QVERIFY(harness::waitUntilActive(form));
    if (judged.id == FormulaQuestion.id)
        form.findChild<QLineEdit *>(u"Text1"_s)->setText(u"=($B4-$B3)*$B$1"_s);
    else
        QTest::mouseClick(slot(form, 0), Qt::LeftButton);
    const int seedings = draws.seedings;
    auto *button = form.findChild<QPushButton *>(QLatin1String(judged.button));

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
        QTest::mouseDClick(form.windowHandle(), Qt::LeftButton, {},
                           button->mapTo(&form, button->rect().center()));
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

    auto &results = shell::Form5();
    QCOMPARE(results.findChild<QLabel *>(QLatin1String(judged.field))->text(),
             QString::fromUtf16(judged.verdict));
    QCOMPARE(int{Module1::Score}, judged.points);
    QVERIFY(form.isHidden());
    QCOMPARE(harness::visibleScreens(), QWidgetList{&shell::instance(judged.next)});
    // The next question neither took the press nor drew twice.
    if (next)
        QCOMPARE(results.findChild<QLabel *>(QLatin1String(next->field))->text(),
                 QLatin1String(next->field));
    QCOMPARE(draws.seedings, seedings + (next && next->id != FormulaQuestion.id ? 1 : 0));
}

void TestSingleChoice::noOptionCaptionIsCutOff_data()
{
    placesAnswersByCorrectIndex_data();
}

void TestSingleChoice::noOptionCaptionIsCutOff()
{
    QFETCH(shell::ScreenId, screen);
    QFETCH(int, correctIndex);

    harness::ScriptedDraws draws{harness::drawFor(correctIndex)};
    shell::ScopedRandomSource scoped(draws);
    shell::Screen &form = shell::instance(screen);
    form.showScreen();

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
