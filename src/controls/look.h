// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QApplication;

namespace design {

// Gives the application the look the screens are designed for, whatever the desktop
// runs: the classic 3D style and system colours, the embedded face standing in for
// "MS Sans Serif", the program icon and names. Call once the QApplication exists.
// It is prepareLook() and finishLook() in one.
void applyLook(QApplication &application);

// Start-up applies the look in two steps, so that the title window is mapped sooner:
// first what building a window needs (style, colours, default font, names), ...
void prepareLook(QApplication &application);
// ... then, once the title is shown, what only painting and the desktop need: the face
// the title shows and the program icon. The X server maps the window meanwhile, and the
// first paint waits for the event loop.
void finishLook();

// Adds the embedded faces the title does not show. The run calls it before building any
// screen after the title; once is enough.
void embedAllFaces();

}  // namespace design
