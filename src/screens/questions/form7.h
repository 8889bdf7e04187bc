// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "screens/questions/single_choice.h"

class QGroupBox;
class QLabel;
class QPushButton;

namespace screens {

class Form7 : public SingleChoiceScreen {
    Q_OBJECT

public:
    Form7();

    QLabel *Label1 = nullptr;
    QGroupBox *Frame1 = nullptr;
    QPushButton *Command1 = nullptr;

    void Command1_Click();
};

}  // namespace screens
