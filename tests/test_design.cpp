#include "ink.h"
#include "quiz_harness.h"

#include "controls/design.h"
#include "screens/results/form5.h"

#include <QFontInfo>
#include <QLineEdit>
#include <QTest>

using namespace Qt::StringLiterals;
using harness::fillResultsWithTheLongestTexts;

Q_DECLARE_METATYPE(shell::ScreenId)

namespace {

[[nodiscard]] QString codePoints(const QString &text)
{
    QStringList points;
    for (const char32_t point : text.toUcs4())
        points.append(u"U+%1"_s.arg(uint(point), 4, 16, QChar(u'0')).toUpper());
    return points.join(u' ');
}

}  // namespace

class TestDesign : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { harness::applyLookOnce(); }
    void cleanup() { shell::endRun(); }

    void windowsHaveTheDesignCaptionAndSize_data();
    void windowsHaveTheDesignCaptionAndSize();
    void controlsKeepTheirPlaceWhenResized();
    void everyControlUsesTheEmbeddedFace_data() { harness::addRowPerScreen(); }
    void everyControlUsesTheEmbeddedFace();
    void fontsHaveTheDesignSize_data();
    void fontsHaveTheDesignSize();
    void noTextIsCutOff_data() { harness::addRowPerScreenAndSlot(); }
    void noTextIsCutOff();
    void everyScreenShowsTheProgramIcon_data() { harness::addRowPerScreen(); }
    void everyScreenShowsTheProgramIcon();
};

void TestDesign::windowsHaveTheDesignCaptionAndSize_data()
{
    QTest::addColumn<shell::ScreenId>("screen");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<bool>("fixed");

    const QString title = u"Ссылки в Excel"_s;
    QTest::newRow("Form1") << shell::ScreenId::Form1 << title << QSize(675, 482) << false;
    QTest::newRow("Form6") << shell::ScreenId::Form6 << title << QSize(669, 474) << false;
    QTest::newRow("Form2") << shell::ScreenId::Form2 << title << QSize(688, 492) << false;
    QTest::newRow("Form7") << shell::ScreenId::Form7 << title << QSize(693, 490) << false;
    QTest::newRow("Form3") << shell::ScreenId::Form3 << title << QSize(674, 498) << true;
    QTest::newRow("Form8") << shell::ScreenId::Form8 << u"Ссылки в Excel "_s << QSize(701, 504) << false;
    QTest::newRow("Form4") << shell::ScreenId::Form4 << title << QSize(666, 474) << false;
    QTest::newRow("Form5") << shell::ScreenId::Form5 << title << QSize(683, 486) << false;
}

void TestDesign::windowsHaveTheDesignCaptionAndSize()
{
    QFETCH(shell::ScreenId, screen);
    QFETCH(QString, caption);
    QFETCH(QSize, size);
    QFETCH(bool, fixed);

    harness::ScriptedDraws draws;
    shell::ScopedRandomSource scoped(draws);
    shell::Screen &form = shell::instance(screen);
    form.showScreen();
    // Look-alike letters print the same, so a difference is shown letter by letter.
    QVERIFY2(form.windowTitle() == caption,
             qPrintable(codePoints(form.windowTitle()) + u"\n   instead of "_s + codePoints(caption)));
    QCOMPARE(form.size(), size);
    QCOMPARE(form.minimumSize() == form.maximumSize(), fixed);
    QCOMPARE(form.windowFlags().testFlag(Qt::WindowMinimizeButtonHint), !fixed);
    QCOMPARE(form.windowFlags().testFlag(Qt::WindowMaximizeButtonHint), !fixed);
}

void TestDesign::controlsKeepTheirPlaceWhenResized()
{
    harness::ScriptedDraws draws;
    shell::ScopedRandomSource scoped(draws);
    auto &form = shell::Form5();
    form.showScreen();
    const QRect grade = form.Label8->geometry();
    form.resize(900, 700);
    QApplication::processEvents();
    QCOMPARE(form.Label8->geometry(), grade);
    QCOMPARE(form.Label1->geometry(), QRect(-24, 8, 225, 65));
}

