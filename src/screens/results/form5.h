#pragma once

#include "shell/screen.h"

#include <QStringView>

class QLabel;

namespace screens {

// What every question writes into its field when the answer is wrong.
inline constexpr QStringView WrongVerdict = u"неверно";

// The results: a verdict per question, the total and the grade. No code of its own:
// the question handlers fill it while it is hidden and the last one shows it.
class Form5 : public shell::Screen {
public:
    Form5();

    QLabel *Label1, *Label2, *Label3, *Label9, *Label11, *Label7, *Label13;
    QLabel *Label4, *Label5, *Label6, *Label10, *Label12, *Label14, *Label8;
};

}  // namespace screens
