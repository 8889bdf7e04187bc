// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

namespace screens {

// The lowest grade, the one that does not pass.
inline constexpr std::int16_t FailingGrade = 2;

// The school grade, 2 to 5, for a total of points.
[[nodiscard]] std::int16_t gradeFor(std::uint8_t score) noexcept;

}  // namespace screens
