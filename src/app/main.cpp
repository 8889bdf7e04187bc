// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/quiz.h"
#include "controls/look.h"

#include <QApplication>

#ifdef Q_OS_WASM
#include "shell/web_page.h"
#endif

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    design::prepareLook(application);
#ifdef Q_OS_WASM
    const shell::WebPage page(application);
#endif

    app::Quiz quiz;
    quiz.start();
    design::finishLook();
    return QApplication::exec();
}
