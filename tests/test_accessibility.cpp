#include "quiz_harness.h"

#include "screens/questions/form2.h"
#include "screens/questions/form3.h"
#include "screens/questions/form4.h"
#include "screens/questions/form7.h"
#include "screens/questions/form8.h"
#include "screens/results/form5.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <algorithm>
#include <array>
#include <optional>

using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(shell::ScreenId)

namespace {

[[nodiscard]] QAccessibleInterface *accessible(QObject *object)
{
    return QAccessible::queryAccessibleInterface(object);
}

// Every node under the window, depth first in the order a screen reader walks them.
void collect(QAccessibleInterface *node, QList<QAccessibleInterface *> &nodes)
{
    for (int index = 0; index < node->childCount(); ++index) {
        QAccessibleInterface *child = node->child(index);
        nodes.append(child);
        collect(child, nodes);
    }
}

[[nodiscard]] QList<QAccessibleInterface *> treeOf(QWidget &window)
{
    QList<QAccessibleInterface *> nodes;
    collect(accessible(&window), nodes);
    return nodes;
}

// The caption the user sees on a control, empty for a picture or a text box.
[[nodiscard]] QString captionOf(const QObject *object)
{
    if (const auto *label = qobject_cast<const QLabel *>(object))
        return label->text();
    if (const auto *button = qobject_cast<const QAbstractButton *>(object))
        return button->text();
    if (const auto *frame = qobject_cast<const QGroupBox *>(object))
        return frame->title();
    return {};
}

[[nodiscard]] bool isRussian(const QString &text)
{
    return std::ranges::any_of(text, [](QChar c) { return c.script() == QChar::Script_Cyrillic; });
}

// The role each kind of control must announce; a wrong one misleads the listener.
[[nodiscard]] std::optional<QAccessible::Role> expectedRole(const QObject *object)
{
    if (const auto *label = qobject_cast<const QLabel *>(object))
        return label->pixmap().isNull() ? QAccessible::StaticText : QAccessible::Graphic;
    if (qobject_cast<const QRadioButton *>(object))
        return QAccessible::RadioButton;
    if (qobject_cast<const QPushButton *>(object))
        return QAccessible::Button;
    if (qobject_cast<const QGroupBox *>(object))
        return QAccessible::Grouping;
    if (qobject_cast<const QLineEdit *>(object))
        return QAccessible::EditableText;
    return std::nullopt;
}

// A run by clicks that, with the right answers in slots 1, 2, 3 and 1, answers questions 1
// and 4 and the formula right: 1 + 2 + 3 points.
void takeQuiz()
{
    constexpr std::array<int, 4> chosen{1, 3, 1, 1};

    const auto answer = [](shell::Screen &form, int slot, const char *button) {
        QTest::mouseClick(form.findChild<QRadioButton *>(u"Option1(%1)"_s.arg(slot - 1)), Qt::LeftButton);
        QTest::mouseClick(form.findChild<QPushButton *>(QLatin1String(button)), Qt::LeftButton);
    };
    shell::Form2().showScreen();
    answer(shell::Form2(), chosen[0], "Command1");
    answer(shell::Form7(), chosen[1], "Command1");
    answer(shell::Form3(), chosen[2], "Command2");
    answer(shell::Form8(), chosen[3], "Command1");
    auto &formula = shell::Form4();
    QTest::mouseClick(formula.Text1, Qt::LeftButton);
    QTest::keyClicks(formula.Text1, u"=(B4-B3)*$B$1"_s);
    QTest::mouseClick(formula.Command3, Qt::LeftButton);
}

}  // namespace

class TestAccessibility : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { harness::applyLookOnce(); }
    void cleanup() { shell::endRun(); }

    void everyControlIsNamed_data();
    void everyControlIsNamed();
    void optionsTellTheirState_data();
    void optionsTellTheirState();
    void resultsReadRowByRow();
};

void TestAccessibility::everyControlIsNamed_data()
{
    QTest::addColumn<shell::ScreenId>("screen");
    QTest::addColumn<int>("controls");  // every widget of the screen is in the tree

    QTest::newRow("Form1") << shell::ScreenId::Form1 << 2;
    QTest::newRow("Form6") << shell::ScreenId::Form6 << 5;
    QTest::newRow("Form2") << shell::ScreenId::Form2 << 6;
    QTest::newRow("Form7") << shell::ScreenId::Form7 << 6;
    QTest::newRow("Form3") << shell::ScreenId::Form3 << 7;
    QTest::newRow("Form8") << shell::ScreenId::Form8 << 7;
    QTest::newRow("Form4") << shell::ScreenId::Form4 << 5;
    QTest::newRow("Form5") << shell::ScreenId::Form5 << 14;
}

