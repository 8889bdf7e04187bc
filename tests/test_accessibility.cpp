// SPDX-License-Identifier: GPL-3.0-or-later
#include "quiz_harness.h"

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
#include <optional>

using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(app::ScreenId)

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

}  // namespace

class TestAccessibility : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { harness::applyLookOnce(); }
    void cleanup() { harness::verifyNoWindowLeft(); }

    void everyControlIsNamed_data();
    void everyControlIsNamed();
    void screensSayWhatTheyShow_data();
    void screensSayWhatTheyShow();
    void resultsReadRowByRow();
};

void TestAccessibility::everyControlIsNamed_data()
{
    QTest::addColumn<app::ScreenId>("screen");
    QTest::addColumn<int>("controls");  // every widget of the screen is in the tree

    QTest::newRow("Form1") << app::ScreenId::Form1 << 2;
    QTest::newRow("Form6") << app::ScreenId::Form6 << 5;
    QTest::newRow("Form2") << app::ScreenId::Form2 << 6;
    QTest::newRow("Form7") << app::ScreenId::Form7 << 6;
    QTest::newRow("Form3") << app::ScreenId::Form3 << 7;
    QTest::newRow("Form8") << app::ScreenId::Form8 << 7;
    QTest::newRow("Form4") << app::ScreenId::Form4 << 5;
    QTest::newRow("Form5") << app::ScreenId::Form5 << 14;
}

void TestAccessibility::everyControlIsNamed()
{
    QFETCH(app::ScreenId, screen);
    QFETCH(int, controls);

    harness::Run run;
    shell::Screen &form = run.start(screen);

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
    QTest::addColumn<app::ScreenId>("screen");
    QTest::addColumn<QStringList>("read");     // labels that name no field, read as it opens
    QTest::addColumn<QString>("description");  // the labelled fields

    const QStringList title{u"Label1"_s};
    QTest::newRow("Form1") << app::ScreenId::Form1 << title << QString();
    QTest::newRow("Form6") << app::ScreenId::Form6
                           << QStringList{u"Label1"_s, u"Label2"_s, u"Label3"_s, u"Label4"_s}
                           << QString();
    QTest::newRow("Form2") << app::ScreenId::Form2 << title << QString();
    QTest::newRow("Form7") << app::ScreenId::Form7 << title << QString();
    QTest::newRow("Form3") << app::ScreenId::Form3 << title << QString();
    QTest::newRow("Form8") << app::ScreenId::Form8 << title << QString();
    QTest::newRow("Form4") << app::ScreenId::Form4 << title << u"Введите формулу"_s;
}

void TestAccessibility::screensSayWhatTheyShow()
{
    QFETCH(app::ScreenId, screen);
    QFETCH(QStringList, read);
    QFETCH(QString, description);

    harness::Run run;
    shell::Screen &form = run.start(screen);

    // Screen readers read out the labels of a dialog, not of a plain window, as it opens.
    QAccessibleInterface *window = accessible(&form);
    QCOMPARE(window->role(), QAccessible::Dialog);
    QCOMPARE(window->text(QAccessible::Name), form.windowTitle());
    QCOMPARE(freeLabels(form), read);
    QCOMPARE(window->text(QAccessible::Description), description);
}

void TestAccessibility::resultsReadRowByRow()
{
    // Questions 1 and 4 and the formula right: 1 + 2 + 3 points.
    harness::Run run;
    harness::takeQuiz(run, {1, 2, 3, 1},
                      {{true, false, false, true}, answer_key::AcceptedFormulas[2].toString()});

    auto &results = *run.screenAs<screens::Form5>();
    QVERIFY(results.isVisible());
    QStringList spoken;
    for (QAccessibleInterface *node : treeOf(results))
        spoken.append(node->text(QAccessible::Name));

    // Each title before its verdict, then the bottom row from left to right, as it is seen.
    using enum app::ScreenId;
    const auto right = [](app::ScreenId screen) {
        return answer_key::rightVerdict(app::stepOf(screen).points);
    };
    const QString wrong = answer_key::WrongVerdict.toString();
    // clang-format off
    const QStringList expected{
        u"Вопрос 1:"_s,      right(Form2),
        u"Вопрос 2:"_s,      wrong,
        u"Вопрос 3:"_s,      wrong,
        u"Вопрос 4:"_s,      right(Form8),
        u"Вопрос 5:"_s,      right(Form4),
        u"Ваша оценка"_s,    u"4"_s,
        u"Набрано баллов"_s, u"6"_s,
    };
    // clang-format on
    QCOMPARE(spoken, expected);

    // As the screen opens, each caption is read with its field, in the same order.
    QCOMPARE(freeLabels(results), QStringList());
    QStringList read;
    for (qsizetype at = 0; at < expected.size(); at += 2)
        read.append(expected.at(at) + u' ' + expected.at(at + 1));
    QCOMPARE(accessible(&results)->text(QAccessible::Description), read.join(u". "_s));

    // Screen readers are offered the screen on show, not the one being left in the
    // hand-over, which lives on, hidden, until the event loop is back.
    QAccessibleInterface *application = accessible(qApp);
    QCOMPARE(application->childCount(), 1);
    QCOMPARE(application->child(0)->object(), &results);
    QCOMPARE(application->indexOfChild(accessible(&results)), 0);
    const QWidgetList windows = QApplication::topLevelWidgets();
    const auto left =
        std::ranges::find(windows, QString::fromLatin1(harness::nameOf(answer_key::FormulaScreen)),
                          &QWidget::objectName);
    QVERIFY(left != windows.end());
    QVERIFY((*left)->windowHandle());
    QVERIFY(accessible(*left)->state().invisible);
    QCOMPARE(application->indexOfChild(accessible(*left)), -1);
}

QTEST_MAIN(TestAccessibility)
#include "test_accessibility.moc"
