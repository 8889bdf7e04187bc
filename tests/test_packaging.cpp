// SPDX-License-Identifier: GPL-3.0-or-later
#include "quiz_harness.h"

#include <QCoreApplication>
#include <QFile>
#include <QImage>
#include <QRegularExpression>
#include <QTest>

using namespace Qt::StringLiterals;

// Version 1.00 is kept once, in CMake; every record made from it must carry the same number.
constexpr auto kVersion = u"1.00";

class TestPackaging : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { harness::applyLookOnce(); }

    void applicationCarriesTheVersion();
    void everyFileRecordCarriesTheVersion_data();
    void everyFileRecordCarriesTheVersion();
    void themeIconsAreSharpEnlargements_data();
    void themeIconsAreSharpEnlargements();
};

void TestPackaging::applicationCarriesTheVersion()
{
    QCOMPARE(QCoreApplication::applicationVersion(), QString::fromUtf16(kVersion));
}

void TestPackaging::everyFileRecordCarriesTheVersion_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QString>("expected");

    const QString version = QString::fromUtf16(kVersion);
    const auto metainfo = QStringLiteral(REFS_QUIZ_METAINFO_PATH);
    const auto rc = QStringLiteral(REFS_QUIZ_RC_PATH);
    QTest::newRow("AppStream release")
        << metainfo << uR"re(<release version="([^"]*)")re"_s << version;
    QTest::newRow("Windows FileVersion")
        << rc << uR"re(VALUE "FileVersion", "([^"]*)")re"_s << version;
    QTest::newRow("Windows ProductVersion")
        << rc << uR"re(VALUE "ProductVersion", "([^"]*)")re"_s << version;
    QTest::newRow("Windows FILEVERSION") << rc << uR"re(^FILEVERSION (\S+)$)re"_s << u"1,0,0,0"_s;
    QTest::newRow("Windows PRODUCTVERSION")
        << rc << uR"re(^PRODUCTVERSION (\S+)$)re"_s << u"1,0,0,0"_s;
    QTest::newRow("manual page") << QStringLiteral(REFS_QUIZ_MAN_PATH)
                                 << uR"re(^\.TH REFS-QUIZ 1 "[^"]*" "refs-quiz ([^"]*)")re"_s
                                 << version;
    QTest::newRow("Debian changelog") << QStringLiteral(REFS_QUIZ_CHANGELOG_PATH)
                                      << uR"re(^refs-quiz \((.*)-1\) )re"_s << version;
}

void TestPackaging::everyFileRecordCarriesTheVersion()
{
    QFETCH(QString, path);
    QFETCH(QString, pattern);
    QFETCH(QString, expected);

    QFile file(path);
    QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(path));
    const QString text = QString::fromUtf8(file.readAll());
    const QRegularExpression record(pattern, QRegularExpression::MultilineOption);
    QVERIFY(record.isValid());

    QStringList found;
    for (QRegularExpressionMatchIterator it = record.globalMatch(text); it.hasNext();)
        found << it.next().captured(1);
    QCOMPARE(found, QStringList{expected});
}

void TestPackaging::themeIconsAreSharpEnlargements_data()
{
    QTest::addColumn<int>("size");
    QTest::addColumn<int>("drawnSize");

    QTest::newRow("16 as drawn") << 16 << 16;
    QTest::newRow("32 as drawn") << 32 << 32;
    QTest::newRow("48 from 16") << 48 << 16;
    QTest::newRow("64 from 32") << 64 << 32;
    QTest::newRow("128 from 32") << 128 << 32;
}

// The hicolor theme gets the pixel art enlarged by whole numbers: every drawn pixel becomes a
// square block of one colour, with no blended edge and no half-transparent pixel.
void TestPackaging::themeIconsAreSharpEnlargements()
{
    QFETCH(int, size);
    QFETCH(int, drawnSize);

    const QString dir = QStringLiteral(REFS_QUIZ_ASSET_DIR);
    const QImage icon(u"%1/icon-%2.png"_s.arg(dir).arg(size));
    const QImage drawn(u"%1/icon-%2.png"_s.arg(dir).arg(drawnSize));
    QCOMPARE(icon.size(), QSize(size, size));
    QCOMPARE(drawn.size(), QSize(drawnSize, drawnSize));

    const int scale = size / drawnSize;
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const QRgb pixel = icon.pixel(x, y);
            const QRgb source = drawn.pixel(x / scale, y / scale);
            QVERIFY2(qAlpha(pixel) == 0 || qAlpha(pixel) == 255,
                     qPrintable(u"pixel %1,%2 is half transparent"_s.arg(x).arg(y)));
            if (qAlpha(pixel) != 0 || qAlpha(source) != 0)
                QVERIFY2(pixel == source,
                         qPrintable(u"pixel %1,%2 is #%3, the drawn pixel #%4"_s.arg(x)
                                        .arg(y)
                                        .arg(pixel, 8, 16, QChar(u'0'))
                                        .arg(source, 8, 16, QChar(u'0'))));
        }
    }
}

QTEST_MAIN(TestPackaging)
#include "test_packaging.moc"
