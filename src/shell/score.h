// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

namespace shell {

// The points gathered in a run, an unsigned byte: 0 to 9 in practice.
class Score {
public:
    constexpr Score() = default;
    constexpr explicit Score(std::uint8_t points) noexcept : m_points(points) {}

    // Adds the points, computed wide and stored back with the byte range check: past 255
    // it raises the run-time overflow error and keeps the value it had.
    void add(int points);

    [[nodiscard]] constexpr std::uint8_t points() const noexcept { return m_points; }

private:
    std::uint8_t m_points = 0;
};

}  // namespace shell
