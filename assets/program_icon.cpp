// SPDX-License-Identifier: GPL-3.0-or-later
#include "pictures.h"

#include <array>
#include <string_view>

namespace assets {
namespace {

struct Ink {
    char key;
    QRgb argb;
};

// One character per pixel. The colours are all in the 16-colour VGA palette, so the
// images go into the icon file's 1-bit and 4-bit bitmaps unchanged.
constexpr std::array kLegend{
    Ink{'.', 0x00000000},  // transparent
    Ink{'K', 0xFF000000},  // outline; in the 2-colour image also the caption and a dithered shadow
    Ink{'W', 0xFFFFFFFF},  // window body
    Ink{'C', 0xFF00FFFF},  // caption band
    Ink{'L', 0xFFC0C0C0},  // line under the caption
    Ink{'G', 0xFF808080},  // drop shadow
};

using Art32 = std::array<std::string_view, 32>;
using Art16 = std::array<std::string_view, 16>;

// A window seen obliquely: the right side is farther away, so it is shorter.
constexpr Art32 kMono32{
    "................................", "................................",
    "................................", "..KKKK..........................",
    "..KKKKKKKKKK....................", "..KKKKKKKKKKKKKKKK..............",
    "..KKKKKKKKKKKKKKKKKKKKKK........", "..KKKKKKKKKKKKKKKKKKKKKKKKKK....",
    "..KWWKKKKKKKKKKKKKKKKKKKKKKK....", "..KWWWWWWWWWWWWKKKKKKKKKKKKK.K..",
    "..KWWWWWWWWWWWWWWWWWWWWWWKKKK...", "..KWWWWWWWWWWWWWWWWWWWWWWWWK.K..",
    "..KWWWWWWWWWWWWWWWWWWWWWWWWKK...", "..KWWWWWWWWWWWWWWWWWWWWWWWWK.K..",
    "..KWWWWWWWWWWWWWWWWWWWWWWWWKK...", "..KWWWWWWWWWWWWWWWWWWWWWWWWK.K..",
    "..KWWWWWWWWWWWWWWWWWWWWWWWWKK...", "..KWWWWWWWWWWWWWWWWWWWWWWWWK.K..",
    "..KWWWWWWWWWWWWWWWWWWWWWWWWKK...", "..KWWWWWWWWWWWWWWWWWWWWWWWWK.K..",
    "..KWWWWWWWWWWWWWWWWWWWWWWWWKK...", "..KWWWWWWWWWWWWWWWWWWWWWWWWK.K..",
    "..KWWWWWWWWWWWWWWWWWWWWWWWWKK...", "..KWWWWWWWWWWWWWWWWWWWWWWWWK.K..",
    "..KWWWWWWWWWWWWWWWWWWWWKKKKKK...", "..KWWWWWWWWWWWWKKKKKKKKK.K.K.K..",
    "..KWWWWKKKKKKKK.K.K.K.K.K.K.K...", "..KKKKKK.K.K.K.K.K.K.K.K........",
    "....K.K.K.K.K.K.K...............", ".....K.K........................",
    "................................", "................................",
};

constexpr Art32 kColour32{
    "................................", "................................",
    "................................", "..KKKK..........................",
    "..KCCCKKKKKK....................", "..KCCCCCCCCCKKKKKK..............",
    "..KCCCCCCCCCCCCCCCKKKKKK........", "..KCCCCCCCCCCCCCCCCCCCCCKKKK....",
    "..KLLCCCCCCCCCCCCCCCCCCCCCCK....", "..KWWLLLLLLLLLLCCCCCCCCCCCCKGG..",
    "..KWWWWWWWWWWWWLLLLLLLLLLCCKGG..", "..KWWWWWWWWWWWWWWWWWWWWWWLLKGG..",
    "..KWWWWWWWWWWWWWWWWWWWWWWWWKGG..", "..KWWWWWWWWWWWWWWWWWWWWWWWWKGG..",
    "..KWWWWWWWWWWWWWWWWWWWWWWWWKGG..", "..KWWWWWWWWWWWWWWWWWWWWWWWWKGG..",
    "..KWWWWWWWWWWWWWWWWWWWWWWWWKGG..", "..KWWWWWWWWWWWWWWWWWWWWWWWWKGG..",
    "..KWWWWWWWWWWWWWWWWWWWWWWWWKGG..", "..KWWWWWWWWWWWWWWWWWWWWWWWWKGG..",
    "..KWWWWWWWWWWWWWWWWWWWWWWWWKGG..", "..KWWWWWWWWWWWWWWWWWWWWWWWWKGG..",
    "..KWWWWWWWWWWWWWWWWWWWWWWWWKGG..", "..KWWWWWWWWWWWWWWWWWWWWWWWWKGG..",
    "..KWWWWWWWWWWWWWWWWWWWWKKKKKGG..", "..KWWWWWWWWWWWWKKKKKKKKGGGGGGG..",
    "..KWWWWKKKKKKKKGGGGGGGGGGGGGGG..", "..KKKKKGGGGGGGGGGGGGGGGGG.......",
    "....GGGGGGGGGGGGG...............", "....GGGGG.......................",
    "................................", "................................",
};

constexpr Art16 kColour16{
    "................", ".KKKKK..........", ".KCCCCKKKK......", ".KCCCCCCCCKKKK..",
    ".KLLLLCCCCCCCKG.", ".KWWWWLLLLCCCKG.", ".KWWWWWWWWLLLKG.", ".KWWWWWWWWWWWKG.",
    ".KWWWWWWWWWWWKG.", ".KWWWWWWWWWWWKG.", ".KWWWWWWWWWWWKG.", ".KWWWWWWWWKKKKG.",
    ".KWWWWKKKKGGGGG.", ".KKKKKGGGGG.....", "..GGGGG.........", "................",
};
[[nodiscard]] consteval bool usesOnly(std::string_view keys, const auto &art)
{
    for (std::string_view row : art) {
        if (row.size() != art.size()) {
            return false;
        }
        for (char pixel : row) {
            if (keys.find(pixel) == std::string_view::npos) {
                return false;
            }
        }
    }
    return true;
}

static_assert(usesOnly(".KW", kMono32));
static_assert(usesOnly(".KWCLG", kColour32));
static_assert(usesOnly(".KWCLG", kColour16));

[[nodiscard]] constexpr QRgb colourOf(char key)
{
    for (const Ink &ink : kLegend) {
        if (ink.key == key) {
            return ink.argb;
        }
    }
    return 0;
}

template <std::size_t N>
[[nodiscard]] QImage imageFrom(const std::array<std::string_view, N> &art)
{
    constexpr int size = static_cast<int>(N);
    QImage image(size, size, QImage::Format_ARGB32);
    for (std::size_t y = 0; y < N; ++y) {
        for (std::size_t x = 0; x < N; ++x) {
            image.setPixel(int(x), int(y), colourOf(art[y][x]));
        }
    }
    return image;
}

}  // namespace

QImage paintIcon(IconImage which)
{
    switch (which) {
    case IconImage::Mono32:
        return imageFrom(kMono32);
    case IconImage::Colour32:
        return imageFrom(kColour32);
    case IconImage::Colour16:
        return imageFrom(kColour16);
    }
    return {};
}

}  // namespace assets
