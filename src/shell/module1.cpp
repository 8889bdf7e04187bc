// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/module1.h"

#include "shell/runtime_error.h"

namespace Module1 {

void addPoints(int points)
{
    Score = shell::checkedByte(int{Score} + points);
}

}  // namespace Module1
