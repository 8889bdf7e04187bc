// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "screens/questions/single_choice.h"

class QGroupBox;
class QLabel;
class QPushButton;

namespace screens {

// Step 3 of the run, question 1: how a worksheet names its columns.
class Form2 : public SingleChoiceScreen {
    Q_OBJECT

public:
    explicit Form2(shell::RandomSource &random);

    QLabel *Label1 = nullptr;
    QGroupBox *Frame1 = nullptr;
    QPushButton *Command1 = nullptr;
};

}  // namespace screens
