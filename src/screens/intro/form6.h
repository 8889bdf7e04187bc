// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "shell/screen.h"

class QLabel;
class QPushButton;

namespace screens {

// Step 2 of the run, the instructions: the three kinds of reference, and the button that
// starts the test.
class Form6 : public shell::Screen {
    Q_OBJECT

public:
    Form6();

    QLabel *Label1 = nullptr;
    QLabel *Label2 = nullptr;
    QLabel *Label3 = nullptr;
    QLabel *Label4 = nullptr;
    QPushButton *Command1 = nullptr;
};

}  // namespace screens
