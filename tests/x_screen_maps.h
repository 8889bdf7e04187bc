// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>

namespace xscreen {

struct Size {
    int width = 0;
    int height = 0;
};

// Watches top-level windows being mapped on the X server and returns the milliseconds from
// the title's window to the instructions' window, each known by its size give or take a
// pixel, or nothing if they do not come within half a minute. Prints "watching" when the
// watch has begun, so that the program can be started.
[[nodiscard]] std::optional<int> titleHandOver(Size title, Size instructions);

// Does for every top-level window mapped or unmapped the one thing a window manager does that
// Wine waits for: it sets the window's WM_STATE, normal or withdrawn. Without it Wine, when
// hiding a window, waits two seconds for a window manager to have taken it in. Runs until killed.
[[noreturn]] void acknowledgeMaps();

}  // namespace xscreen
