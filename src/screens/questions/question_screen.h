// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "shell/screen.h"

#include <QString>

#include <cstdint>

namespace screens {

// What the student gave on a question, in the form a learning platform records it.
struct Response {
    enum class Kind : std::uint8_t { Choice, Typed };
    Kind kind = Kind::Choice;
    // For a choice, the letter a, b or c of the chosen text among the question's texts in
    // the order the program keeps them, which is not the order on screen and does not follow
    // the answers; empty when nothing was chosen. Otherwise the text as typed.
    QString text;
};

// A screen that asks one question of the quiz. It judges the answer and says whether it
// was right; what that is worth and what comes next belong to the run.
class QuestionScreen : public shell::Screen {
    Q_OBJECT

signals:
    void answered(bool right, const screens::Response &response);

protected:
    using Screen::Screen;
};

}  // namespace screens
