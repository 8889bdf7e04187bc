// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

namespace screens {

// The grade below which nothing passes.
inline constexpr std::int16_t FailingGrade = 2;

// The school grade, 2 to 5, for a total of points.
[[nodiscard]] std::int16_t gradeFor(std::uint8_t score) noexcept;

}  // namespace screens
