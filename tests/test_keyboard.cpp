// SPDX-License-Identifier: GPL-3.0-or-later
#include "quiz_harness.h"

#include "screens/intro/form1.h"
#include "screens/intro/form6.h"
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
#include <QWindow>

#include <array>

using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(shell::ScreenId)

namespace {

// A key as the window system delivers it: to the active window, which routes it to its
// focus widget. Sent to a widget directly, it would arrive even if the screen that was
// just shown had not become active or had put the focus elsewhere.
void press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QWidget *window = QApplication::activeWindow();
    QVERIFY2(window, "no active window to type into");
    QTest::keyClick(window->windowHandle(), key, modifiers);
}

[[nodiscard]] QString focusName()
{
    const QWidget *focus = QApplication::focusWidget();
    return focus ? focus->window()->objectName() + u'.' + focus->objectName() : u"(none)"_s;
}

[[nodiscard]] bool waitUntilActive(shell::Screen &form)
{
    return harness::waitUntilActive(form) && QApplication::activeWindow() == &form;
}

struct QuestionKeys {
    shell::ScreenId id;
    const char *button;
    int points;
    int selected;  // the slot the design selects, 0: none
};

constexpr std::array<QuestionKeys, 4> Questions{{
    {shell::ScreenId::Form2, "Command1", 1, 1},
    {shell::ScreenId::Form7, "Command1", 1, 0},
    {shell::ScreenId::Form3, "Command2", 2, 1},
    {shell::ScreenId::Form8, "Command1", 2, 1},
}};

void typeText(QWindow *window, const QString &text)
{
    for (const QChar character : text)
        QTest::keyClick(window, character.toLatin1());
}

// Which slot carries the right answer on each question of a keyboard run.
constexpr std::array<int, 4> CorrectSlots{3, 1, 2, 3};

[[nodiscard]] int slotOf(const QWidget *widget)
{
    const QString name = widget ? widget->objectName() : QString();
    if (!name.startsWith(u"Option1("_s))
        return 0;
    return name.mid(8, 1).toInt() + 1;
}

// The slot of the one selected option: 0 if none is, -1 if several are.
[[nodiscard]] int checkedSlot(const QWidget &form)
{
    int checked = 0;
    for (const QRadioButton *option : form.findChildren<QRadioButton *>()) {
        if (option->isChecked())
            checked = checked ? -1 : slotOf(option);
    }
    return checked;
}

// Answers the screen on show with the keys: an arrow selects the option it moves to, Space
// the option the screen opens on; then Tab to the button and Enter. Slot 0 leaves the
// options as the screen opens.
void answerByKeys(shell::Screen &form, const char *button, int slot)
{
    QVERIFY2(waitUntilActive(form), qPrintable(form.objectName()));
    int at = slotOf(QApplication::focusWidget());
    QVERIFY2(at > 0, qPrintable(u"opens on "_s + focusName()));
    const QString enter = form.objectName() + u'.' + QLatin1String(button);
    if (slot == 0) {
        press(Qt::Key_Tab);
        QCOMPARE(focusName(), enter);
        press(Qt::Key_Return);
        return;
    }

    if (at == slot)
        press(Qt::Key_Space);
    // Down or Right to the next option, Up or Left to the one before, as on Windows.
    for (bool vertical = true; at != slot; vertical = !vertical) {
        const bool next = at < slot;
        press(next ? (vertical ? Qt::Key_Down : Qt::Key_Right)
                   : (vertical ? Qt::Key_Up : Qt::Key_Left));
        at += next ? 1 : -1;
        // The focus ring and the selection move together.
        QCOMPARE(slotOf(QApplication::focusWidget()), at);
        QCOMPARE(checkedSlot(form), at);
    }
    QCOMPARE(checkedSlot(form), slot);

    const QString option = focusName();
    press(Qt::Key_Tab);
    QCOMPARE(focusName(), enter);
    // The way back into the group lands on the selection, not on the group's first option.
    press(Qt::Key_Tab, Qt::ShiftModifier);
    QCOMPARE(focusName(), option);
    press(Qt::Key_Tab);
    QCOMPARE(focusName(), enter);
    press(Qt::Key_Return);
}

}  // namespace

