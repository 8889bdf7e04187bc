// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFont>
#include <QImage>
#include <QPoint>
#include <QString>

// Screen lettering for the worksheet pictures: the 10-point sans-serif face a spreadsheet
// program draws its headers and cells with, as crisp black pixels.
namespace assets {

// At 13 pixels Liberation Sans has the 10-pixel capitals of 10-point Arial on a 96-dpi
// screen, and its bold "Стоимость 1 КВт" just fits the 110 pixels of column A.
inline constexpr int kTextPixelSize = 13;
inline constexpr int kCapHeight = 10;

[[nodiscard]] QFont screenFont(bool bold);

struct Lettering {
    QImage ink;  // ARGB32, each pixel black or fully transparent
    QPoint pen;  // where the pen starts, on the baseline
    int first;   // the inked columns, relative to the pen
    int last;
};

// A line of text as pure black pixels on a clear ground.
[[nodiscard]] Lettering letter(const QFont &font, const QString &text);

}  // namespace assets
