// SPDX-License-Identifier: GPL-3.0-or-later
#include "ink.h"
#include "quiz_harness.h"

#include "controls/design.h"
#include "screens/results/form5.h"

#include <QFontInfo>
#include <QLineEdit>
#include <QTest>

#include <functional>

using namespace Qt::StringLiterals;
Q_DECLARE_METATYPE(app::ScreenId)

namespace {

[[nodiscard]] QString codePoints(const QString &text)
{
    QStringList points;
    for (const char32_t point : text.toUcs4())
        points.append(u"U+%1"_s.arg(uint(point), 4, 16, QChar(u'0')).toUpper());
    return points.join(u' ');
}

// The colours a control is designed with: its text, and the paper behind it.
struct Paint {
    app::ScreenId screen;
    const char *control;
    QRgb text;
    QRgb back;
};

constexpr QRgb Face = 0xC0C0C0;     // the system's 3D face, where no background is given
constexpr QRgb Black = 0x000000;    // the system's button text, where no text colour is given
constexpr QRgb NoText = 0x1000000;  // the window itself

using enum app::ScreenId;
constexpr Paint DesignColours[]{
    {Form1, "Form1", NoText, 0xFFFFC0},     {Form1, "Label1", 0x008000, 0xFFFFC0},

    {Form6, "Form6", NoText, 0xFFE0C0},     {Form6, "Label1", 0xFF8000, 0xFFE0C0},
    {Form6, "Label2", 0xFF8080, 0xFFE0C0},  {Form6, "Label3", 0xC04000, 0xFFE0C0},
    {Form6, "Label4", 0x804000, 0xFFE0C0},  {Form6, "Command1", Black, 0xFF8080},

    {Form2, "Form2", NoText, 0xFFC0C0},     {Form2, "Label1", 0x804000, 0xFFC0C0},
    {Form2, "Frame1", 0xFF8000, 0xFFE0C0},  {Form2, "Option1(0)", Black, 0xFFE0C0},
    {Form2, "Option1(1)", Black, 0xFFE0C0}, {Form2, "Option1(2)", Black, 0xFFE0C0},
    {Form2, "Command1", Black, 0xFF8080},

    {Form7, "Form7", NoText, Face},         {Form7, "Label1", 0xFF8080, Face},
    {Form7, "Frame1", 0xFFC080, Face},      {Form7, "Option1(0)", Black, Face},
    {Form7, "Option1(1)", Black, Face},     {Form7, "Option1(2)", Black, Face},
    {Form7, "Command1", Black, 0xFFC0C0},

    {Form3, "Form3", NoText, 0xFFC0FF},     {Form3, "Label1", Black, 0xFFC0FF},
    {Form3, "Frame2", 0xFF8000, 0x8080FF},  {Form3, "Option1(0)", Black, 0x8080FF},
    {Form3, "Option1(1)", Black, 0x8080FF}, {Form3, "Option1(2)", Black, 0x8080FF},
    {Form3, "Command2", Black, 0xFF8080},

    {Form8, "Form8", NoText, 0xC0FFFF},     {Form8, "Label1", 0xFF8080, 0xC0FFFF},
    {Form8, "Frame1", Black, 0xC0C0FF},     {Form8, "Option1(0)", Black, 0xC0C0FF},
    {Form8, "Option1(1)", Black, 0xC0C0FF}, {Form8, "Option1(2)", Black, 0xC0C0FF},
    {Form8, "Command1", Black, 0xFFC0C0},

    {Form4, "Form4", NoText, Face},         {Form4, "Label1", Black, 0xE0E0E0},
    {Form4, "Label2", 0xFF0000, Face},      {Form4, "Text1", 0x800000, 0xFFFFFF},
    {Form4, "Command3", Black, 0xFFC0C0},

    {Form5, "Form5", NoText, Face},         {Form5, "Label1", 0x0000FF, Face},
    {Form5, "Label2", 0x0000FF, Face},      {Form5, "Label3", 0x0000FF, Face},
    {Form5, "Label9", 0x0000FF, Face},      {Form5, "Label11", 0x0000FF, Face},
    {Form5, "Label7", 0xFF0000, Face},      {Form5, "Label13", 0x0000FF, Face},
    {Form5, "Label4", 0xFF8080, Face},      {Form5, "Label5", 0xFF8080, Face},
    {Form5, "Label6", 0xFF8080, Face},      {Form5, "Label10", 0xFF8080, Face},
    {Form5, "Label12", 0xFF8080, Face},     {Form5, "Label14", 0xFF8080, Face},
    {Form5, "Label8", 0xFF00FF, Face},
};

}  // namespace

