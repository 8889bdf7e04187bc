// SPDX-License-Identifier: GPL-3.0-or-later
#include "quiz_harness.h"

#include "screens/intro/form6.h"
#include "screens/questions/form4.h"
#include "screens/results/form5.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QWindow>

#include <array>
#include <map>

using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(app::ScreenId)

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

// The controls that take the focus, in the order of the window's focus chain, from the
// one the window opens on. Tab order is that chain, so this reads it even where the keys
// cannot tell: inside an option group, which Tab crosses in one stop. Qt takes Tab away
// from the options of a group but one, so any focus policy counts.
[[nodiscard]] QStringList focusChain(QWidget &window)
{
    QWidget *const first = window.focusWidget() ? window.focusWidget() : &window;
    QStringList chain;
    QWidget *widget = first;
    do {
        if (widget->focusPolicy() != Qt::NoFocus && widget->isVisible() && widget->isEnabled())
            chain.append(widget->objectName());
        widget = widget->nextInFocusChain();
    } while (widget != first);
    return chain;
}

// Answers the question on show with the keys: an arrow selects the option it moves to,
// Space the option the screen opens on; then Tab to the button and Enter. Slot 0 leaves
// the options as the screen opens.
void answerByKeys(const harness::Run &run, int slot)
{
    shell::Screen &form = run.screen();
    QVERIFY2(waitUntilActive(form), qPrintable(form.objectName()));
    int at = slotOf(QApplication::focusWidget());
    QVERIFY2(at > 0, qPrintable(u"opens on "_s + focusName()));
    const QString enter =
        form.objectName() + u'.' + QLatin1String(answer_key::singleChoiceOn(run.step())->button);
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
    void cleanup() { harness::verifyNoWindowLeft(); }

    void tabRingFollowsTheDesign_data();
    void tabRingFollowsTheDesign();
    void keysChooseEveryOption_data();
    void keysChooseEveryOption();
    void wholeRunByKeys_data();
    void wholeRunByKeys();
};

void TestKeyboard::tabRingFollowsTheDesign_data()
{
    QTest::addColumn<app::ScreenId>("screen");
    QTest::addColumn<QStringList>("chain");  // the design's tab order of what takes the focus

    // Labels, frames and pictures take no focus, so the title and the results have none.
    using enum app::ScreenId;
    // clang-format off
    const std::map<app::ScreenId, QStringList> design{
        {Form1, {}},
        {Form6, {u"Command1"_s}},
        {Form2, {u"Option1(2)"_s, u"Option1(1)"_s, u"Option1(0)"_s, u"Command1"_s}},
        {Form7, {u"Option1(0)"_s, u"Option1(1)"_s, u"Option1(2)"_s, u"Command1"_s}},
        {Form3, {u"Option1(2)"_s, u"Option1(1)"_s, u"Option1(0)"_s, u"Command2"_s}},
        {Form8, {u"Option1(0)"_s, u"Option1(1)"_s, u"Option1(2)"_s, u"Command1"_s}},
        {Form4, {u"Command3"_s, u"Text1"_s}},
        {Form5, {}},
    };
    // clang-format on
    for (const app::Step &step : app::RunOrder)
        QTest::newRow(harness::nameOf(step.screen)) << step.screen << design.at(step.screen);
}

void TestKeyboard::tabRingFollowsTheDesign()
{
    QFETCH(app::ScreenId, screen);
    QFETCH(QStringList, chain);
    const auto *question = answer_key::singleChoiceOn(screen);
    const int selected = question ? question->selectedAtStart : 0;

    harness::Run run;
    shell::Screen &form = run.start(screen);
    QVERIFY(waitUntilActive(form));
    QCOMPARE(focusChain(form), chain);

    // An option group is one stop: Tab leaves it, the arrows move inside it. Focus on an
    // option, as the screen opens or by Tab, leaves the design's selection alone.
    QStringList ring;
    bool inGroup = false;
    for (const QString &control : chain) {
        const bool option = control.startsWith(u"Option1("_s);
        if (!(option && inGroup))
            ring.append(control);
        inGroup = option;
    }
    const auto at = [&form](const QString &control) { return form.objectName() + u'.' + control; };
    QCOMPARE(focusName(), ring.isEmpty() ? u"(none)"_s : at(ring.first()));
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
    QCOMPARE(run.step(), screen);
    QVERIFY(form.isVisible());
    QCOMPARE(checkedSlot(form), selected);
}

void TestKeyboard::keysChooseEveryOption_data()
{
    QTest::addColumn<app::ScreenId>("screen");
    QTest::addColumn<int>("slot");  // 0: "Ввод" at once

    for (const answer_key::SingleChoice &question : answer_key::SingleChoiceQuestions) {
        const char *name = harness::nameOf(question.screen);
        QTest::addRow("%s at once", name) << question.screen << 0;
        for (int slot = 1; slot <= 3; ++slot)
            QTest::addRow("%s slot %d", name, slot) << question.screen << slot;
    }
}

