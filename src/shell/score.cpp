// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/score.h"

#include "shell/runtime_error.h"

namespace shell {

void Score::add(int points)
{
    m_points = checkedByte(int{m_points} + points);
}

}  // namespace shell
