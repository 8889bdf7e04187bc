// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>
#include <QList>
#include <QPoint>
#include <QString>

class QWidget;

namespace gallery {

struct Shot {
    QString name;  // form1 .. form8
    QImage image;
};

// Takes a sample run through the real screens with fixed draws and grabs every screen
// as it first appears (the results once filled). Needs a QApplication with the look applied.
[[nodiscard]] QList<Shot> takeSampleRun();
// A screen as the gallery takes it, once the events that draw it have been handled.
[[nodiscard]] QImage grabScreen(QWidget &form);

// How far a screen is from its reference image, pixel by pixel.
struct Difference {
    qsizetype pixels = 0;  // beyond what antialiased glyph edges account for
    int worst = 0;
};
[[nodiscard]] Difference compare(const QImage &actual, const QImage &expected);
// How many pixels of an image that size may differ: where font renderers put glyph edges.
[[nodiscard]] qsizetype allowedPixels(QSize size);

// A screen shown scaled, brought back to design pixels, against the screen at 1:1, block by
// block: the largest difference of a block's mean colour. A control left at its pixel size
// or place leaves a block of the wrong colour.
struct BlockDifference {
    int worst = 0;
    QPoint at;  // the worst block's top left
};
[[nodiscard]] BlockDifference worstBlock(const QImage &design, const QImage &reduced);
// What a whole-scaled screen reaches at most, where glyph edges fall differently.
inline constexpr int AllowedBlockDifference = 40;

}  // namespace gallery
