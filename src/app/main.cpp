// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/quiz.h"
#include "controls/look.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    design::prepareLook(application);

    app::Quiz quiz;
    quiz.start();
    design::finishLook();
    return QApplication::exec();
}
