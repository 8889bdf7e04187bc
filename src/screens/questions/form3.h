#pragma once

#include "screens/questions/single_choice.h"

class QGroupBox;
class QLabel;
class QPushButton;

namespace screens {

class Form3 : public SingleChoiceScreen {
public:
    Form3();

    QLabel *Label1;
    QGroupBox *Frame2;
    QLabel *Picture1;
    QPushButton *Command2;

    void Command2_Click();
};

}  // namespace screens
