// SPDX-License-Identifier: GPL-3.0-or-later
#include "lettering.h"
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

[[nodiscard]] QRect columnBox(int column)
{
    return {kFirstCellX + kColumnPitch * column, 1, kColumnPitch - 1, kHeaderLineY - 1};
}

[[nodiscard]] QRect rowBox(int row)
{
    return {0, kFirstCellY + kRowPitch * row, kStripLineX, kRowPitch - 1};
}

// Centres the ink across the box and puts the capitals 3 pixels above the box's bottom.
void drawHeaderLabel(QPainter &painter, const QRect &box, const QString &text)
{
    const Lettering label = letter(painter.font(), text);
    const int inkWidth = label.last - label.first + 1;
    const int penX = box.left() + (box.width() - inkWidth) / 2 - label.first;
    const int baseline = box.bottom() - (box.height() - kCapHeight) / 2 + 1;
    painter.drawImage(QPoint(penX, baseline) - label.pen, label.ink);
}

// The spreadsheet program's selection frame: inverted, thick on the right and bottom, with
// the fill handle at the corner kept apart from the thick lines by one untouched pixel.
[[nodiscard]] QRegion selectionFrame(const QRect &cell)
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

void invert(QImage &image, const QRegion &region)
{
    for (const QRect &rect : region) {
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
        fill({columnA.left(), kHeaderLineY}, {columnA.right() + 1, kHeaderLineY},
             kSelectedHeaderEdge);
        fill({columnA.right() + 1, columnA.top()}, {columnA.right() + 1, columnA.bottom()},
             kSelectedHeaderEdge);
        fill({kStripLineX, row1.top()}, {kStripLineX, row1.bottom()}, kSelectedHeaderEdge);
        fill({0, row1.bottom() + 1}, {kStripLineX, row1.bottom() + 1}, kSelectedHeaderEdge);

        painter.setFont(screenFont(false));
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
