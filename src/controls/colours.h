// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>

// The design's colours that more than one screen uses, named once.
namespace design::colour {

inline constexpr QRgb Salmon = 0xFF8080;
inline constexpr QRgb Pink = 0xFFC0C0;
inline constexpr QRgb Peach = 0xFFE0C0;
inline constexpr QRgb Orange = 0xFF8000;
inline constexpr QRgb Brown = 0x804000;
inline constexpr QRgb Red = 0xFF0000;

}  // namespace design::colour
