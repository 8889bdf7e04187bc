// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "screens/questions/single_choice.h"

class QGroupBox;
class QLabel;
class QPushButton;

namespace screens {

class Form3 : public SingleChoiceScreen {
    Q_OBJECT

public:
    Form3();

    QLabel *Label1 = nullptr;
    QGroupBox *Frame2 = nullptr;
    QLabel *Picture1 = nullptr;
    QPushButton *Command2 = nullptr;

    void Command2_Click();
};

}  // namespace screens
