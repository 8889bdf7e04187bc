#include <QFile>
#include <QImage>
#include <QList>
#include <QTest>
#include <QtEndian>

using namespace Qt::StringLiterals;

namespace {

constexpr QRgb kBlack = 0x000000;

const QString kWorksheet = u":/pictures/worksheet.bmp"_s;
const QString kSpreadsheet = u":/pictures/spreadsheet.bmp"_s;
const QString kIcon16 = u":/icons/icon-16.png"_s;
const QString kIcon32 = u":/icons/icon-32.png"_s;
const QString kIconMono = u":/icons/icon-32-mono.png"_s;

const QList<QRgb> kVgaPalette{0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080, 0x008080, 0xC0C0C0,
                              0x808080, 0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF};

[[nodiscard]] QRgb rgbAt(const QImage& image, int x, int y)
{
    return image.pixel(x, y) & 0xFFFFFF;
}

[[nodiscard]] QString hex(QRgb colour)
{
    return QString::number(colour, 16).toUpper();
}

// The smallest rectangle holding every black pixel of the area.
[[nodiscard]] QRect inkBounds(const QImage& image, const QRect& area)
{
    QRect bounds;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            if (rgbAt(image, x, y) == kBlack) {
                bounds |= QRect(x, y, 1, 1);
            }
        }
    }
    return bounds;
}

[[nodiscard]] quint32 le(const QByteArray& bytes, qsizetype at, int size)
{
    if (at < 0 || at + size > bytes.size()) {
        return 0xFFFFFFFF;
    }
    const auto* data = reinterpret_cast<const uchar*>(bytes.constData()) + at;
    return size == 1 ? data[0] : size == 2 ? qFromLittleEndian<quint16>(data) : qFromLittleEndian<quint32>(data);
}

void addPixel(const char* element, int x, int y, QRgb colour)
{
    QTest::addRow("%s (%d,%d)", element, x, y) << x << y << colour;
}

}  // namespace

