// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "shell/random_source.h"
#include "shell/screen.h"

#include <QObject>

#include <array>
#include <cstdint>
#include <memory>
#include <optional>

namespace app {
Q_NAMESPACE

// The screens, named as they are designed, in run order: a screen's value is its step's
// index in RunOrder. The meta-enum gives code that walks the run each screen's name.
enum class ScreenId { Form1, Form6, Form2, Form7, Form3, Form8, Form4, Form5 };
Q_ENUM_NS(ScreenId)

enum class Role : std::uint8_t { Title, Instructions, Question, Results };

// One step of a run: the screen, what it is for, what a right answer on it is worth, the
// step after it, and how it is made (question screens draw from the run's generator).
struct Step {
    ScreenId screen;
    Role role;
    std::uint8_t points;
    std::optional<ScreenId> next;
    std::unique_ptr<shell::Screen> (*make)(shell::RandomSource &random);
};

// Every step of a run, in the order the student meets them.
extern const std::array<Step, 8> RunOrder;

[[nodiscard]] const Step &stepOf(ScreenId screen);

// The total of a run with every answer right.
[[nodiscard]] std::uint8_t mostPoints();

// Which of the questions, from 0, a question's screen asks, counted along the run.
[[nodiscard]] std::size_t questionNumberOf(ScreenId screen);

}  // namespace app
