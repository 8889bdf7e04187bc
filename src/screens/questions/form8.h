// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "screens/questions/single_choice.h"

class QGroupBox;
class QLabel;
class QPushButton;

namespace screens {

// Step 6 of the run, question 4: a formula with mixed references, copied.
class Form8 : public SingleChoiceScreen {
    Q_OBJECT

public:
    explicit Form8(shell::RandomSource &random);

    QLabel *Label1 = nullptr;
    QGroupBox *Frame1 = nullptr;
    QLabel *Picture1 = nullptr;
    QPushButton *Command1 = nullptr;
};

}  // namespace screens
