// SPDX-License-Identifier: GPL-3.0-or-later
#include <QFile>
#include <QImage>
#include <QList>
#include <QRect>
#include <QTest>
#include <QtEndian>

#include <algorithm>
#include <array>

namespace {

constexpr QRgb White = 0xFFFFFF;
constexpr QRgb Tan = 0xCC9966;
constexpr QRgb PalePink = 0xEFD6C6;
constexpr QRgb NearBlack = 0x080808;
constexpr QRgb Mauve = 0x996666;
constexpr QRgb HairDark = 0x330000;
constexpr QRgb HairMid = 0x663333;

constexpr std::array<QRgb, 15> Palette = {
    White,    Tan,      PalePink, NearBlack, Mauve,    HairDark, HairMid,  0xE7E7D6,
    0xCCCC99, 0xCC9999, 0xF1F1F1, 0xF8F8F8,  0xFFFBF0, 0xEAEAEA, 0xC0C0C0,
};

// Percentage of the area's pixels that have one of the colours.
double share(const QImage &image, const QRect &area, const QList<QRgb> &colours)
{
    qsizetype hits = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            hits += colours.contains(image.pixel(x, y) & RGB_MASK) ? 1 : 0;
    return 100.0 * static_cast<double>(hits) / static_cast<double>(area.width() * area.height());
}

}  // namespace

class TestTitlePicture : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void bitmapHeader_data();
    void bitmapHeader();
    void onlyPaletteColours();
    void colourShares_data();
    void colourShares();
    void regions_data();
    void regions();

private:
    QByteArray m_file;
    QImage m_picture;
};

void TestTitlePicture::initTestCase()
{
    QFile file(QStringLiteral(":/pictures/title.bmp"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    m_file = file.readAll();
    QVERIFY(m_picture.loadFromData(m_file, "BMP"));
    QCOMPARE(m_picture.size(), QSize(497, 312));
    QVERIFY(!m_picture.hasAlphaChannel());
}

void TestTitlePicture::bitmapHeader_data()
{
    QTest::addColumn<int>("offset");
    QTest::addColumn<int>("bytes");
    QTest::addColumn<qint64>("expected");

    QTest::newRow("signature BM") << 0 << 2 << qint64(0x4D42);
    QTest::newRow("width") << 18 << 4 << qint64(497);
    QTest::newRow("height") << 22 << 4 << qint64(312);
    QTest::newRow("24 bits a pixel") << 28 << 2 << qint64(24);
    QTest::newRow("no compression, no alpha mask") << 30 << 4 << qint64(0);
}

void TestTitlePicture::bitmapHeader()
{
    QFETCH(int, offset);
    QFETCH(int, bytes);
    QFETCH(qint64, expected);

    QVERIFY(m_file.size() >= offset + bytes);
    const char *field = m_file.constData() + offset;
    const qint64 value = bytes == 2 ? qint64(qFromLittleEndian<quint16>(field))
                                    : qint64(qFromLittleEndian<qint32>(field));
    QCOMPARE(value, expected);
}

void TestTitlePicture::onlyPaletteColours()
{
    for (int y = 0; y < m_picture.height(); ++y) {
        for (int x = 0; x < m_picture.width(); ++x) {
            const QRgb colour = m_picture.pixel(x, y) & RGB_MASK;
            if (std::find(Palette.begin(), Palette.end(), colour) == Palette.end())
                QFAIL(qPrintable(QStringLiteral("#%1 at (%2, %3) is not in the palette")
                                     .arg(colour, 6, 16, QLatin1Char('0'))
                                     .arg(x)
                                     .arg(y)));
        }
    }
}

void TestTitlePicture::colourShares_data()
{
    QTest::addColumn<QRgb>("colour");
    QTest::addColumn<double>("least");
    QTest::addColumn<double>("most");

    // Every palette colour is used, none swamps the picture, and the page stays white.
    QTest::newRow("white page") << White << 50.0 << 75.0;
    QTest::newRow("tan jacket") << Tan << 8.0 << 22.0;
    QTest::newRow("pale pink monitor and mouse") << PalePink << 3.0 << 10.0;
    QTest::newRow("near-black ink") << NearBlack << 2.5 << 9.0;
    QTest::newRow("mauve face and hand") << Mauve << 2.0 << 7.0;
    QTest::newRow("dark brown hair and tie") << HairDark << 1.0 << 4.0;
    QTest::newRow("brown strands and rims") << HairMid << 0.1 << 2.0;
    for (std::size_t i = 7; i < Palette.size(); ++i) {
        QTest::addRow("halo tint #%06x", Palette[i]) << Palette[i] << 0.1 << 4.0;
    }
}

void TestTitlePicture::colourShares()
{
    QFETCH(QRgb, colour);
    QFETCH(double, least);
    QFETCH(double, most);

    const double percent = share(m_picture, m_picture.rect(), {colour});
    QVERIFY2(percent >= least && percent <= most, qPrintable(QString::number(percent) + u'%'));
}

void TestTitlePicture::regions_data()
{
    QTest::addColumn<QRect>("area");
    QTest::addColumn<QList<QRgb>>("colours");
    QTest::addColumn<double>("least");

    const QRect jacket(56, 126, 235, 125);
    const QRect shirtFront(195, 126, 36, 90);
    const QRect head(155, 5, 86, 106);
    const QRect hand(270, 235, 46, 21);
    const QRect monitor(372, 102, 107, 182);
    const QRect mouse(316, 245, 28, 22);
    const QRect bottom(20, 262, 460, 40);

    QTest::newRow("jacket mostly tan") << jacket << QList<QRgb>{Tan} << 60.0;
    const QList<QRgb> whites{White, 0xF1F1F1, 0xF8F8F8};
    QTest::newRow("shirt front white") << shirtFront << whites << 10.0;
    QTest::newRow("dark tie") << shirtFront << QList<QRgb>{HairDark} << 6.0;
    QTest::newRow("mauve-brown face") << head << QList<QRgb>{Mauve} << 30.0;
    QTest::newRow("dark brown hair") << head << QList<QRgb>{HairDark} << 12.0;
    QTest::newRow("drawn face features") << head << QList<QRgb>{NearBlack} << 5.0;
    QTest::newRow("mauve-brown hand") << hand << QList<QRgb>{Mauve} << 45.0;
    QTest::newRow("pale pink monitor") << monitor << QList<QRgb>{PalePink} << 30.0;
    QTest::newRow("monitor contour") << monitor << QList<QRgb>{NearBlack} << 5.0;
    QTest::newRow("mouse beside the hand") << mouse << QList<QRgb>{PalePink} << 30.0;
    QTest::newRow("desk edge and cable") << bottom << QList<QRgb>{NearBlack} << 1.5;
    QTest::newRow("blank page top left") << QRect(0, 0, 140, 100) << QList<QRgb>{White} << 100.0;
    QTest::newRow("blank page top right") << QRect(300, 0, 197, 90) << QList<QRgb>{White} << 100.0;
}

void TestTitlePicture::regions()
{
    QFETCH(QRect, area);
    QFETCH(QList<QRgb>, colours);
    QFETCH(double, least);

    const double percent = share(m_picture, area, colours);
    QVERIFY2(percent >= least, qPrintable(QString::number(percent) + u'%'));
}

QTEST_MAIN(TestTitlePicture)

#include "test_title_picture.moc"
