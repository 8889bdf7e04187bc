#pragma once

#include "screens/questions/single_choice.h"

class QGroupBox;
class QLabel;
class QPushButton;

namespace screens {

class Form8 : public SingleChoiceScreen {
public:
    Form8();

    QLabel *Label1;
    QGroupBox *Frame1;
    QLabel *Picture1;
    QPushButton *Command1;

    void Command1_Click();
};

}  // namespace screens
