// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/screen.h"

#include "controls/design.h"
#include "shell/runtime_error.h"
#include "shell/screen_accessible.h"

#include <QCloseEvent>

namespace shell {

Screen::Screen(const QString &name, const QString &caption, int clientWidth, int clientHeight,
               std::optional<QRgb> background, BorderStyle border)
{
    makeScreensAccessible();
    setObjectName(name);
    setWindowTitle(caption);
    const QSize client(design::pixels(clientWidth), design::pixels(clientHeight));
    if (border == BorderStyle::FixedSingle) {
        setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                       | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint
                       | Qt::MSWindowsFixedSizeDialogHint);
        setFixedSize(client);
    } else {
        resize(client);
    }
    design::paint(this, {.back = background});
}

void Screen::showScreen()
{
    load();
    show();
    activateWindow();
}

void Screen::hideScreen()
{
    load();
    hide();
}

void Screen::load()
{
    if (m_loaded)
        return;
    m_loaded = true;
    Form_Load();
}

void Screen::closeEvent(QCloseEvent *event)
{
    // The classic runtime would close this screen alone and leave a program with no
    // window: closing any screen ends the quiz.
    event->accept();
    endProgram(0);
}

}  // namespace shell
