// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "shell/screen.h"

#include <QStringView>

#include <cstdint>

class QLabel;

namespace screens {

// What every question writes into its field when the answer is wrong.
inline constexpr QStringView WrongVerdict = u"неверно";

// The results: a verdict per question, the total and the grade. No code of its own:
// the question handlers fill it while it is hidden and the last one shows it.
class Form5 : public shell::Screen {
    Q_OBJECT

public:
    Form5();

    QLabel *Label1 = nullptr, *Label2 = nullptr, *Label3 = nullptr, *Label9 = nullptr,
           *Label11 = nullptr, *Label7 = nullptr, *Label13 = nullptr;
    QLabel *Label4 = nullptr, *Label5 = nullptr, *Label6 = nullptr, *Label10 = nullptr,
           *Label12 = nullptr, *Label14 = nullptr, *Label8 = nullptr;
};

// Writes the total and the grade for it. The last question calls it once the results
// are on show, so a screen reader reads them out with the rest.
void writeTotals(Form5 &results, std::uint8_t score);

}  // namespace screens
