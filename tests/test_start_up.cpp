// SPDX-License-Identifier: GPL-3.0-or-later
#include "quiz_harness.h"

#include "controls/design.h"
#include "controls/look.h"
#include "screens/intro/form1.h"
#include "screens/intro/form6.h"

#include <QApplication>
#include <QFontDatabase>
#include <QFontInfo>
#include <QImageReader>
#include <QLabel>
#include <QResource>
#include <QStyle>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// Application fonts are numbered from 0 in the order they are added.
[[nodiscard]] int embeddedFaces()
{
    int count = 0;
    for (int id = 0; id < 8; ++id) {
        if (!QFontDatabase::applicationFontFamilies(id).isEmpty())
            ++count;
    }
    return count;
}

}  // namespace

// Start-up takes the look in two steps and embeds only the face the title shows; the
// other faces come with the first screen after the title, and the pictures are read
// where they lie. The tests run in the order of a start-up, in a process that begins
// with no look at all.
class TestStartUp : public QObject {
    Q_OBJECT

private slots:
    void cleanup() { harness::verifyNoWindowLeft(); }

    void preparingGivesTheStyleButNoFace();
    void finishingEmbedsTheTitleFaceAndTheIconOnce();
    void theTitleIsBuiltWithItsFaceAlone();
    void theScreenAfterTheTitleBringsEveryFace();
    void picturesReadInPlaceMatchQtsReader_data();
    void picturesReadInPlaceMatchQtsReader();
};

void TestStartUp::preparingGivesTheStyleButNoFace()
{
    design::prepareLook(*qApp);
    QCOMPARE(QApplication::style()->name(), u"windows"_s);
    QCOMPARE(QApplication::font().family(), u"MS Sans Serif"_s);
    // Wayland's app_id and the class in X11's WM_CLASS: the desktop entry's name.
    QCOMPARE(QGuiApplication::desktopFileName(), u"org.refsquiz.refs_quiz"_s);
    QCOMPARE(QApplication::applicationName(), u"org.refsquiz.refs_quiz"_s);
    QCOMPARE(embeddedFaces(), 0);
    QVERIFY(QApplication::windowIcon().isNull());
}

void TestStartUp::finishingEmbedsTheTitleFaceAndTheIconOnce()
{
    design::finishLook();
    QCOMPARE(embeddedFaces(), 1);
    QCOMPARE(QFontDatabase::applicationFontFamilies(0), QStringList{u"Liberation Sans"_s});
    QCOMPARE(QFont::substitute(u"MS Sans Serif"_s).toLower(), u"liberation sans"_s);
    QVERIFY(!QApplication::windowIcon().isNull());

    design::finishLook();
    QCOMPARE(embeddedFaces(), 1);
}

void TestStartUp::theTitleIsBuiltWithItsFaceAlone()
{
    // The run makes the title as it starts, as main does.
    harness::Run run;
    run.start();
    QCOMPARE(embeddedFaces(), 1);
    const QFontInfo face(run.screenAs<screens::Form1>()->Label1->font());
    QCOMPARE(face.family(), u"Liberation Sans"_s);
    QVERIFY(face.bold());
    QVERIFY(face.italic());
}

void TestStartUp::theScreenAfterTheTitleBringsEveryFace()
{
    harness::Run run;
    run.start();
    run.screenAs<screens::Form1>()->Timer1_Timer();
    // The regular and the bold join the title's face; no screen sets the regular italic.
    QCOMPARE(embeddedFaces(), 3);
    const QFontInfo face(run.screenAs<screens::Form6>()->Label1->font());
    QCOMPARE(face.family(), u"Liberation Sans"_s);
    QVERIFY(!face.bold());
    QVERIFY(!face.italic());

    // Once is enough: later screens add nothing.
    design::embedAllFaces();
    QCOMPARE(embeddedFaces(), 3);
}

void TestStartUp::picturesReadInPlaceMatchQtsReader_data()
{
    QTest::addColumn<QString>("resource");
    QTest::newRow("title") << u":/pictures/title.bmp"_s;
    QTest::newRow("worksheet") << u":/pictures/worksheet.bmp"_s;
    QTest::newRow("spreadsheet") << u":/pictures/spreadsheet.bmp"_s;
}

// The picture boxes read the BMPs' pixels themselves; Qt's reader is the reference for
// channel order, row order and the padding at the end of each row.
void TestStartUp::picturesReadInPlaceMatchQtsReader()
{
    QFETCH(QString, resource);
    // Compressed, the pictures would go through Qt's reader again, slowly.
    QCOMPARE(QResource(resource).compressionAlgorithm(), QResource::NoCompression);
    QImageReader reader(resource);
    const QImage expected = reader.read().convertToFormat(QImage::Format_RGB32);
    QVERIFY2(!expected.isNull(), qPrintable(reader.errorString()));

    QWidget window;
    const QLabel *box = design::pictureBox(&window, u"Picture1"_s, {0, 0, 15, 15}, resource,
                                           design::Sizing::AutoSize, u"picture"_s);
    const QImage shown = box->pixmap().toImage().convertToFormat(QImage::Format_RGB32);
    QCOMPARE(shown.size(), expected.size());
    QCOMPARE(shown, expected);
}

QTEST_MAIN(TestStartUp)
#include "test_start_up.moc"
