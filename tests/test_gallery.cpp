// SPDX-License-Identifier: GPL-3.0-or-later
#include "gallery.h"
#include "quiz_harness.h"

#include <QDir>
#include <QFont>
#include <QPalette>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// What a dark desktop theme would hand the program at start.
void imposeDarkDesktop()
{
    QPalette dark(QColor(0x2B, 0x2B, 0x2B), QColor(0x35, 0x35, 0x35));
    dark.setColor(QPalette::Text, Qt::white);
    dark.setColor(QPalette::WindowText, Qt::white);
    dark.setColor(QPalette::ButtonText, Qt::white);
    dark.setColor(QPalette::Base, QColor(0x1E, 0x1E, 0x1E));
    QApplication::setPalette(dark);
    QApplication::setFont(QFont(u"DejaVu Serif"_s, 14));
}

}  // namespace

class TestGallery : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        if (qgetenv("REFS_QUIZ_TEST_DESKTOP") == "dark")
            imposeDarkDesktop();
        harness::applyLookOnce();
        m_shots = gallery::takeSampleRun();
    }
    void cleanup() { harness::verifyNoWindowLeft(); }

    void screensMatchTheirReferences_data();
    void screensMatchTheirReferences();

private:
    QList<gallery::Shot> m_shots;
};

void TestGallery::screensMatchTheirReferences_data()
{
    QTest::addColumn<QImage>("actual");
    for (const auto &shot : m_shots)
        QTest::newRow(qPrintable(shot.name)) << shot.image;
}

void TestGallery::screensMatchTheirReferences()
{
    QFETCH(QImage, actual);
    const QString name = QString::fromLatin1(QTest::currentDataTag());
    const QString referencePath =
        QDir(QStringLiteral(REFS_QUIZ_REFERENCE_DIR)).filePath(name + u".png"_s);
    const QImage expected = QImage(referencePath).convertToFormat(QImage::Format_RGB32);
    QVERIFY2(
        !expected.isNull(),
        qPrintable(u"no reference image %1; make it with script/screenshots tests/reference"_s.arg(
            referencePath)));
    QCOMPARE(actual.size(), expected.size());

    const gallery::Difference difference = gallery::compare(actual, expected);
    if (difference.pixels > gallery::allowedPixels(actual.size())) {
        const QString kept = QDir::temp().filePath(u"refs-quiz-%1-actual.png"_s.arg(name));
        actual.save(kept);
        QFAIL(qPrintable(
            u"%1 pixels differ (worst by %2); the screen is in %3"_s.arg(difference.pixels)
                .arg(difference.worst)
                .arg(kept)));
    }
}

QTEST_MAIN(TestGallery)
#include "test_gallery.moc"
