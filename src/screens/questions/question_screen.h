// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "shell/screen.h"

namespace screens {

// A screen that asks one question of the quiz. It judges the answer and says whether it
// was right; what that is worth and what comes next belong to the run.
class QuestionScreen : public shell::Screen {
    Q_OBJECT

signals:
    void answered(bool right);

protected:
    using Screen::Screen;
};

}  // namespace screens
