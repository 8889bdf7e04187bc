// SPDX-License-Identifier: GPL-3.0-or-later
#include "lettering.h"
#include "pictures.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <QString>
#include <QStringView>

#include <algorithm>
#include <array>
#include <utility>

using namespace Qt::StringLiterals;

namespace assets {
namespace {

constexpr QRgb kWindowFace = 0xECE9D8;
constexpr QRgb kFrame = 0x716F64;
constexpr QRgb kHeaderFace = 0xEFEDDE;
constexpr QRgb kHeaderLine = 0xACA899;
constexpr QRgb kGridLine = 0xC0C0C0;
constexpr QRgb kCell = 0xFFFFFF;
constexpr QRgb kSelectedHeaderFace = 0xC1D2EE;
constexpr QRgb kSelectedHeaderEdge = 0x316AC5;
constexpr QRgb kInk = 0x000000;

constexpr int kWidth = 282;
constexpr int kHeight = 142;

constexpr int kHeaderLineY = 21;
constexpr int kStripLineX = 26;

// Pixels inside a column or row, without the line that follows it.
struct Span {
    int first;
    int last;
};

template <std::size_t N>
[[nodiscard]] constexpr std::array<Span, N> spansFrom(int start, const std::array<int, N> &sizes)
{
    std::array<Span, N> spans{};
    for (std::size_t i = 0; i < N; ++i) {
        spans[i] = {start, start + sizes[i] - 1};
        start += sizes[i] + 1;
    }
    return spans;
}

// The table's columns A..C and rows 1..6 and, last, the sliver of the next one.
constexpr auto kColumns = spansFrom(kStripLineX + 1, std::array{110, 77, 63, 2});
constexpr auto kRows = spansFrom(kHeaderLineY + 1, std::array{16, 33, 16, 16, 16, 16, 1});
constexpr std::size_t kTableColumns = kColumns.size() - 1;
constexpr std::size_t kTableRows = kRows.size() - 1;
static_assert(kColumns.back().last == kWidth - 1 && kRows.back().last == kHeight - 1);

struct Fill {
    QPoint from;
    QPoint to;
    QRgb colour;
};

// The window chrome and the header band and strip, painted in this order.
constexpr std::array kBackground{
    Fill{{0, 0}, {kWidth - 1, 2}, kWindowFace},
    Fill{{1, 0}, {92, 1}, kCell},
    Fill{{168, 0}, {kWidth - 1, 2}, kCell},
    Fill{{0, 3}, {kWidth - 1, 3}, kHeaderLine},
    Fill{{0, 4}, {kWidth - 1, 4}, kFrame},
    Fill{{0, 4}, {0, kHeight - 1}, kFrame},
    Fill{{1, 5}, {kWidth - 1, kHeaderLineY - 1}, kHeaderFace},
    Fill{{1, kHeaderLineY + 1}, {kStripLineX - 1, kHeight - 1}, kHeaderFace},
    Fill{{1, kHeaderLineY}, {kWidth - 1, kHeaderLineY}, kHeaderLine},
    Fill{{kStripLineX, 5}, {kStripLineX, kHeight - 1}, kHeaderLine},
};

enum class Align { Left, Centre, Right };

struct CellText {
    std::size_t column;
    std::size_t row;
    QStringView text;  // lines separated by '\n'
    Align align;
    bool bold;
    int inset = 3;  // from the border line to the ink, for left and right alignment
};

constexpr std::array kTable{
    CellText{0, 0, u"Стоимость 1 КВт", Align::Left, true},
    CellText{1, 0, u"1,50р.", Align::Right, true, 7},
    CellText{0, 1, u"Месяц", Align::Centre, false},
    CellText{1, 1, u"Показания\nсчетчика", Align::Centre, false},
    CellText{2, 1, u"Оплата\nза месяц", Align::Centre, false},
    CellText{0, 2, u"декабрь 2005", Align::Left, false},
    CellText{1, 2, u"1280", Align::Right, false},
    CellText{0, 3, u"январь", Align::Left, false},
    CellText{1, 3, u"1450", Align::Right, false},
    CellText{0, 4, u"февраль", Align::Left, false},
    CellText{1, 4, u"1630", Align::Right, false},
    CellText{0, 5, u"март", Align::Left, false},
    CellText{1, 5, u"1860", Align::Right, false},
};

enum class VerticalAlign { Centre, Bottom };

// Places the ink of each line by the alignment; vertically the capitals of the block are
// centred, or end 3 pixels above the bottom as they do in a single-height row.
void drawLines(QPainter &painter, Span xs, Span ys, QStringView text, Align align, int inset,
               VerticalAlign vertical)
{
    const QStringList lines = text.toString().split(u'\n');
    const int lineSpacing = QFontMetrics(painter.font()).lineSpacing();
    const int blockHeight = kCapHeight + lineSpacing * int(lines.size() - 1);
    const int height = ys.last - ys.first + 1;
    int baseline = vertical == VerticalAlign::Centre
        ? ys.first + (height - blockHeight) / 2 + kCapHeight
        : ys.last - 2 - lineSpacing * int(lines.size() - 1);
    for (const QString &line : lines) {
        const Lettering lettering = letter(painter.font(), line);
        const int first = lettering.first;
        const int last = lettering.last;
        int inkLeft = 0;
        switch (align) {
        case Align::Left:
            inkLeft = xs.first - 1 + inset;
            break;
        case Align::Right:
            inkLeft = xs.last + 1 - inset - (last - first);
            break;
        case Align::Centre:
            inkLeft = xs.first + (xs.last - xs.first + 1 - (last - first + 1)) / 2;
            break;
        }
        painter.drawImage(QPoint(inkLeft - first, baseline) - lettering.pen, lettering.ink);
        baseline += lineSpacing;
    }
}

}  // namespace

QImage paintSpreadsheetPicture()
{
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    image.fill(QColor::fromRgb(kCell));
    QPainter painter(&image);
    const auto fill = [&painter](QPoint from, QPoint to, QRgb colour) {
        painter.fillRect(QRect(from, to), QColor::fromRgb(colour));
    };

    for (const Fill &f : kBackground) {
        fill(f.from, f.to, f.colour);
    }
    const Span band{5, kHeaderLineY - 1};
    const Span strip{1, kStripLineX - 1};
    const Span sheetXs{kColumns.front().first, kWidth - 1};
    const Span sheetYs{kRows.front().first, kHeight - 1};
    for (std::size_t c = 0; c + 1 < kColumns.size(); ++c) {
        const int x = kColumns[c].last + 1;
        fill({x, band.first}, {x, band.last}, kHeaderLine);
        fill({x, sheetYs.first}, {x, sheetYs.last}, kGridLine);
    }
    for (std::size_t r = 0; r + 1 < kRows.size(); ++r) {
        const int y = kRows[r].last + 1;
        fill({strip.first, y}, {strip.last, y}, kHeaderLine);
        fill({sheetXs.first, y}, {sheetXs.last, y}, kGridLine);
    }

    // The selection lies in the next column, just out of the picture but for its header.
    const Span next = kColumns.back();
    fill({next.first, band.first}, {next.last, band.last}, kSelectedHeaderFace);
    fill({next.first, kHeaderLineY}, {next.last, kHeaderLineY}, kSelectedHeaderEdge);

    const int tableRight = kColumns[kTableColumns - 1].last + 1;
    const int tableBottom = kRows[kTableRows - 1].last + 1;
    for (std::size_t c = 0; c < kTableColumns; ++c) {
        const int x = kColumns[c].last + 1;
        fill({x, sheetYs.first}, {x, tableBottom}, kInk);
    }
    for (std::size_t r = 0; r < kTableRows; ++r) {
        const int y = kRows[r].last + 1;
        fill({sheetXs.first, y}, {tableRight, y}, kInk);
    }

    painter.setFont(screenFont(false));
    for (std::size_t c = 0; c < kTableColumns; ++c) {
        drawLines(painter, kColumns[c], band, QString(QChar(u'A' + int(c))), Align::Centre, 0,
                  VerticalAlign::Centre);
    }
    for (std::size_t r = 0; r < kTableRows; ++r) {
        drawLines(painter, strip, kRows[r], QString::number(r + 1), Align::Centre, 0,
                  VerticalAlign::Bottom);
    }
    for (const CellText &cell : kTable) {
        painter.setFont(screenFont(cell.bold));
        drawLines(painter, kColumns[cell.column], kRows[cell.row], cell.text, cell.align,
                  cell.inset, VerticalAlign::Centre);
    }
    painter.end();
    return image.convertToFormat(QImage::Format_RGB888);
}

}  // namespace assets
