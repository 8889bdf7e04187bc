// SPDX-License-Identifier: GPL-3.0-or-later
#include "controls/look.h"
#include "screens/intro/form1.h"
#include "shell/screen_slots.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    design::prepareLook(application);

    shell::Form1().showScreen();
    design::finishLook();
    const int status = QApplication::exec();

    // The screens are top-level windows: they must go while the application still exists.
    shell::endRun();
    return status;
}
