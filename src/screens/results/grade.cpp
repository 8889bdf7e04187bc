// SPDX-License-Identifier: GPL-3.0-or-later
#include "screens/results/grade.h"

#include <array>

namespace screens {

namespace {

struct GradeStep {
    std::uint8_t score;
    std::int16_t grade;
};

// Two totals a grade.
// clang-format off
constexpr std::array<GradeStep, 6> GradeScale{{
    {4, 3}, {5, 3},
    {6, 4}, {7, 4},
    {8, 5}, {9, 5},
}};
// clang-format on

}  // namespace

std::int16_t gradeFor(std::uint8_t score) noexcept
{
    for (const auto step : GradeScale) {
        if (step.score == score)
            return step.grade;
    }
    return FailingGrade;
}

}  // namespace screens