class TestDesign : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { harness::applyLookOnce(); }
    void cleanup() { harness::verifyNoWindowLeft(); }

    void windowsHaveTheDesignCaptionAndSize_data();
    void windowsHaveTheDesignCaptionAndSize();
    void controlsKeepTheirPlaceWhenResized();
    void everyControlUsesTheEmbeddedFace_data() { harness::addRowPerScreen(); }
    void everyControlUsesTheEmbeddedFace();
    void fontsHaveTheDesignSize_data();
    void fontsHaveTheDesignSize();
    void controlsShowTheirDesignColours_data();
    void controlsShowTheirDesignColours();
    void noTextIsCutOff_data() { harness::addRowPerScreenAndSlot(); }
    void noTextIsCutOff();
    void everyScreenShowsTheProgramIcon_data() { harness::addRowPerScreen(); }
    void everyScreenShowsTheProgramIcon();
};

void TestDesign::windowsHaveTheDesignCaptionAndSize_data()
{
    QTest::addColumn<app::ScreenId>("screen");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<bool>("fixed");

    const QString title = u"Ссылки в Excel"_s;
    QTest::newRow("Form1") << app::ScreenId::Form1 << title << QSize(675, 482) << false;
    QTest::newRow("Form6") << app::ScreenId::Form6 << title << QSize(669, 474) << false;
    QTest::newRow("Form2") << app::ScreenId::Form2 << title << QSize(688, 492) << false;
    QTest::newRow("Form7") << app::ScreenId::Form7 << title << QSize(693, 490) << false;
    QTest::newRow("Form3") << app::ScreenId::Form3 << title << QSize(674, 498) << true;
    QTest::newRow("Form8") << app::ScreenId::Form8 << u"Ссылки в Excel "_s << QSize(701, 504)
                           << false;
    QTest::newRow("Form4") << app::ScreenId::Form4 << title << QSize(666, 474) << false;
    QTest::newRow("Form5") << app::ScreenId::Form5 << title << QSize(683, 486) << false;
}

void TestDesign::windowsHaveTheDesignCaptionAndSize()
{
    QFETCH(app::ScreenId, screen);
    QFETCH(QString, caption);
    QFETCH(QSize, size);
    QFETCH(bool, fixed);

    harness::Run run;
    const shell::Screen &form = run.start(screen);
    // Look-alike letters print the same, so a difference is shown letter by letter.
    QVERIFY2(
        form.windowTitle() == caption,
        qPrintable(codePoints(form.windowTitle()) + u"\n   instead of "_s + codePoints(caption)));
    QCOMPARE(form.size(), size);
    QCOMPARE(form.minimumSize() == form.maximumSize(), fixed);
    QCOMPARE(form.windowFlags().testFlag(Qt::WindowMinimizeButtonHint), !fixed);
    QCOMPARE(form.windowFlags().testFlag(Qt::WindowMaximizeButtonHint), !fixed);
}

void TestDesign::controlsKeepTheirPlaceWhenResized()
{
    harness::Run run;
    run.start(app::ScreenId::Form5);
    auto &form = *run.screenAs<screens::Form5>();
    const QRect grade = form.Label8->geometry();
    form.resize(900, 700);
    QApplication::processEvents();
    QCOMPARE(form.Label8->geometry(), grade);
    QCOMPARE(form.Label1->geometry(), QRect(-24, 8, 225, 65));
}

void TestDesign::everyControlUsesTheEmbeddedFace()
{
    QFETCH(app::ScreenId, screen);
    harness::Run run;
    const shell::Screen &form = run.start(screen);

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
    QTest::addColumn<app::ScreenId>("screen");
    QTest::addColumn<QString>("control");
    QTest::addColumn<int>("pixels");
    QTest::addColumn<bool>("bold");
    QTest::addColumn<bool>("italic");

    QTest::newRow("title, 36 pt bold italic")
        << app::ScreenId::Form1 << u"Label1"_s << 48 << true << true;
    QTest::newRow("instructions, 13.5 pt")
        << app::ScreenId::Form6 << u"Label4"_s << 18 << false << false;
    QTest::newRow("start button, 24 pt")
        << app::ScreenId::Form6 << u"Command1"_s << 32 << false << false;
    QTest::newRow("default 8 pt") << app::ScreenId::Form2 << u"Option1(1)"_s << 11 << false
                                  << false;
    QTest::newRow("frame, 12 pt bold")
        << app::ScreenId::Form2 << u"Frame1"_s << 16 << true << false;
    QTest::newRow("options, 9.75 pt")
        << app::ScreenId::Form3 << u"Option1(2)"_s << 13 << false << false;
    QTest::newRow("question, 13.5 pt bold")
        << app::ScreenId::Form3 << u"Label1"_s << 18 << true << false;
    QTest::newRow("formula, 18 pt bold")
        << app::ScreenId::Form4 << u"Text1"_s << 24 << true << false;
    QTest::newRow("grade, 39 pt bold")
        << app::ScreenId::Form5 << u"Label8"_s << 52 << true << false;
    QTest::newRow("total caption, 24 pt")
        << app::ScreenId::Form5 << u"Label13"_s << 32 << false << false;
}

void TestDesign::fontsHaveTheDesignSize()
{
    QFETCH(app::ScreenId, screen);
    QFETCH(QString, control);
    QFETCH(int, pixels);
    QFETCH(bool, bold);
    QFETCH(bool, italic);

    harness::Run run;
    auto *widget = run.start(screen).findChild<QWidget *>(control);
    QVERIFY(widget);
    const QFontInfo resolved(widget->font());
    QCOMPARE(resolved.pixelSize(), pixels);
    QCOMPARE(resolved.bold(), bold);
    QCOMPARE(resolved.italic(), italic);
}

