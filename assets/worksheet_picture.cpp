#include "pictures.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <QRegion>
#include <QString>

#include <algorithm>
#include <utility>

using namespace Qt::StringLiterals;

namespace assets {
namespace {

constexpr QRgb kFrame = 0x716F64;
constexpr QRgb kHeaderFace = 0xEFEDDE;
constexpr QRgb kHeaderLine = 0xACA899;
constexpr QRgb kGridLine = 0xC0C0C0;
constexpr QRgb kCell = 0xFFFFFF;
constexpr QRgb kSelectedHeaderFace = 0xC1D2EE;
constexpr QRgb kSelectedHeaderEdge = 0x316AC5;
constexpr QRgb kText = 0x000000;

constexpr int kWidth = 291;
constexpr int kHeight = 224;

constexpr int kHeaderLineY = 17;  // under the column-header band
constexpr int kStripLineX = 25;   // right of the row-header strip
constexpr int kFirstCellX = kStripLineX + 1;
constexpr int kFirstCellY = kHeaderLineY + 1;
constexpr int kColumnPitch = 33;  // 32 pixels of cell plus the line right of it
constexpr int kRowPitch = 17;     // 16 pixels of cell plus the line under it
constexpr int kColumns = 8;
constexpr int kRows = 12;

// A 13-pixel Liberation Sans has 10-pixel capitals, as 10-point Arial has on a 96-dpi screen.
constexpr int kLabelPixelSize = 13;
constexpr int kCapHeight = 10;

[[nodiscard]] QRect columnBox(int column)
{
    return {kFirstCellX + kColumnPitch * column, 1, kColumnPitch - 1, kHeaderLineY - 1};
}

[[nodiscard]] QRect rowBox(int row)
{
    return {0, kFirstCellY + kRowPitch * row, kStripLineX, kRowPitch - 1};
}

[[nodiscard]] QFont labelFont()
{
    QFont font(u"Liberation Sans"_s);
    font.setPixelSize(kLabelPixelSize);
    font.setStyleStrategy(QFont::StyleStrategy(QFont::PreferAntialias | QFont::NoSubpixelAntialias));
    font.setHintingPreference(QFont::PreferFullHinting);
    font.setKerning(false);
    return font;
}

// A line of text as pure black pixels on a clear ground. Liberation Sans's own black-and-white
// hinting leaves spurs on the sides of "0" at this size (the zeros of "2005" touch), so the
// glyphs are drawn smoothed and then cut: a pixel is inked where the glyph covers most of it,
// and a stem split between two columns, as in "4" or "т", keeps only its darker column.
constexpr int kSolidCoverage = 153;  // of 255
constexpr int kStemCoverage = 64;

struct Lettering {
    QImage ink;  // ARGB32, each pixel black or fully transparent
    QPoint pen;  // where the pen starts, on the baseline
    int first;   // the inked columns, relative to the pen
    int last;
};

[[nodiscard]] Lettering letter(const QFont& font, const QString& text)
{
    const QFontMetrics metrics(font);
    const int margin = metrics.height();
    QImage coverage(metrics.horizontalAdvance(text) + 2 * margin, metrics.height(), QImage::Format_Alpha8);
    coverage.fill(Qt::transparent);
    {
        QPainter painter(&coverage);
        painter.setFont(font);
        painter.setPen(Qt::black);
        painter.drawText(margin, metrics.ascent(), text);
    }
    Lettering result{QImage(coverage.size(), QImage::Format_ARGB32), {margin, metrics.ascent()}, coverage.width(), -1};
    result.ink.fill(Qt::transparent);
    const auto at = [&coverage](int x, int y) {
        return x < 0 || x >= coverage.width() ? 0 : qAlpha(coverage.pixel(x, y));
    };
    for (int y = 0; y < coverage.height(); ++y) {
        for (int x = 0; x < coverage.width(); ++x) {
            const int c = at(x, y);
            if (c >= kSolidCoverage || (c >= kStemCoverage && c > at(x - 1, y) && c >= at(x + 1, y))) {
                result.ink.setPixel(x, y, 0xFF000000 | kText);
                result.first = std::min(result.first, x - margin);
                result.last = std::max(result.last, x - margin);
            }
        }
    }
    return result;
}

// Centres the ink across the box and puts the capitals 3 pixels above the box's bottom.
void drawHeaderLabel(QPainter& painter, const QRect& box, const QString& text)
{
    const Lettering label = letter(painter.font(), text);
    const int inkWidth = label.last - label.first + 1;
    const int penX = box.left() + (box.width() - inkWidth) / 2 - label.first;
    const int baseline = box.bottom() - (box.height() - kCapHeight) / 2 + 1;
    painter.drawImage(QPoint(penX, baseline) - label.pen, label.ink);
}

// The spreadsheet program's selection frame: inverted, thick on the right and bottom, with
// the fill handle at the corner kept apart from the thick lines by one untouched pixel.
[[nodiscard]] QRegion selectionFrame(const QRect& cell)
{
    const int l = cell.left();
    const int t = cell.top();
    const int r = cell.right();
    const int b = cell.bottom();
    QRegion frame;
    frame += QRect(QPoint(l, t), QPoint(l, b + 2));
    frame += QRect(QPoint(l, t), QPoint(r + 2, t));
    frame += QRect(QPoint(r, t), QPoint(r + 2, b - 3));
    frame += QRect(QPoint(l, b), QPoint(r - 3, b + 2));
    frame += QRect(QPoint(r - 1, b - 1), QPoint(r + 3, b + 3));
    return frame;
}

void invert(QImage& image, const QRegion& region)
{
    for (const QRect& rect : region) {
        for (int y = rect.top(); y <= rect.bottom(); ++y) {
            for (int x = rect.left(); x <= rect.right(); ++x) {
                image.setPixel(x, y, image.pixel(x, y) ^ 0xFFFFFF);
            }
        }
    }
}

}  // namespace

QImage paintWorksheetPicture()
{
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    image.fill(QColor::fromRgb(kCell));
    {
        QPainter painter(&image);
        const auto fill = [&painter](QPoint from, QPoint to, QRgb colour) {
            painter.fillRect(QRect(from, to), QColor::fromRgb(colour));
        };

        fill({0, 0}, {kWidth - 1, 0}, kFrame);
        fill({0, 1}, {kWidth - 1, kHeaderLineY - 1}, kHeaderFace);
        fill({0, kFirstCellY}, {kStripLineX - 1, kHeight - 1}, kHeaderFace);
        fill({0, kHeaderLineY}, {kWidth - 1, kHeaderLineY}, kHeaderLine);
        fill({kStripLineX, 1}, {kStripLineX, kHeight - 1}, kHeaderLine);

        for (int column = 0; column < kColumns; ++column) {
            const int x = columnBox(column).right() + 1;
            fill({x, 1}, {x, kHeaderLineY - 1}, kHeaderLine);
            fill({x, kFirstCellY}, {x, kHeight - 1}, kGridLine);
        }
        for (int row = 0; row < kRows; ++row) {
            const int y = rowBox(row).bottom() + 1;
            fill({0, y}, {kStripLineX - 1, y}, kHeaderLine);
            fill({kFirstCellX, y}, {kWidth - 1, y}, kGridLine);
        }

        // A1 is active, so header "A" and header "1" are highlighted.
        const QRect columnA = columnBox(0);
        const QRect row1 = rowBox(0);
        painter.fillRect(columnA, QColor::fromRgb(kSelectedHeaderFace));
        painter.fillRect(row1, QColor::fromRgb(kSelectedHeaderFace));
        fill({columnA.left(), kHeaderLineY}, {columnA.right() + 1, kHeaderLineY}, kSelectedHeaderEdge);
        fill({columnA.right() + 1, columnA.top()}, {columnA.right() + 1, columnA.bottom()}, kSelectedHeaderEdge);
        fill({kStripLineX, row1.top()}, {kStripLineX, row1.bottom()}, kSelectedHeaderEdge);
        fill({0, row1.bottom() + 1}, {kStripLineX, row1.bottom() + 1}, kSelectedHeaderEdge);

        painter.setFont(labelFont());
        for (int column = 0; column < kColumns; ++column) {
            drawHeaderLabel(painter, columnBox(column), QString(QChar(u'A' + column)));
        }
        for (int row = 0; row < kRows; ++row) {
            drawHeaderLabel(painter, rowBox(row), QString::number(row + 1));
        }
    }

    const QRect cellA1(kFirstCellX, kFirstCellY, kColumnPitch - 1, kRowPitch - 1);
    invert(image, selectionFrame(cellA1));
    return image.convertToFormat(QImage::Format_RGB888);
}

}  // namespace assets
