#include "screens/intro/form1.h"
#include "shell/look.h"
#include "shell/screen_slots.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    shell::prepareLook(application);

    shell::Form1().showScreen();
    shell::finishLook();
    const int status = QApplication::exec();

    // The screens are top-level windows: they must go while the application still exists.
    shell::endRun();
    return status;
}
