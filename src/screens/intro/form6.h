#pragma once

#include "shell/screen.h"

class QLabel;
class QPushButton;

namespace screens {

// The instructions: the three kinds of reference, and the button that starts the test.
class Form6 : public shell::Screen {
public:
    Form6();

    QLabel *Label1;
    QLabel *Label2;
    QLabel *Label3;
    QLabel *Label4;
    QPushButton *Command1;

    void Command1_Click();
};

}  // namespace screens
