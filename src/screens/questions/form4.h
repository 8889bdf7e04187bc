// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "shell/screen.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace screens {

// Question 5: the student types the formula. Its button also completes the results.
class Form4 : public shell::Screen {
    Q_OBJECT

public:
    Form4();

    QLabel *Label1 = nullptr;
    QLabel *Label2 = nullptr;
    QLineEdit *Text1 = nullptr;
    QLabel *Image1 = nullptr;
    QPushButton *Command3 = nullptr;

    void Command3_Click();
};

}  // namespace screens
