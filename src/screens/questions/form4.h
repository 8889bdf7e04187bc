// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "screens/questions/question_screen.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace screens {

// Step 7 of the run, question 5: the student types the formula.
class Form4 : public QuestionScreen {
    Q_OBJECT

public:
    Form4();

    QLabel *Label1 = nullptr;
    QLabel *Label2 = nullptr;
    QLineEdit *Text1 = nullptr;
    QLabel *Image1 = nullptr;
    QPushButton *Command3 = nullptr;

    void judge();
};

}  // namespace screens
