// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QStringView>

namespace screens {

// True when the text is one of the accepted formulas of question 5, compared exactly,
// UTF-16 code unit by code unit: no trimming, no case folding, no normalisation.
[[nodiscard]] bool isAcceptedFormula(QStringView typed);

}  // namespace screens
