// SPDX-License-Identifier: GPL-3.0-or-later
#include <QCryptographicHash>
#include <QFile>
#include <QImage>
#include <QList>
#include <QTest>
#include <QtEndian>

#include <cstdlib>
#include <span>
#include <utility>

using namespace Qt::StringLiterals;

namespace {

const QString kWorksheet = u":/pictures/worksheet.bmp"_s;
const QString kSpreadsheet = u":/pictures/spreadsheet.bmp"_s;
const QString kIcon16 = u":/icons/icon-16.png"_s;
const QString kIcon32 = u":/icons/icon-32.png"_s;
const QString kIconMono = u":/icons/icon-32-mono.png"_s;

const QList<QRgb> kVgaPalette{0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080,
                              0x008080, 0xC0C0C0, 0x808080, 0xFF0000, 0x00FF00, 0xFFFF00,
                              0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF};

struct Pixel {
    const char *element;
    int x;
    int y;
    QRgb colour;
};

constexpr Pixel kWorksheetPixels[]{
    {"frame line", 290, 0, 0x716F64},
    {"corner box", 24, 16, 0xEFEDDE},
    {"band beyond H", 290, 8, 0xEFEDDE},
    {"line under band", 290, 17, 0xACA899},
    {"line right of strip", 25, 223, 0xACA899},
    {"strip below 12", 0, 223, 0xEFEDDE},
    {"separator right of H", 289, 16, 0xACA899},
    {"separator under 12", 24, 221, 0xACA899},
    {"cell H12", 257, 205, 0xFFFFFF},
    {"cell H12", 288, 220, 0xFFFFFF},
    {"grid right of H", 289, 100, 0xC0C0C0},
    {"grid under 12", 150, 221, 0xC0C0C0},
    {"next column", 290, 100, 0xFFFFFF},
    {"next row", 150, 223, 0xFFFFFF},
    {"header A tint", 26, 1, 0xC1D2EE},
    {"header 1 tint", 24, 33, 0xC1D2EE},
    {"under header A", 26, 17, 0x316AC5},
    {"under header A", 58, 17, 0x316AC5},
    {"right of header A", 58, 1, 0x316AC5},
    {"right of header 1", 25, 18, 0x316AC5},
    {"under header 1", 0, 34, 0x316AC5},
    {"under header 1", 25, 34, 0x316AC5},
    {"under header B", 59, 17, 0xACA899},
    {"right of header 2", 25, 35, 0xACA899},
    {"frame left", 26, 25, 0x000000},
    {"frame top over grid", 58, 18, 0x3F3F3F},
    {"frame right", 59, 30, 0x000000},
    {"frame right inner", 57, 19, 0x000000},
    {"frame bottom", 54, 35, 0x000000},
    {"frame bottom over grid", 26, 34, 0x3F3F3F},
    {"inside A1", 56, 31, 0xFFFFFF},
    {"gap above handle", 57, 31, 0xFFFFFF},
    {"gap above handle", 58, 31, 0xC0C0C0},
    {"gap left of handle", 55, 33, 0xFFFFFF},
    {"gap left of handle", 55, 34, 0xC0C0C0},
    {"handle", 56, 32, 0x000000},
    {"handle", 60, 36, 0x000000},
    {"handle over grid", 58, 34, 0x3F3F3F},
};

constexpr Pixel kSpreadsheetPixels[]{
    {"window face", 0, 0, 0xECE9D8},
    {"window white", 1, 0, 0xFFFFFF},
    {"window white", 92, 1, 0xFFFFFF},
    {"window face", 92, 2, 0xECE9D8},
    {"window face", 167, 1, 0xECE9D8},
    {"window white", 168, 2, 0xFFFFFF},
    {"frame light", 281, 3, 0xACA899},
    {"frame dark", 281, 4, 0x716F64},
    {"frame left", 0, 141, 0x716F64},
    {"corner box", 1, 5, 0xEFEDDE},
    {"line under band", 279, 21, 0xACA899},
    {"line right of strip", 26, 141, 0xACA899},
    {"separator right of A", 137, 5, 0xACA899},
    {"separator under 6", 25, 140, 0xACA899},
    {"next header tint", 280, 5, 0xC1D2EE},
    {"next header tint", 281, 20, 0xC1D2EE},
    {"under next header", 280, 21, 0x316AC5},
    {"under next header", 281, 21, 0x316AC5},
    {"border right of C", 279, 140, 0x000000},
    {"border under 1", 27, 38, 0x000000},
    {"border under 2", 200, 72, 0x000000},
    {"grid beyond table", 280, 38, 0xC0C0C0},
    {"grid beyond table", 137, 141, 0xC0C0C0},
    {"cell A1", 27, 22, 0xFFFFFF},
    {"next column", 280, 22, 0xFFFFFF},
    {"next row", 100, 141, 0xFFFFFF},
};

constexpr QRgb kClear = 0x1000000;  // a transparent pixel

constexpr Pixel kIcon32Pixels[]{
    {"caption", 12, 6, 0x00FFFF},  {"under caption", 5, 9, 0xC0C0C0}, {"body", 14, 18, 0xFFFFFF},
    {"outline", 27, 18, 0x000000}, {"shadow", 29, 18, 0x808080},      {"outside", 31, 0, kClear},
};

constexpr Pixel kIcon16Pixels[]{
    {"caption", 4, 3, 0x00FFFF}, {"under caption", 4, 4, 0xC0C0C0}, {"body", 6, 9, 0xFFFFFF},
    {"shadow", 14, 9, 0x808080}, {"outside", 15, 0, kClear},
};

constexpr Pixel kMonoIconPixels[]{
    {"caption", 12, 6, 0x000000},
    {"body", 14, 18, 0xFFFFFF},
    {"outside", 31, 31, kClear},
};

[[nodiscard]] QString hex(QRgb colour)
{
    return QString::number(colour, 16).toUpper();
}

// The smallest rectangle holding every black pixel of the area.
[[nodiscard]] QRect inkBounds(const QImage &image, const QRect &area)
{
    QRect bounds;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            if ((image.pixel(x, y) & 0xFFFFFF) == 0) {
                bounds |= QRect(x, y, 1, 1);
            }
        }
    }
    return bounds;
}

