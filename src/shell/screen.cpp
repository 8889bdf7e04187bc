// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/screen.h"

#include "controls/design.h"
#include "shell/runtime_error.h"
#include "shell/screen_accessible.h"

#include <QApplication>
#include <QCloseEvent>

#include <utility>

#ifdef Q_OS_WASM
#include "shell/web_page.h"

#include <emscripten/html5.h>
#endif

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
#ifdef Q_OS_WASM
    // The page draws the window's frame around the canvas, which holds the client area alone.
    setWindowFlag(Qt::FramelessWindowHint);
#endif
    design::paint(this, {.back = background});
}

Screen::~Screen()
{
#ifdef Q_OS_WASM
    if (m_drawing != 0)
        emscripten_cancel_animation_frame(m_drawing);
#endif
}

void Screen::showScreen()
{
    load();
#ifdef Q_OS_WASM
    WebPage::showScreen(*this);
    move(0, 0);
#endif
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

bool Screen::event(QEvent *event)
{
    const bool handled = QWidget::event(event);
#ifdef Q_OS_WASM
    // The paint reaches the canvas in the browser's next animation frame at the latest: what
    // is queued from that frame runs once it is drawn.
    if (event->type() == QEvent::Paint && !std::exchange(m_appeared, true))
        m_drawing = emscripten_request_animation_frame(
            [](double, void *screen) -> EM_BOOL {
                auto *self = static_cast<Screen *>(screen);
                self->m_drawing = 0;
                QMetaObject::invokeMethod(self, &Screen::appeared, Qt::QueuedConnection);
                return EM_FALSE;
            },
            this);
#else
    if (event->type() == QEvent::Show && !std::exchange(m_appeared, true))
        appeared();
#endif
    return handled;
}

void Screen::closeEvent(QCloseEvent *event)
{
    // The classic runtime would close this screen alone and leave a program with no
    // window: closing any screen ends the quiz.
    event->accept();
    endProgram(0);
}

QWidget *windowOnShow()
{
    if (QWidget *box = QApplication::activeModalWidget())
        return box;
    for (QWidget *window : QApplication::topLevelWidgets()) {
        if (window->isVisible())
            return window;
    }
    return nullptr;
}

}  // namespace shell