class TestKeyboard : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { harness::applyLookOnce(); }
    void cleanup() { shell::endRun(); }

    void tabRingFollowsTheDesign_data();
    void tabRingFollowsTheDesign();
    void keysChooseEveryOption_data();
    void keysChooseEveryOption();
    void wholeRunByKeys_data();
    void wholeRunByKeys();
};

void TestKeyboard::tabRingFollowsTheDesign_data()
{
    QTest::addColumn<shell::ScreenId>("screen");
    QTest::addColumn<QStringList>("ring");  // from the opening focus, one Tab each
    QTest::addColumn<int>("selected");      // the slot the design selects, 0: none

    // An option group is one stop: Tab leaves it, the arrows move inside it. Focus on an
    // option, as the screen opens or by Tab, leaves the design's selection alone.
    QTest::newRow("Form6") << shell::ScreenId::Form6 << QStringList{u"Command1"_s} << 0;
    QTest::newRow("Form2") << shell::ScreenId::Form2 << QStringList{u"Option1(2)"_s, u"Command1"_s}
                           << 1;
    QTest::newRow("Form7") << shell::ScreenId::Form7 << QStringList{u"Option1(0)"_s, u"Command1"_s}
                           << 0;
    QTest::newRow("Form3") << shell::ScreenId::Form3 << QStringList{u"Option1(2)"_s, u"Command2"_s}
                           << 1;
    QTest::newRow("Form8") << shell::ScreenId::Form8 << QStringList{u"Option1(0)"_s, u"Command1"_s}
                           << 1;
    QTest::newRow("Form4") << shell::ScreenId::Form4 << QStringList{u"Command3"_s, u"Text1"_s} << 0;
}

void TestKeyboard::tabRingFollowsTheDesign()
{
    QFETCH(shell::ScreenId, screen);
    QFETCH(QStringList, ring);
    QFETCH(int, selected);

    harness::ScriptedDraws draws;
    shell::ScopedRandomSource scoped(draws);
    shell::Screen &form = shell::instance(screen);
    form.showScreen();
    QVERIFY(waitUntilActive(form));

    const auto at = [&form](const QString &control) { return form.objectName() + u'.' + control; };
    QCOMPARE(focusName(), at(ring.first()));
    QCOMPARE(checkedSlot(form), selected);
    for (qsizetype step = 1; step <= ring.size(); ++step) {
        press(Qt::Key_Tab);
        QCOMPARE(focusName(), at(ring.at(step % ring.size())));
    }
    for (qsizetype step = ring.size() - 1; step >= 0; --step) {
        press(Qt::Key_Tab, Qt::ShiftModifier);
        QCOMPARE(focusName(), at(ring.at(step)));
    }
    // Moving through the ring neither presses a button nor changes the selection.
    QVERIFY(form.isVisible());
    QVERIFY(!shell::Form5.isFilled());
    QCOMPARE(checkedSlot(form), selected);
}

void TestKeyboard::keysChooseEveryOption_data()
{
    QTest::addColumn<int>("question");
    QTest::addColumn<int>("slot");  // 0: "Ввод" at once

    for (int question = 0; question < 4; ++question) {
        const int form = int(Questions.at(question).id) + 1;
        QTest::addRow("Form%d at once", form) << question << 0;
        for (int slot = 1; slot <= 3; ++slot)
            QTest::addRow("Form%d slot %d", form, slot) << question << slot;
    }
}

void TestKeyboard::keysChooseEveryOption()
{
    QFETCH(int, question);
    QFETCH(int, slot);
    const QuestionKeys &keys = Questions.at(question);

    // The right answer lies in the slot chosen, or in the first one: pressed at once,
    // "Ввод" judges the design's selection, as before.
    const int right = slot == 0 ? 1 : slot;
    const int chosen = slot == 0 ? keys.selected : slot;
    harness::ScriptedDraws draws{harness::drawFor(right)};
    shell::ScopedRandomSource scoped(draws);
    shell::Screen &form = shell::instance(keys.id);
    form.showScreen();
    answerByKeys(form, keys.button, slot);
    if (QTest::currentTestFailed())
        return;

    QVERIFY(form.isHidden());
    QCOMPARE(int{Module1::Score}, chosen == right ? keys.points : 0);
}

