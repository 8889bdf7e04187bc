// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "screens/questions/single_choice.h"

class QGroupBox;
class QLabel;
class QPushButton;

namespace screens {

// Step 5 of the run, question 3: a formula with an absolute reference, copied.
class Form3 : public SingleChoiceScreen {
    Q_OBJECT

public:
    explicit Form3(shell::RandomSource &random);

    QLabel *Label1 = nullptr;
    QGroupBox *Frame2 = nullptr;
    QLabel *Picture1 = nullptr;
    QPushButton *Command2 = nullptr;
};

}  // namespace screens
