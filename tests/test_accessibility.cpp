// SPDX-License-Identifier: GPL-3.0-or-later
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
#include <initializer_list>
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

// The labels that name no other control, as a screen reader finds them, in order.
[[nodiscard]] QStringList freeLabels(QWidget &window)
{
    QStringList names;
    for (QAccessibleInterface *node : treeOf(window)) {
        if (node->role() == QAccessible::StaticText && node->relations().isEmpty())
            names.append(node->object()->objectName());
    }
    return names;
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
        QTest::mouseClick(form.findChild<QRadioButton *>(u"Option1(%1)"_s.arg(slot - 1)),
                          Qt::LeftButton);
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
    void screensSayWhatTheyShow_data();
    void screensSayWhatTheyShow();
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

void TestAccessibility::screensSayWhatTheyShow_data()
{
    QTest::addColumn<shell::ScreenId>("screen");
    QTest::addColumn<QStringList>("read");     // labels that name no field, read as it opens
    QTest::addColumn<QString>("description");  // the labelled fields

    const QStringList title{u"Label1"_s};
    QTest::newRow("Form1") << shell::ScreenId::Form1 << title << QString();
    QTest::newRow("Form6") << shell::ScreenId::Form6
                           << QStringList{u"Label1"_s, u"Label2"_s, u"Label3"_s, u"Label4"_s}
                           << QString();
    QTest::newRow("Form2") << shell::ScreenId::Form2 << title << QString();
    QTest::newRow("Form7") << shell::ScreenId::Form7 << title << QString();
    QTest::newRow("Form3") << shell::ScreenId::Form3 << title << QString();
    QTest::newRow("Form8") << shell::ScreenId::Form8 << title << QString();
    QTest::newRow("Form4") << shell::ScreenId::Form4 << title << u"Введите формулу"_s;
}

void TestAccessibility::screensSayWhatTheyShow()
{
    QFETCH(shell::ScreenId, screen);
    QFETCH(QStringList, read);
    QFETCH(QString, description);

    harness::ScriptedDraws draws;
    shell::ScopedRandomSource scoped(draws);
    shell::Screen &form = shell::instance(screen);
    form.showScreen();

    // Screen readers read out the labels of a dialog, not of a plain window, as it opens.
    QAccessibleInterface *window = accessible(&form);
    QCOMPARE(window->role(), QAccessible::Dialog);
    QCOMPARE(window->text(QAccessible::Name), form.windowTitle());
    QCOMPARE(freeLabels(form), read);
    QCOMPARE(window->text(QAccessible::Description), description);
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
        u"Вопрос 1:"_s,      u"верно (1 балл)"_s,
        u"Вопрос 2:"_s,      u"неверно"_s,
        u"Вопрос 3:"_s,      u"неверно"_s,
        u"Вопрос 4:"_s,      u"верно (2 балла)"_s,
        u"Вопрос 5:"_s,      u"верно (3 балла)"_s,
        u"Ваша оценка"_s,    u"4"_s,
        u"Набрано баллов"_s, u"6"_s,
    };
    QCOMPARE(spoken, expected);

    // As the screen opens, each caption is read with its field, in the same order.
    QCOMPARE(freeLabels(results), QStringList());
    QCOMPARE(accessible(&results)->text(QAccessible::Description),
             u"Вопрос 1: верно (1 балл). Вопрос 2: неверно. Вопрос 3: неверно. "
             u"Вопрос 4: верно (2 балла). Вопрос 5: верно (3 балла). Ваша оценка 4. "
             u"Набрано баллов 6"_s);

    // The passed screens stay loaded and hidden; screen readers are offered the one on show.
    QAccessibleInterface *application = accessible(qApp);
    QCOMPARE(application->childCount(), 1);
    QCOMPARE(application->child(0)->object(), &results);
    QCOMPARE(application->indexOfChild(accessible(&results)), 0);
    for (shell::Screen *passed : std::initializer_list<shell::Screen *>{
             &shell::Form2(), &shell::Form7(), &shell::Form3(), &shell::Form8(), &shell::Form4()}) {
        QVERIFY2(passed->windowHandle(), qPrintable(passed->objectName()));
        QVERIFY(accessible(passed)->state().invisible);
        QCOMPARE(application->indexOfChild(accessible(passed)), -1);
    }
}

QTEST_MAIN(TestAccessibility)
#include "test_accessibility.moc"
