// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>

// Drawing code for the quiz's pictures and icon. It runs at build time only (in the
// make_assets tool), which writes the results as files that are compiled into the quiz,
// so nothing here is linked into the program itself.
namespace assets {

// 497 x 312, 24-bit: the title screen's clip art.
[[nodiscard]] QImage paintTitlePicture();

// 291 x 224, 24-bit: an empty worksheet corner, columns A..H and rows 1..12, A1 active.
[[nodiscard]] QImage paintWorksheetPicture();

// 282 x 142, 24-bit: the worksheet corner holding the electricity table A1:C6.
[[nodiscard]] QImage paintSpreadsheetPicture();

enum class IconImage { Mono32, Colour32, Colour16 };

// The program icon's three images: 32 x 32 in 2 colours, 32 x 32 and 16 x 16 in 16 colours.
// Pixels outside the drawing are transparent.
[[nodiscard]] QImage paintIcon(IconImage which);

}  // namespace assets