void TestDesign::controlsShowTheirDesignColours_data()
{
    QTest::addColumn<app::ScreenId>("screen");
    QTest::addColumn<QString>("control");
    QTest::addColumn<QRgb>("text");
    QTest::addColumn<QRgb>("back");
    for (const Paint &paint : DesignColours) {
        QTest::addRow("%s %s", harness::nameOf(paint.screen), paint.control)
            << paint.screen << QString::fromLatin1(paint.control) << paint.text << paint.back;
    }
}

// Each control as a run shows it: its paper over most of it, and its text pixel for pixel
// as the same text drawn in the same place with the design colours.
void TestDesign::controlsShowTheirDesignColours()
{
    QFETCH(app::ScreenId, screen);
    QFETCH(QString, control);
    QFETCH(QRgb, text);
    QFETCH(QRgb, back);

    harness::Run run;
    shell::Screen &form = run.start(screen);
    harness::showTheLongestResults(form);
    if (auto *formula = form.findChild<QLineEdit *>())
        formula->setText(answer_key::AcceptedFormulas[0].toString());
    // A focus frame would be drawn over the caption.
    if (QWidget *focus = form.focusWidget())
        focus->clearFocus();
    QWidget *widget = form.objectName() == control ? &form : form.findChild<QWidget *>(control);
    QVERIFY(widget);
    const QImage shown = widget->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const auto count = [&shown](const QRect &area, auto &&counted) {
        qsizetype pixels = 0;
        for (int y = area.top(); y <= area.bottom(); ++y) {
            for (int x = area.left(); x <= area.right(); ++x)
                pixels += counted(QPoint(x, y), shown.pixel(x, y) & RGB_MASK) ? 1 : 0;
        }
        return pixels;
    };
    const auto is = [](QRgb colour) {
        return [colour](QPoint, QRgb pixel) { return pixel == colour; };
    };
    const auto hex = [](QRgb colour) { return u"#%1"_s.arg(colour, 6, 16, QChar(u'0')).toUpper(); };

    if (widget == &form) {
        QRegion between(form.rect());
        for (QWidget *child : form.findChildren<QWidget *>(Qt::FindDirectChildrenOnly))
            between -= child->geometry();
        qsizetype off = 0;
        for (const QRect &area : between)
            off += count(area, std::not_fn(is(back)));
        QVERIFY2(
            off == 0,
            qPrintable(u"%1 pixels between the controls are not %2"_s.arg(off).arg(hex(back))));
        return;
    }
    const qsizetype area = qsizetype(shown.width()) * shown.height();
    const qsizetype paper = count(shown.rect(), is(back));
    QVERIFY2(paper * 2 >= area,
             qPrintable(u"%1 of %2 pixels are %3"_s.arg(paper).arg(area).arg(hex(back))));

    const auto caption = ink::captionOf(widget);
    if (!caption) {
        // The text box lays its text out as it scrolls; at its size the strokes are solid.
        const qsizetype solid = count(shown.rect(), is(text));
        QVERIFY2(solid * 100 >= area, qPrintable(u"%1 pixels are %2"_s.arg(solid).arg(hex(text))));
        return;
    }
    ink::Caption designed = *caption;
    designed.ink = text;
    designed.paper = back;
    const QImage expected = ink::drawCaption(designed, widget->font(), 1, 0);
    const qsizetype off = count(caption->box & shown.rect(), [&expected](QPoint at, QRgb pixel) {
        return pixel != (expected.pixel(at) & RGB_MASK);
    });
    QVERIFY2(off == 0,
             qPrintable(u"%1 pixels of \"%2\" differ from it drawn in %3 on %4"_s.arg(off).arg(
                 caption->text, hex(text), hex(back))));
}

void TestDesign::noTextIsCutOff()
{
    QFETCH(app::ScreenId, screen);
    QFETCH(int, correctIndex);

    harness::Run run{harness::drawFor(correctIndex)};
    shell::Screen &form = run.start(screen);
    harness::showTheLongestResults(form);
    const QStringList cutOff = ink::textsCutOff(form);
    QVERIFY2(cutOff.isEmpty(), qPrintable(cutOff.join(u'\n')));
}

void TestDesign::everyScreenShowsTheProgramIcon()
{
    QFETCH(app::ScreenId, screen);
    harness::Run run;
    const QIcon icon = run.start(screen).windowIcon();

    for (const int size : {16, 32}) {
        const QImage expected =
            QImage(u":/icons/icon-%1.png"_s.arg(size)).convertToFormat(QImage::Format_ARGB32);
        QVERIFY(!expected.isNull());
        QCOMPARE(icon.pixmap(size, size).toImage().convertToFormat(QImage::Format_ARGB32),
                 expected);
    }
}

QTEST_MAIN(TestDesign)
#include "test_design.moc"