void TestAccessibility::everyControlIsNamed()
{
    QFETCH(shell::ScreenId, screen);
    QFETCH(int, controls);

    harness::ScriptedDraws draws;
    shell::ScopedRandomSource scoped(draws);
    shell::Screen &form = shell::instance(screen);
    form.showScreen();

    QAccessibleInterface *window = accessible(&form);
    QCOMPARE(window->text(QAccessible::Name), form.windowTitle());
    const QList<QAccessibleInterface *> nodes = treeOf(form);
    QCOMPARE(nodes.size(), controls);
    for (QAccessibleInterface *node : nodes) {
        const QObject *control = node->object();
        const QString where = control->objectName();
        const QString name = node->text(QAccessible::Name);
        QVERIFY2(!name.trimmed().isEmpty(), qPrintable(where));
        const std::optional<QAccessible::Role> role = expectedRole(control);
        QVERIFY2(role.has_value(), qPrintable(where));
        QVERIFY2(node->role() == *role, qPrintable(u"%1: role %2"_s.arg(where).arg(node->role())));

        const QString caption = captionOf(control);
        if (caption.isEmpty()) {
            QVERIFY2(isRussian(name), qPrintable(u"%1: %2"_s.arg(where, name)));
        } else {
            QCOMPARE(name, caption);
        }
    }
}

void TestAccessibility::optionsTellTheirState_data()
{
    QTest::addColumn<shell::ScreenId>("screen");
    QTest::addColumn<int>("selected");  // the design's selection, -1: none
    QTest::newRow("Form2") << shell::ScreenId::Form2 << 0;
    QTest::newRow("Form7") << shell::ScreenId::Form7 << -1;
    QTest::newRow("Form3") << shell::ScreenId::Form3 << 0;
    QTest::newRow("Form8") << shell::ScreenId::Form8 << 0;
}

void TestAccessibility::optionsTellTheirState()
{
    QFETCH(shell::ScreenId, screen);
    QFETCH(int, selected);

    harness::ScriptedDraws draws;
    shell::ScopedRandomSource scoped(draws);
    shell::Screen &form = shell::instance(screen);
    form.showScreen();
    QVERIFY(harness::waitUntilActive(form));

    const auto options = form.findChildren<QRadioButton *>();
    QCOMPARE(options.size(), 3);
    const auto checkStates = [&form](int expected) {
        for (int index = 0; index < 3; ++index) {
            auto *option = form.findChild<QRadioButton *>(u"Option1(%1)"_s.arg(index));
            const QAccessible::State state = accessible(option)->state();
            QVERIFY(state.checkable);
            QCOMPARE(bool(state.checked), index == expected);
            QCOMPARE(bool(state.focusable), true);
            QCOMPARE(bool(state.focused), option->hasFocus());
            QCOMPARE(accessible(option)->text(QAccessible::Name), option->text());
        }
    };
    checkStates(selected);
    if (QTest::currentTestFailed())
        return;
    // Whichever option the user picks, the tree follows.
    for (const int pick : {2, 1}) {
        form.findChild<QRadioButton *>(u"Option1(%1)"_s.arg(pick))->click();
        checkStates(pick);
        if (QTest::currentTestFailed())
            return;
    }
}

void TestAccessibility::resultsReadRowByRow()
{
    harness::ScriptedDraws draws{harness::drawFor(1), harness::drawFor(2), harness::drawFor(3),
                                 harness::drawFor(1)};
    shell::ScopedRandomSource scoped(draws);
    takeQuiz();

    auto &results = shell::Form5();
    QVERIFY(results.isVisible());
    QStringList spoken;
    for (QAccessibleInterface *node : treeOf(results))
        spoken.append(node->text(QAccessible::Name));

    // Each title before its verdict, then the bottom row from left to right, as it is seen.
    const QStringList expected{
        u"Вопрос 1:"_s, u"верно (1 балл)"_s,
        u"Вопрос 2:"_s, u"неверно"_s,
        u"Вопрос 3:"_s, u"неверно"_s,
        u"Вопрос 4:"_s, u"верно (2 балла)"_s,
        u"Вопрос 5:"_s, u"верно (3 балла)"_s,
        u"Ваша оценка"_s, u"4"_s,
        u"Набрано баллов"_s, u"6"_s,
    };
    QCOMPARE(spoken, expected);
}

QTEST_MAIN(TestAccessibility)
#include "test_accessibility.moc"