void TestDesign::everyControlUsesTheEmbeddedFace()
{
    QFETCH(shell::ScreenId, screen);
    harness::ScriptedDraws draws;
    shell::ScopedRandomSource scoped(draws);
    shell::Screen &form = shell::instance(screen);
    form.showScreen();

    for (QWidget *control : form.findChildren<QWidget *>()) {
        if (!ink::captionOf(control) && !qobject_cast<QLineEdit *>(control))
            continue;
        const QFontInfo resolved(control->font());
        QVERIFY2(control->font().family() == u"MS Sans Serif"_s, qPrintable(control->objectName()));
        QVERIFY2(resolved.family() == u"Liberation Sans"_s,
                 qPrintable(control->objectName() + u": "_s + resolved.family()));
        QVERIFY2(QFontMetrics(control->font()).inFont(u'Ж'), qPrintable(control->objectName()));
    }
}

void TestDesign::fontsHaveTheDesignSize_data()
{
    QTest::addColumn<shell::ScreenId>("screen");
    QTest::addColumn<QString>("control");
    QTest::addColumn<int>("pixels");
    QTest::addColumn<bool>("bold");
    QTest::addColumn<bool>("italic");

    QTest::newRow("title, 36 pt bold italic") << shell::ScreenId::Form1 << u"Label1"_s << 48 << true << true;
    QTest::newRow("instructions, 13.5 pt") << shell::ScreenId::Form6 << u"Label4"_s << 18 << false << false;
    QTest::newRow("start button, 24 pt") << shell::ScreenId::Form6 << u"Command1"_s << 32 << false << false;
    QTest::newRow("default 8 pt") << shell::ScreenId::Form2 << u"Option1(1)"_s << 11 << false << false;
    QTest::newRow("frame, 12 pt bold") << shell::ScreenId::Form2 << u"Frame1"_s << 16 << true << false;
    QTest::newRow("options, 9.75 pt") << shell::ScreenId::Form3 << u"Option1(2)"_s << 13 << false << false;
    QTest::newRow("question, 13.5 pt bold") << shell::ScreenId::Form3 << u"Label1"_s << 18 << true << false;
    QTest::newRow("formula, 18 pt bold") << shell::ScreenId::Form4 << u"Text1"_s << 24 << true << false;
    QTest::newRow("grade, 39 pt bold") << shell::ScreenId::Form5 << u"Label8"_s << 52 << true << false;
    QTest::newRow("total caption, 24 pt") << shell::ScreenId::Form5 << u"Label13"_s << 32 << false << false;
}

void TestDesign::fontsHaveTheDesignSize()
{
    QFETCH(shell::ScreenId, screen);
    QFETCH(QString, control);
    QFETCH(int, pixels);
    QFETCH(bool, bold);
    QFETCH(bool, italic);

    harness::ScriptedDraws draws;
    shell::ScopedRandomSource scoped(draws);
    auto *widget = shell::instance(screen).findChild<QWidget *>(control);
    QVERIFY(widget);
    const QFontInfo resolved(widget->font());
    QCOMPARE(resolved.pixelSize(), pixels);
    QCOMPARE(resolved.bold(), bold);
    QCOMPARE(resolved.italic(), italic);
}

void TestDesign::noTextIsCutOff()
{
    QFETCH(shell::ScreenId, screen);
    QFETCH(int, correctIndex);

    harness::ScriptedDraws draws{harness::drawFor(correctIndex)};
    shell::ScopedRandomSource scoped(draws);
    shell::Screen &form = shell::instance(screen);
    if (screen == shell::ScreenId::Form5)
        fillResultsWithTheLongestTexts();
    form.showScreen();
    const QStringList cutOff = ink::textsCutOff(form);
    QVERIFY2(cutOff.isEmpty(), qPrintable(cutOff.join(u'\n')));
}

void TestDesign::everyScreenShowsTheProgramIcon()
{
    QFETCH(shell::ScreenId, screen);
    harness::ScriptedDraws draws;
    shell::ScopedRandomSource scoped(draws);
    const QIcon icon = shell::instance(screen).windowIcon();

    for (const int size : {16, 32}) {
        const QImage expected = QImage(u":/icons/icon-%1.png"_s.arg(size)).convertToFormat(QImage::Format_ARGB32);
        QVERIFY(!expected.isNull());
        QCOMPARE(icon.pixmap(size, size).toImage().convertToFormat(QImage::Format_ARGB32), expected);
    }
}

QTEST_MAIN(TestDesign)
#include "test_design.moc"
