#pragma once

#include "screens/questions/single_choice.h"

class QGroupBox;
class QLabel;
class QPushButton;

namespace screens {

class Form7 : public SingleChoiceScreen {
public:
    Form7();

    QLabel *Label1;
    QGroupBox *Frame1;
    QPushButton *Command1;

    void Command1_Click();
};

}  // namespace screens
