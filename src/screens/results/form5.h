// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "shell/screen.h"

#include <array>
#include <cstdint>

class QLabel;

namespace screens {

// How one question went: whether the answer was right, and what a right one is worth.
struct Verdict {
    bool right = false;
    std::uint8_t points = 0;
};
inline constexpr std::size_t QuestionCount = 5;
using Verdicts = std::array<Verdict, QuestionCount>;

// Step 8 of the run, the results: a verdict per question, the total and the grade.
// Nothing on it reacts to the user.
class Form5 : public shell::Screen {
    Q_OBJECT

public:
    Form5();

    QLabel *Label1 = nullptr, *Label2 = nullptr, *Label3 = nullptr, *Label9 = nullptr,
           *Label11 = nullptr, *Label7 = nullptr, *Label13 = nullptr;
    QLabel *Label4 = nullptr, *Label5 = nullptr, *Label6 = nullptr, *Label10 = nullptr,
           *Label12 = nullptr, *Label14 = nullptr, *Label8 = nullptr;

    // Writes the verdicts of questions 1 to 5, the total and the grade into their fields.
    void showResults(const Verdicts &verdicts, std::uint8_t total, std::int16_t grade);
};

}  // namespace screens
