// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QMetaObject>
#include <QObject>

class QApplication;
class QWidget;

namespace shell {

// The page around the program in a browser (web/page.js) stands in for the desktop: its title
// bar shows the screen's caption and closes the quiz, the tab takes the caption, and a live
// region says to a screen reader what Orca says on the desktop, since this Qt tells a browser
// nothing of what it draws.
class WebPage final : public QObject {
    Q_OBJECT

public:
    // Follows the focus for as long as it lives.
    explicit WebPage(QApplication &application);

    // Before a screen is shown: the page fits the canvas to it, centred, and announces it.
    static void showScreen(QWidget &screen);
    // Reads out a window that comes up over the screen, such as a message box.
    static void announce(QWidget &window);
    // For a learning platform around the page, if there is one (web/platform.js): one
    // question's outcome, numbered from 1, with the response as given, and the result.
    static void recordAnswer(int question, bool typed, const QString &response, bool right,
                             int points);
    static void recordResult(int total, int most, bool passed);
    // The program's end: Qt's event loop never returns in a browser, so the runtime is ended
    // here and the page says that the quiz is over.
    static void end(int status);

private:
    QMetaObject::Connection m_toggled;
};

}  // namespace shell
