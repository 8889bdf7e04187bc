#pragma once

class QApplication;

namespace shell {

// Gives the application the look the screens are designed for, whatever the desktop
// runs: the classic 3D style and system colours, the embedded face standing in for
// "MS Sans Serif", the program icon and names. Call once the QApplication exists.
void applyLook(QApplication &application);

}  // namespace shell