class TestPictures : public QObject {
    Q_OBJECT

private slots:
    void files_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QSize>("size");
        QTest::newRow("worksheet") << kWorksheet << QSize(291, 224);
        QTest::newRow("spreadsheet") << kSpreadsheet << QSize(282, 142);
        QTest::newRow("icon 16") << kIcon16 << QSize(16, 16);
        QTest::newRow("icon 32") << kIcon32 << QSize(32, 32);
        QTest::newRow("icon 32 mono") << kIconMono << QSize(32, 32);
    }

    void files()
    {
        QFETCH(QString, path);
        QFETCH(QSize, size);
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        const QImage image = QImage::fromData(bytes);
        QCOMPARE(image.size(), size);
        if (path.endsWith(u".bmp")) {
            QCOMPARE(bytes.left(2), "BM");
            QCOMPARE(le(bytes, 28, 2), 24u);  // biBitCount
        } else {
            QVERIFY(image.hasAlphaChannel());
            QCOMPARE(qAlpha(image.pixel(0, 0)), 0);
        }
    }

    void worksheetPixels_data()
    {
        QTest::addColumn<int>("x");
        QTest::addColumn<int>("y");
        QTest::addColumn<QRgb>("colour");
        addPixel("frame line", 0, 0, 0x716F64);
        addPixel("frame line", 290, 0, 0x716F64);
        addPixel("corner box", 0, 1, 0xEFEDDE);
        addPixel("corner box", 24, 16, 0xEFEDDE);
        addPixel("header band", 70, 2, 0xEFEDDE);
        addPixel("header band beyond H", 290, 8, 0xEFEDDE);
        addPixel("line under band", 0, 17, 0xACA899);
        addPixel("line under band", 290, 17, 0xACA899);
        addPixel("line right of strip", 25, 1, 0xACA899);
        addPixel("line right of strip", 25, 223, 0xACA899);
        addPixel("row strip below 12", 0, 223, 0xEFEDDE);
        addPixel("header separator B|C", 91, 1, 0xACA899);
        addPixel("header separator H|", 289, 16, 0xACA899);
        addPixel("strip separator 2|3", 0, 51, 0xACA899);
        addPixel("strip separator 12|", 24, 221, 0xACA899);
        addPixel("cell B2", 62, 40, 0xFFFFFF);
        addPixel("cell H12", 257, 205, 0xFFFFFF);
        addPixel("cell H12", 288, 220, 0xFFFFFF);
        addPixel("grid right of H", 289, 100, 0xC0C0C0);
        addPixel("grid under 12", 150, 221, 0xC0C0C0);
        addPixel("next column", 290, 100, 0xFFFFFF);
        addPixel("next row", 150, 222, 0xFFFFFF);
        addPixel("next row", 150, 223, 0xFFFFFF);
        addPixel("header A tint", 26, 1, 0xC1D2EE);
        addPixel("header A tint", 57, 16, 0xC1D2EE);
        addPixel("header 1 tint", 0, 18, 0xC1D2EE);
        addPixel("header 1 tint", 24, 33, 0xC1D2EE);
        addPixel("under header A", 26, 17, 0x316AC5);
        addPixel("under header A", 58, 17, 0x316AC5);
        addPixel("right of header A", 58, 1, 0x316AC5);
        addPixel("right of header 1", 25, 18, 0x316AC5);
        addPixel("under header 1", 0, 34, 0x316AC5);
        addPixel("under header 1", 25, 34, 0x316AC5);
        addPixel("under header B", 59, 17, 0xACA899);
        addPixel("left of header A", 25, 17, 0xACA899);
        addPixel("right of header 2", 25, 35, 0xACA899);
        addPixel("frame left", 26, 25, 0x000000);
        addPixel("frame top", 40, 18, 0x000000);
        addPixel("frame top over grid", 58, 18, 0x3F3F3F);
        addPixel("frame right", 59, 30, 0x000000);
        addPixel("frame right inner", 57, 19, 0x000000);
        addPixel("frame bottom", 54, 35, 0x000000);
        addPixel("frame bottom over grid", 26, 34, 0x3F3F3F);
        addPixel("inside A1", 56, 31, 0xFFFFFF);
        addPixel("gap above handle", 57, 31, 0xFFFFFF);
        addPixel("gap above handle", 58, 31, 0xC0C0C0);
        addPixel("gap left of handle", 55, 33, 0xFFFFFF);
        addPixel("gap left of handle", 55, 34, 0xC0C0C0);
        addPixel("handle", 56, 32, 0x000000);
        addPixel("handle", 60, 36, 0x000000);
        addPixel("handle over grid", 58, 34, 0x3F3F3F);
        addPixel("right of handle", 61, 34, 0xC0C0C0);
        addPixel("below handle", 58, 37, 0xC0C0C0);
    }

    void worksheetPixels() { comparePixel(kWorksheet); }

    void spreadsheetPixels_data()
    {
        QTest::addColumn<int>("x");
        QTest::addColumn<int>("y");
        QTest::addColumn<QRgb>("colour");
        addPixel("window face", 0, 0, 0xECE9D8);
        addPixel("window white", 1, 0, 0xFFFFFF);
        addPixel("window white", 92, 1, 0xFFFFFF);
        addPixel("window face", 92, 2, 0xECE9D8);
        addPixel("window face", 93, 0, 0xECE9D8);
        addPixel("window face", 167, 1, 0xECE9D8);
        addPixel("window white", 168, 2, 0xFFFFFF);
        addPixel("window white", 281, 0, 0xFFFFFF);
        addPixel("frame light", 0, 3, 0xACA899);
        addPixel("frame light", 281, 3, 0xACA899);
        addPixel("frame dark", 281, 4, 0x716F64);
        addPixel("frame left", 0, 141, 0x716F64);
        addPixel("corner box", 1, 5, 0xEFEDDE);
        addPixel("header band", 30, 20, 0xEFEDDE);
        addPixel("line under band", 1, 21, 0xACA899);
        addPixel("line under band", 279, 21, 0xACA899);
        addPixel("line right of strip", 26, 5, 0xACA899);
        addPixel("line right of strip", 26, 141, 0xACA899);
        addPixel("row strip", 1, 141, 0xEFEDDE);
        addPixel("header separator A|B", 137, 5, 0xACA899);
        addPixel("header separator C|", 279, 20, 0xACA899);
        addPixel("strip separator 2|3", 1, 72, 0xACA899);
        addPixel("strip separator 6|", 25, 140, 0xACA899);
        addPixel("next header tint", 280, 5, 0xC1D2EE);
        addPixel("next header tint", 281, 20, 0xC1D2EE);
        addPixel("under next header", 280, 21, 0x316AC5);
        addPixel("under next header", 281, 21, 0x316AC5);
        addPixel("border right of A", 137, 22, 0x000000);
        addPixel("border right of C", 279, 140, 0x000000);
        addPixel("border under 1", 27, 38, 0x000000);
        addPixel("border under 6", 279, 140, 0x000000);
        addPixel("border under 2", 200, 72, 0x000000);
        addPixel("grid beyond table", 280, 38, 0xC0C0C0);
        addPixel("grid beyond table", 281, 140, 0xC0C0C0);
        addPixel("grid beyond table", 137, 141, 0xC0C0C0);
        addPixel("grid beyond table", 279, 141, 0xC0C0C0);
        addPixel("cell A1", 27, 22, 0xFFFFFF);
        addPixel("cell C6", 278, 139, 0xFFFFFF);
        addPixel("cell C1", 250, 30, 0xFFFFFF);
        addPixel("next column", 280, 22, 0xFFFFFF);
        addPixel("next row", 100, 141, 0xFFFFFF);
    }

    void spreadsheetPixels() { comparePixel(kSpreadsheet); }

    void palettes_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QList<QRgb>>("colours");
        QTest::newRow("worksheet") << kWorksheet
                                   << QList<QRgb>{0x716F64, 0xEFEDDE, 0xACA899, 0xC0C0C0, 0xFFFFFF, 0xC1D2EE,
                                                  0x316AC5, 0x000000, 0x3F3F3F};
        QTest::newRow("spreadsheet") << kSpreadsheet
                                     << QList<QRgb>{0xECE9D8, 0x716F64, 0xEFEDDE, 0xACA899, 0xC0C0C0, 0xFFFFFF,
                                                    0xC1D2EE, 0x316AC5, 0x000000};
        QTest::newRow("icon 16") << kIcon16 << kVgaPalette;
        QTest::newRow("icon 32") << kIcon32 << kVgaPalette;
        QTest::newRow("icon 32 mono") << kIconMono << QList<QRgb>{0x000000, 0xFFFFFF};
    }

    // Smoothed text or blended edges would bring in colours outside the small screen palette.
    void palettes()
    {
        QFETCH(QString, path);
        QFETCH(QList<QRgb>, colours);
        const QImage image(path);
        QVERIFY(!image.isNull());
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                const QRgb pixel = image.pixel(x, y);
                QVERIFY2(qAlpha(pixel) == 0 || (qAlpha(pixel) == 255 && colours.contains(pixel & 0xFFFFFF)),
                         qPrintable(u"#%1 at (%2,%3)"_s.arg(pixel, 8, 16, QChar(u'0')).arg(x).arg(y)));
            }
        }
    }

    void labels_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QRect>("area");
        QTest::addColumn<int>("first");  // expected ink columns and rows, -1 where not fixed
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
            QTest::addRow("worksheet %d", r + 1) << kWorksheet << QRect(0, top, 25, 16) << -1 << -1 << top + 3
                                                 << top + 12 << true;
        }
        const auto cell = [](const char* name, QPoint from, QPoint to, int first, int last, int top, int bottom,
                             bool centred) {
            QTest::newRow(name) << kSpreadsheet << QRect(from, to) << first << last << top << bottom << centred;
        };
        cell("A", {27, 5}, {136, 20}, -1, -1, 8, 17, true);
        cell("B", {138, 5}, {214, 20}, -1, -1, 8, 17, true);
        cell("C", {216, 5}, {278, 20}, -1, -1, 8, 17, true);
        cell("1", {1, 22}, {25, 37}, -1, -1, 25, 34, true);
        cell("2 at the bottom", {1, 39}, {25, 71}, -1, -1, 59, 68, true);
        cell("6", {1, 124}, {25, 139}, -1, -1, 127, 136, true);
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
        cell("C3 empty", {216, 73}, {278, 88}, -1, -1, -1, -1, false);
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
        const QImage image(path);
        const QRect ink = inkBounds(image, area);
        if (QByteArray(QTest::currentDataTag()).endsWith("empty")) {
            QVERIFY(ink.isNull());
            return;
        }
        QVERIFY(!ink.isNull());
        for (const auto& [actual, expected] : {std::pair{ink.left(), first}, {ink.right(), last},
                                               {ink.top(), top}, {ink.bottom(), bottom}}) {
            if (expected >= 0) {
                QCOMPARE(actual, expected);
            }
        }
        if (centred) {
            QVERIFY2(std::abs((ink.left() - area.left()) - (area.right() - ink.right())) <= 1,
                     qPrintable(u"ink %1..%2"_s.arg(ink.left()).arg(ink.right())));
        }
    }

    // Bold "Стоимость 1 КВт" is to fill column A almost exactly without touching its border.
    void costFillsColumnA()
    {
        const QRect ink = inkBounds(QImage(kSpreadsheet), QRect(QPoint(27, 22), QPoint(136, 37)));
        QVERIFY2(ink.right() >= 133 && ink.right() <= 135, qPrintable(QString::number(ink.right())));
    }

    void iconPixels_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QPoint>("at");
        QTest::addColumn<QRgb>("colour");  // opaque; 0 means transparent
        const auto pixel = [](const char* name, const QString& path, QPoint at, QRgb colour) {
            QTest::newRow(name) << path << at << colour;
        };
        pixel("32 outside", kIcon32, {31, 0}, 0);
        pixel("32 caption", kIcon32, {12, 6}, 0xFF00FFFF);
        pixel("32 under caption", kIcon32, {5, 9}, 0xFFC0C0C0);
        pixel("32 body", kIcon32, {14, 18}, 0xFFFFFFFF);
        pixel("32 outline left", kIcon32, {2, 18}, 0xFF000000);
        pixel("32 outline right", kIcon32, {27, 18}, 0xFF000000);
        pixel("32 shadow right", kIcon32, {29, 18}, 0xFF808080);
        pixel("32 shadow bottom", kIcon32, {14, 28}, 0xFF808080);
        pixel("16 outside", kIcon16, {15, 0}, 0);
        pixel("16 caption", kIcon16, {4, 3}, 0xFF00FFFF);
        pixel("16 under caption", kIcon16, {4, 4}, 0xFFC0C0C0);
        pixel("16 caption, right", kIcon16, {11, 5}, 0xFF00FFFF);
        pixel("16 body", kIcon16, {6, 9}, 0xFFFFFFFF);
        pixel("16 outline", kIcon16, {1, 9}, 0xFF000000);
        pixel("16 shadow", kIcon16, {14, 9}, 0xFF808080);
        pixel("mono outside", kIconMono, {31, 31}, 0);
        pixel("mono caption", kIconMono, {12, 6}, 0xFF000000);
        pixel("mono body", kIconMono, {14, 18}, 0xFFFFFFFF);
        pixel("mono shadow, dithered", kIconMono, {28, 18}, 0xFF000000);
        pixel("mono shadow, dithered", kIconMono, {29, 18}, 0);
    }

    void iconPixels()
    {
        QFETCH(QString, path);
        QFETCH(QPoint, at);
        QFETCH(QRgb, colour);
        const QRgb actual = QImage(path).pixel(at);
        QCOMPARE(hex(qAlpha(actual) == 0 ? 0u : actual), hex(colour));
    }

    // A window in perspective: its nearer left side is taller than its farther right side.
    void iconRecedes_data()
    {
        QTest::addColumn<QString>("path");
        QTest::newRow("16") << kIcon16;
        QTest::newRow("32") << kIcon32;
    }

    void iconRecedes()
    {
        QFETCH(QString, path);
        const QImage image(path);
        QList<int> heights;
        for (int x = 0; x < image.width(); ++x) {
            int height = 0;
            for (int y = 0; y < image.height(); ++y) {
                height += rgbAt(image, x, y) == kBlack && qAlpha(image.pixel(x, y)) == 255;
            }
            if (height > image.height() / 2) {
                heights << height;
            }
        }
        QCOMPARE(heights.size(), 2);  // the two upright sides
        QVERIFY(heights.first() > heights.last());
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
        QCOMPARE(le(ico, 0, 2), 0u);
        QCOMPARE(le(ico, 2, 2), 1u);
        QCOMPARE(le(ico, 4, 2), 3u);

        const int entry = 6 + 16 * index;
        const quint32 colours = 1u << bitCount;
        QCOMPARE(le(ico, entry, 1), quint32(size));
        QCOMPARE(le(ico, entry + 1, 1), quint32(size));
        QCOMPARE(le(ico, entry + 2, 1), colours);
        QCOMPARE(le(ico, entry + 4, 2), 1u);
        QCOMPARE(le(ico, entry + 6, 2), quint32(bitCount));
        const int xorStride = (size * bitCount + 31) / 32 * 4;
        const int andStride = (size + 31) / 32 * 4;
        const int paletteAt = 40;
        const int xorAt = paletteAt + 4 * int(colours);
        const int andAt = xorAt + xorStride * size;
        QCOMPARE(le(ico, entry + 8, 4), quint32(andAt + andStride * size));
        const int dib = int(le(ico, entry + 12, 4));
        QVERIFY(dib + andAt + andStride * size <= ico.size());

        QCOMPARE(le(ico, dib, 4), 40u);
        QCOMPARE(le(ico, dib + 4, 4), quint32(size));
        QCOMPARE(le(ico, dib + 8, 4), quint32(2 * size));
        QCOMPARE(le(ico, dib + 12, 2), 1u);
        QCOMPARE(le(ico, dib + 14, 2), quint32(bitCount));

        // Decoding the bitmap must give back the PNG drawn from the same pixel art.
        const QImage png(sameAs);
        for (int y = 0; y < size; ++y) {
            const int row = size - 1 - y;
            for (int x = 0; x < size; ++x) {
                const bool transparent = (le(ico, dib + andAt + andStride * row + x / 8, 1) >> (7 - x % 8)) & 1;
                const int bit = x * bitCount;
                const quint32 entryOf =
                    (le(ico, dib + xorAt + xorStride * row + bit / 8, 1) >> (8 - bitCount - bit % 8)) & (colours - 1);
                const int quad = dib + paletteAt + 4 * int(entryOf);
                const QRgb colour = qRgb(int(le(ico, quad + 2, 1)), int(le(ico, quad + 1, 1)), int(le(ico, quad, 1)));
                const QRgb expected = png.pixel(x, y);
                QCOMPARE(transparent, qAlpha(expected) == 0);
                if (!transparent) {
                    QCOMPARE(colour, expected);
                }
            }
        }
    }

private:
    void comparePixel(const QString& path)
    {
        QFETCH(int, x);
        QFETCH(int, y);
        QFETCH(QRgb, colour);
        const QImage image(path);
        QVERIFY(!image.isNull());
        QCOMPARE(hex(rgbAt(image, x, y)), hex(colour));
    }
};

QTEST_MAIN(TestPictures)
#include "test_pictures.moc"
