// SPDX-License-Identifier: GPL-3.0-or-later
#include "lettering.h"

#include <QFontMetrics>
#include <QPainter>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace assets {

QFont screenFont(bool bold)
{
    QFont font(u"Liberation Sans"_s);
    font.setPixelSize(kTextPixelSize);
    font.setBold(bold);
    font.setStyleStrategy(
        QFont::StyleStrategy(QFont::PreferAntialias | QFont::NoSubpixelAntialias));
    font.setHintingPreference(QFont::PreferFullHinting);
    font.setKerning(false);
    return font;
}

// Liberation Sans's own black-and-white hinting leaves spurs on the sides of "0" at this
// size (the zeros of "2005" touch), so the glyphs are drawn smoothed and then cut: a pixel
// is inked where the glyph covers most of it, and a stem split between two columns, as in
// "4" or "т", keeps only its darker column.
namespace {
constexpr int kSolidCoverage = 153;  // of 255
constexpr int kStemCoverage = 64;
}  // namespace

Lettering letter(const QFont &font, const QString &text)
{
    const QFontMetrics metrics(font);
    const int margin = metrics.height();
    QImage coverage(metrics.horizontalAdvance(text) + 2 * margin, metrics.height(),
                    QImage::Format_Alpha8);
    coverage.fill(Qt::transparent);
    {
        QPainter painter(&coverage);
        painter.setFont(font);
        painter.setPen(Qt::black);
        painter.drawText(margin, metrics.ascent(), text);
    }
    Lettering result{QImage(coverage.size(), QImage::Format_ARGB32),
                     {margin, metrics.ascent()},
                     coverage.width(),
                     -1};
    result.ink.fill(Qt::transparent);
    const auto at = [&coverage](int x, int y) {
        return x < 0 || x >= coverage.width() ? 0 : qAlpha(coverage.pixel(x, y));
    };
    for (int y = 0; y < coverage.height(); ++y) {
        for (int x = 0; x < coverage.width(); ++x) {
            const int c = at(x, y);
            if (c >= kSolidCoverage
                || (c >= kStemCoverage && c > at(x - 1, y) && c >= at(x + 1, y))) {
                result.ink.setPixel(x, y, qRgb(0, 0, 0));
                result.first = std::min(result.first, x - margin);
                result.last = std::max(result.last, x - margin);
            }
        }
    }
    return result;
}

}  // namespace assets