[[nodiscard]] quint32 le(const QByteArray &bytes, qsizetype at, int size)
{
    if (at < 0 || at + size > bytes.size()) {
        return 0xFFFFFFFF;
    }
    const auto *data = reinterpret_cast<const uchar *>(bytes.constData()) + at;
    return size == 1 ? data[0]
        : size == 2  ? qFromLittleEndian<quint16>(data)
                     : qFromLittleEndian<quint32>(data);
}

}  // namespace

class TestPictures : public QObject {
    Q_OBJECT

private slots:
    void pixels_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QPoint>("at");
        QTest::addColumn<QRgb>("colour");
        const auto add = [](const QString &path, std::span<const Pixel> table) {
            for (const Pixel &p : table) {
                QTest::addRow("%s %s (%d,%d)", qPrintable(path.section(u'/', -1)), p.element, p.x,
                              p.y)
                    << path << QPoint(p.x, p.y) << p.colour;
            }
        };
        add(kWorksheet, kWorksheetPixels);
        add(kSpreadsheet, kSpreadsheetPixels);
        add(kIcon32, kIcon32Pixels);
        add(kIcon16, kIcon16Pixels);
        add(kIconMono, kMonoIconPixels);
    }

    void pixels()
    {
        QFETCH(QString, path);
        QFETCH(QPoint, at);
        QFETCH(QRgb, colour);
        const QImage image(path);
        QVERIFY(!image.isNull());
        const QRgb actual = image.pixel(at);
        QCOMPARE(hex(qAlpha(actual) == 0 ? kClear : actual & 0xFFFFFF), hex(colour));
    }

    // Every picture is drawn at build time with the embedded faces, so it comes out the same
    // to the pixel on every build; any change, wanted or not, changes its digest (SHA-256 of
    // its pixels as 32-bit ARGB, row by row). After a change on purpose, look at the new
    // picture in build/assets/generated/ first, then put the digest this test reports here.
    void digests_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QByteArray>("sha256");
        const auto add = [](const QString &path, const char *sha256) {
            QTest::newRow(qPrintable(path.section(u'/', -1))) << path << QByteArray(sha256);
        };
        add(u":/pictures/title.bmp"_s,
            "a1c6b96eea3d3dfce858d94f0228176f4e903872b806dbb378c9f133d4b8a3df");
        add(kWorksheet, "c7bfc271f16a5509e3310cde0debeb9873335591965872a4e7b47ea71fa7bac6");
        add(kSpreadsheet, "e93766a30344b93c23ac3c157f4b999a10b1a292a1b5efbb5db84a97e091a623");
        add(kIcon16, "57572db7d1fb988d4e2dbde5ec3c3f891ea43ba192e4dd4add0f557d9ec365d0");
        add(kIcon32, "1ae409680689fc3ab0cd6234fc760ac90e430ad5a5260f71599c067dd92926cb");
        add(kIconMono, "f82666f8d18e0ec808a7f9f21c6c4f5bb16f65851deedc4517d8b73a13929bc8");
        add(u":/icons/icon-48.png"_s,
            "370c9e3362e45b0fba3c3b1d71e288a1b26076f66530a6181e37f498cd31e575");
        add(u":/icons/icon-64.png"_s,
            "d822d1275455a68688687ad0ef7103111f1536d9c5c75b13cd05caf8bff56e91");
        add(u":/icons/icon-128.png"_s,
            "cdf39d873495e0507910de840bca3bcff9cd32f1a60e3b49a165a14870b278dc");
    }

    void digests()
    {
        QFETCH(QString, path);
        QFETCH(QByteArray, sha256);
        const QImage image = QImage(path).convertToFormat(QImage::Format_ARGB32);
        QVERIFY(!image.isNull());
        const QByteArrayView pixels(image.constBits(), image.sizeInBytes());
        QCOMPARE(QCryptographicHash::hash(pixels, QCryptographicHash::Sha256).toHex(), sha256);
    }

    void formats_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<QList<QRgb>>("colours");
        QTest::newRow("worksheet") << kWorksheet << QSize(291, 224)
                                   << QList<QRgb>{0x716F64, 0xEFEDDE, 0xACA899, 0xC0C0C0, 0xFFFFFF,
                                                  0xC1D2EE, 0x316AC5, 0x000000, 0x3F3F3F};
        QTest::newRow("spreadsheet")
            << kSpreadsheet << QSize(282, 142)
            << QList<QRgb>{0xECE9D8, 0x716F64, 0xEFEDDE, 0xACA899, 0xC0C0C0,
                           0xFFFFFF, 0xC1D2EE, 0x316AC5, 0x000000};
        QTest::newRow("icon 16") << kIcon16 << QSize(16, 16) << kVgaPalette;
        QTest::newRow("icon 32") << kIcon32 << QSize(32, 32) << kVgaPalette;
        QTest::newRow("icon 32 mono")
            << kIconMono << QSize(32, 32) << QList<QRgb>{0x000000, 0xFFFFFF};
    }

    // Smoothed text or blended edges would bring in colours outside the small screen palette.
    void formats()
    {
        QFETCH(QString, path);
        QFETCH(QSize, size);
        QFETCH(QList<QRgb>, colours);
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        const QImage image = QImage::fromData(bytes);
        QCOMPARE(image.size(), size);
        if (path.endsWith(u".bmp")) {
            QCOMPARE(le(bytes, 28, 2), 24u);  // biBitCount
        }
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                const QRgb pixel = image.pixel(x, y);
                QVERIFY2(qAlpha(pixel) == 0
                             || (qAlpha(pixel) == 255 && colours.contains(pixel & 0xFFFFFF)),
                         qPrintable(u"%1 at (%2,%3)"_s.arg(hex(pixel)).arg(x).arg(y)));
            }
        }
    }

    // Where the ink of each label lies; -1 where the layout does not fix it.
    void labels_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QRect>("area");
        QTest::addColumn<int>("first");
        QTest::addColumn<int>("last");
        QTest::addColumn<int>("top");
        QTest::addColumn<int>("bottom");
        QTest::addColumn<bool>("centred");
        for (int k = 0; k < 8; ++k) {
            QTest::addRow("worksheet %c", 'A' + k)
                << kWorksheet << QRect(26 + 33 * k, 1, 32, 16) << -1 << -1 << 4 << 13 << true;
        }
        for (int r = 0; r < 12; ++r) {
            const int top = 18 + 17 * r;
            QTest::addRow("worksheet %d", r + 1)
                << kWorksheet << QRect(0, top, 25, 16) << -1 << -1 << top + 3 << top + 12 << true;
        }
        const auto cell = [](const char *name, QPoint from, QPoint to, int first, int last, int top,
                             int bottom, bool centred) {
            QTest::newRow(name) << kSpreadsheet << QRect(from, to) << first << last << top << bottom
                                << centred;
        };
        cell("A", {27, 5}, {136, 20}, -1, -1, 8, 17, true);
        cell("1", {1, 22}, {25, 37}, -1, -1, 25, 34, true);
        cell("2 at the bottom", {1, 39}, {25, 71}, -1, -1, 59, 68, true);
        cell("A1 Стоимость 1 КВт", {27, 22}, {136, 37}, 29, -1, 25, 34, false);
        cell("B1 1,50р.", {138, 22}, {214, 37}, -1, 208, 25, -1, false);
        cell("A2 Месяц", {27, 39}, {136, 71}, -1, -1, 50, -1, true);
        cell("B2 Показания", {138, 39}, {214, 55}, -1, -1, 43, 52, true);
        cell("B2 счетчика", {138, 56}, {214, 71}, -1, -1, -1, 67, true);
        cell("C2 Оплата", {216, 39}, {278, 55}, -1, -1, 43, 52, true);
        cell("C2 за месяц", {216, 56}, {278, 71}, -1, -1, -1, -1, true);
        cell("A3 декабрь 2005", {27, 73}, {136, 88}, 29, -1, 76, -1, false);
        cell("A6 март", {27, 124}, {136, 139}, 29, -1, -1, -1, false);
        cell("B3 1280", {138, 73}, {214, 88}, -1, 212, 76, 85, false);
        cell("B6 1860", {138, 124}, {214, 139}, -1, 212, 127, 136, false);
    }

    void labels()
    {
        QFETCH(QString, path);
        QFETCH(QRect, area);
        QFETCH(int, first);
        QFETCH(int, last);
        QFETCH(int, top);
        QFETCH(int, bottom);
        QFETCH(bool, centred);
        const QRect ink = inkBounds(QImage(path), area);
        QVERIFY(!ink.isNull());
        for (const auto &[actual, expected] : {std::pair{ink.left(), first},
                                               {ink.right(), last},
                                               {ink.top(), top},
                                               {ink.bottom(), bottom}}) {
            if (expected >= 0) {
                QCOMPARE(actual, expected);
            }
        }
        if (centred) {
            QVERIFY2(std::abs((ink.left() - area.left()) - (area.right() - ink.right())) <= 1,
                     qPrintable(u"ink %1..%2"_s.arg(ink.left()).arg(ink.right())));
        }
    }

    // Bold "Стоимость 1 КВт" fills column A almost exactly, without touching its border.
    void costFillsColumnA()
    {
        const QRect ink = inkBounds(QImage(kSpreadsheet), QRect(QPoint(27, 22), QPoint(136, 37)));
        QVERIFY2(ink.right() >= 133 && ink.right() <= 135,
                 qPrintable(QString::number(ink.right())));
        QVERIFY(inkBounds(QImage(kSpreadsheet), QRect(QPoint(216, 22), QPoint(278, 37))).isNull());
    }

    void icoFile_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<int>("size");
        QTest::addColumn<int>("bitCount");
        QTest::addColumn<QString>("sameAs");
        QTest::newRow("32 x 32, 2 colours") << 0 << 32 << 1 << kIconMono;
        QTest::newRow("32 x 32, 16 colours") << 1 << 32 << 4 << kIcon32;
        QTest::newRow("16 x 16, 16 colours") << 2 << 16 << 4 << kIcon16;
    }

    void icoFile()
    {
        QFETCH(int, index);
        QFETCH(int, size);
        QFETCH(int, bitCount);
        QFETCH(QString, sameAs);
        QFile file(QStringLiteral(REFS_QUIZ_ICO_PATH));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray ico = file.readAll();
        QCOMPARE(le(ico, 0, 4), 0x10000u);  // reserved 0, type 1 (icon)
        QCOMPARE(le(ico, 4, 2), 3u);

        const int entry = 6 + 16 * index;
        const int colours = 1 << bitCount;
        const int xorStride = (size * bitCount + 31) / 32 * 4;
        const int andStride = (size + 31) / 32 * 4;
        const int xorAt = 40 + 4 * colours;
        const int andAt = xorAt + xorStride * size;
        QCOMPARE(le(ico, entry, 1), quint32(size));
        QCOMPARE(le(ico, entry + 1, 1), quint32(size));
        QCOMPARE(le(ico, entry + 2, 1), quint32(colours));
        QCOMPARE(le(ico, entry + 4, 2), 1u);
        QCOMPARE(le(ico, entry + 6, 2), quint32(bitCount));
        QCOMPARE(le(ico, entry + 8, 4), quint32(andAt + andStride * size));
        const int dib = int(le(ico, entry + 12, 4));
        QVERIFY(dib + andAt + andStride * size <= ico.size());
        QCOMPARE(le(ico, dib, 4), 40u);
        QCOMPARE(le(ico, dib + 4, 4), quint32(size));
        QCOMPARE(le(ico, dib + 8, 4), quint32(2 * size));
        QCOMPARE(le(ico, dib + 14, 2), quint32(bitCount));

        // Decoding the bitmaps, bottom-up, must give back the PNG drawn from the same pixel art.
        const QImage png(sameAs);
        for (int y = 0; y < size; ++y) {
            const int row = size - 1 - y;
            for (int x = 0; x < size; ++x) {
                const bool transparent =
                    (le(ico, dib + andAt + andStride * row + x / 8, 1) >> (7 - x % 8)) & 1;
                const int bit = x * bitCount;
                const int colour = int(le(ico, dib + xorAt + xorStride * row + bit / 8, 1)
                                       >> (8 - bitCount - bit % 8))
                    & (colours - 1);
                const int quad = dib + 40 + 4 * colour;
                const QRgb rgb = qRgb(int(le(ico, quad + 2, 1)), int(le(ico, quad + 1, 1)),
                                      int(le(ico, quad, 1)));
                QCOMPARE(transparent, qAlpha(png.pixel(x, y)) == 0);
                if (!transparent) {
                    QCOMPARE(hex(rgb), hex(png.pixel(x, y)));
                }
            }
        }
    }
};

QTEST_MAIN(TestPictures)
#include "test_pictures.moc"
