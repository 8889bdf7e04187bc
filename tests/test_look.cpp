#include "screens/intro/form1.h"
#include "screens/intro/form6.h"
#include "shell/look.h"
#include "shell/screen_slots.h"

#include <QApplication>
#include <QFontDatabase>
#include <QFontInfo>
#include <QLabel>
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
// other faces come with the first screen after the title. The tests run in the order
// of a start-up, in a process that begins with no look at all.
class TestLook : public QObject {
    Q_OBJECT

private slots:
    void cleanupTestCase() { shell::endRun(); }

    void preparingGivesTheStyleButNoFace();
    void finishingEmbedsTheTitleFaceAndTheIconOnce();
    void theTitleIsBuiltWithItsFaceAlone();
    void theScreenAfterTheTitleBringsEveryFace();
};

void TestLook::preparingGivesTheStyleButNoFace()
{
    shell::prepareLook(*qApp);
    QCOMPARE(QApplication::style()->name(), u"windows"_s);
    QCOMPARE(QApplication::font().family(), u"MS Sans Serif"_s);
    QCOMPARE(QApplication::applicationName(), u"refs-quiz"_s);
    QCOMPARE(embeddedFaces(), 0);
    QVERIFY(QApplication::windowIcon().isNull());
}

void TestLook::finishingEmbedsTheTitleFaceAndTheIconOnce()
{
    shell::finishLook();
    QCOMPARE(embeddedFaces(), 1);
    QCOMPARE(QFontDatabase::applicationFontFamilies(0), QStringList{u"Liberation Sans"_s});
    QCOMPARE(QFont::substitute(u"MS Sans Serif"_s).toLower(), u"liberation sans"_s);
    QVERIFY(!QApplication::windowIcon().isNull());

    shell::finishLook();
    QCOMPARE(embeddedFaces(), 1);
}

void TestLook::theTitleIsBuiltWithItsFaceAlone()
{
    const screens::Form1 &title = shell::Form1();
    QCOMPARE(embeddedFaces(), 1);
    const QFontInfo face(title.Label1->font());
    QCOMPARE(face.family(), u"Liberation Sans"_s);
    QVERIFY(face.bold());
    QVERIFY(face.italic());
}

void TestLook::theScreenAfterTheTitleBringsEveryFace()
{
    const screens::Form6 &instructions = shell::Form6();
    QCOMPARE(embeddedFaces(), 4);
    const QFontInfo face(instructions.Label1->font());
    QCOMPARE(face.family(), u"Liberation Sans"_s);
    QVERIFY(!face.bold());
    QVERIFY(!face.italic());

    // Once is enough: later screens add nothing.
    shell::embedAllFaces();
    QCOMPARE(embeddedFaces(), 4);
}

QTEST_MAIN(TestLook)
#include "test_look.moc"
