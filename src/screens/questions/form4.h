#pragma once

#include "shell/screen.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace screens {

// Question 5: the student types the formula. Its button also completes the results.
class Form4 : public shell::Screen {
public:
    Form4();

    QLabel *Label1;
    QLabel *Label2;
    QLineEdit *Text1;
    QLabel *Image1;
    QPushButton *Command3;

    void Command3_Click();
};

}  // namespace screens
