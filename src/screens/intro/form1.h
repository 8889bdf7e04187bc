// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "shell/screen.h"

class QLabel;
class QTimer;

namespace screens {

// Step 1 of the run, the title: it asks to move on by itself, two seconds after it appears.
class Form1 : public shell::Screen {
    Q_OBJECT

public:
    Form1();

    QLabel *Label1 = nullptr;
    QLabel *Picture1 = nullptr;
    QTimer *Timer1 = nullptr;

    void Timer1_Timer();

protected:
    void appeared() override;
};

}  // namespace screens