void TestKeyboard::wholeRunByKeys_data()
{
    QTest::addColumn<QList<int>>("chosen");  // slot per question
    QTest::addColumn<QString>("formula");
    QTest::addColumn<QStringList>("verdicts");
    QTest::addColumn<QString>("total");
    QTest::addColumn<QString>("grade");

    const QString right1 = u"верно (1 балл)"_s;
    const QString right2 = u"верно (2 балла)"_s;
    const QString right3 = u"верно (3 балла)"_s;
    const QString wrong = u"неверно"_s;
    QTest::newRow("all right") << QList<int>{3, 1, 2, 3} << u"=$B$1*(B4-B3)"_s
                               << QStringList{right1, right1, right2, right2, right3} << u"9"_s
                               << u"5"_s;
    QTest::newRow("all wrong") << QList<int>{1, 2, 3, 1} << u"=B1*(B4-B3)"_s
                               << QStringList{wrong, wrong, wrong, wrong, wrong} << u"0"_s
                               << u"2"_s;
    QTest::newRow("questions 2, 4 and 5")
        << QList<int>{2, 1, 1, 3} << u"=($B4-$B3)*$B$1"_s
        << QStringList{wrong, right1, wrong, right2, right3} << u"6"_s << u"4"_s;
}

void TestKeyboard::wholeRunByKeys()
{
    QFETCH(QList<int>, chosen);
    QFETCH(QString, formula);
    QFETCH(QStringList, verdicts);
    QFETCH(QString, total);
    QFETCH(QString, grade);

    harness::ScriptedDraws draws;
    for (const int slot : CorrectSlots)
        draws.push(harness::drawFor(slot));
    shell::ScopedRandomSource scoped(draws);

    // The title goes on by itself; nothing on it takes the focus.
    auto &title = shell::Form1();
    title.showScreen();
    QVERIFY(waitUntilActive(title));
    QVERIFY(!QApplication::focusWidget());
    auto &start = shell::Form6();
    QTRY_VERIFY_WITH_TIMEOUT(start.isVisible(), 3000);
    QVERIFY(waitUntilActive(start));
    QCOMPARE(QApplication::focusWidget(), start.Command1);
    press(Qt::Key_Return);

    for (std::size_t question = 0; question < Questions.size(); ++question) {
        const QuestionKeys &keys = Questions.at(question);
        answerByKeys(shell::instance(keys.id), keys.button, chosen.at(qsizetype(question)));
        if (QTest::currentTestFailed())
            return;
    }

    auto &last = shell::Form4();
    QVERIFY(waitUntilActive(last));
    QCOMPARE(QApplication::focusWidget(), last.Command3);
    press(Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), last.Text1);
    typeText(last.windowHandle(), formula);
    QCOMPARE(last.Text1->text(), formula);
    // Enter in the text box presses nothing; the button is one Shift+Tab away.
    press(Qt::Key_Return);
    QVERIFY(last.isVisible());
    press(Qt::Key_Tab, Qt::ShiftModifier);
    QCOMPARE(QApplication::focusWidget(), last.Command3);
    press(Qt::Key_Return);

    auto &results = shell::Form5();
    QVERIFY(waitUntilActive(results));
    QCOMPARE(harness::visibleScreens(), QWidgetList{&results});
    const std::array<QLabel *, 5> fields{results.Label4, results.Label5, results.Label6,
                                         results.Label10, results.Label12};
    for (std::size_t question = 0; question < fields.size(); ++question)
        QCOMPARE(fields.at(question)->text(), verdicts.at(qsizetype(question)));
    QCOMPARE(results.Label14->text(), total);
    QCOMPARE(results.Label8->text(), grade);
}

QTEST_MAIN(TestKeyboard)
#include "test_keyboard.moc"
