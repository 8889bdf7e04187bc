// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

// The standard module that holds the one value crossing screens.
namespace Module1 {

// Points gathered so far in this run: 0 to 9 in practice.
inline std::uint8_t Score = 0;

// Score += points, computed wide and stored back with the byte range check.
void addPoints(int points);

}  // namespace Module1