void TestKeyboard::keysChooseEveryOption()
{
    QFETCH(app::ScreenId, screen);
    QFETCH(int, slot);

    // The right answer lies in the slot chosen, or in the first one: pressed at once,
    // "Ввод" judges the design's selection, as before.
    const int right = slot == 0 ? 1 : slot;
    const int chosen = slot == 0 ? answer_key::singleChoiceOn(screen)->selectedAtStart : slot;
    harness::Run run{harness::drawFor(right)};
    run.start(screen);
    answerByKeys(run, slot);
    if (QTest::currentTestFailed())
        return;

    const app::Step &step = app::stepOf(screen);
    QCOMPARE(run.step(), *step.next);
    QCOMPARE(int{run.quiz().score()}, chosen == right ? int{step.points} : 0);
}

void TestKeyboard::wholeRunByKeys_data()
{
    QTest::addColumn<QList<int>>("chosen");  // slot per question
    QTest::addColumn<QString>("formula");
    QTest::addColumn<QList<bool>>("right");  // per question
    QTest::addColumn<QString>("total");
    QTest::addColumn<QString>("grade");

    const auto &accepted = answer_key::AcceptedFormulas;
    QTest::newRow("all right") << QList<int>{3, 1, 2, 3} << accepted[0].toString()
                               << QList<bool>{true, true, true, true, true} << u"9"_s << u"5"_s;
    QTest::newRow("all wrong") << QList<int>{1, 2, 3, 1} << u"=B1*(B4-B3)"_s
                               << QList<bool>{false, false, false, false, false} << u"0"_s
                               << u"2"_s;
    QTest::newRow("questions 2, 4 and 5")
        << QList<int>{2, 1, 1, 3} << accepted[3].toString()
        << QList<bool>{false, true, false, true, true} << u"6"_s << u"4"_s;
}

void TestKeyboard::wholeRunByKeys()
{
    QFETCH(QList<int>, chosen);
    QFETCH(QString, formula);
    QFETCH(QList<bool>, right);
    QFETCH(QString, total);
    QFETCH(QString, grade);

    harness::Run run;
    for (const float draw : harness::Run::drawsFor(CorrectSlots))
        run.draws().push(draw);

    // The title goes on by itself; nothing on it takes the focus.
    QVERIFY(waitUntilActive(run.start()));
    QVERIFY(!QApplication::focusWidget());
    QTRY_COMPARE_WITH_TIMEOUT(run.step(), app::ScreenId::Form6, 3000);
    auto *start = run.screenAs<screens::Form6>();
    QVERIFY(waitUntilActive(*start));
    QCOMPARE(QApplication::focusWidget(), start->Command1);
    press(Qt::Key_Return);

    for (std::size_t question = 0; question < answer_key::SingleChoiceQuestions.size();
         ++question) {
        QCOMPARE(run.step(), answer_key::SingleChoiceQuestions.at(question).screen);
        answerByKeys(run, chosen.at(qsizetype(question)));
        if (QTest::currentTestFailed())
            return;
    }

    auto *last = run.screenAs<screens::Form4>();
    QVERIFY(last);
    QVERIFY(waitUntilActive(*last));
    QCOMPARE(QApplication::focusWidget(), last->Command3);
    press(Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), last->Text1);
    typeText(last->windowHandle(), formula);
    QCOMPARE(last->Text1->text(), formula);
    // Enter in the text box presses nothing; the button is one Shift+Tab away.
    press(Qt::Key_Return);
    QVERIFY(last->isVisible());
    press(Qt::Key_Tab, Qt::ShiftModifier);
    QCOMPARE(QApplication::focusWidget(), last->Command3);
    press(Qt::Key_Return);

    auto *results = run.screenAs<screens::Form5>();
    QVERIFY(results);
    QVERIFY(waitUntilActive(*results));
    QCOMPARE(harness::visibleScreens(), QWidgetList{results});
    const std::array<QLabel *, 5> fields{results->Label4, results->Label5, results->Label6,
                                         results->Label10, results->Label12};
    std::size_t question = 0;
    for (const app::Step &step : app::RunOrder) {
        if (step.role == app::Role::Question) {
            const bool wasRight = right.at(qsizetype(question));
            QCOMPARE(fields.at(question++)->text(),
                     wasRight ? answer_key::rightVerdict(step.points)
                              : answer_key::WrongVerdict.toString());
        }
    }
    QCOMPARE(results->Label14->text(), total);
    QCOMPARE(results->Label8->text(), grade);
}

QTEST_MAIN(TestKeyboard)
#include "test_keyboard.moc"
