// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "screens/questions/single_choice.h"

class QGroupBox;
class QLabel;
class QPushButton;

namespace screens {

// Step 4 of the run, question 2: what Excel is for.
class Form7 : public SingleChoiceScreen {
    Q_OBJECT

public:
    explicit Form7(shell::RandomSource &random);

    QLabel *Label1 = nullptr;
    QGroupBox *Frame1 = nullptr;
    QPushButton *Command1 = nullptr;
};

}  // namespace screens
