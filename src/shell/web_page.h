// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QObject>
#include <QPointer>

class QApplication;
class QWidget;

namespace shell {

// The page around the program in a browser (web/page.js) stands in for the desktop: its title
// bar shows the screen's caption and closes the quiz, and the tab takes the caption. This Qt
// tells a browser nothing of what it draws, so the page also holds a twin of the windows on
// show, one page control over each control drawn, made from what the program offers screen
// readers on the desktop (its accessibility tree: roles, names, states, places). The twin and
// the program follow each other: the focus, a choice, the typed text, a press.
class WebPage final : public QObject {
    Q_OBJECT

public:
    // Keeps the page's twin in step with the windows on show for as long as it lives.
    explicit WebPage(QApplication &application);

    // Before a screen is shown: the page fits the canvas to it and names the tab after it.
    static void showScreen(QWidget &screen);
    // For a learning platform around the page, if there is one (web/platform.js): one
    // question's outcome, numbered from 1, with the response as given, and the result.
    static void recordAnswer(int question, bool typed, const QString &response, bool right,
                             int points);
    static void recordResult(int total, int most, bool passed);
    // The program's end: Qt's event loop never returns in a browser, so the runtime is ended
    // here and the page says that the quiz is over.
    static void end(int status);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // Describes the windows on show to the page; a window new to the page is watched from now.
    void describe();
    // Describes them once the event being handled is over: a window being shown is not yet on
    // show while its show event is delivered.
    void describeSoon();
    void watch(QWidget &window);

    // The windows the page was last told of, each with the control it opened on.
    struct Described {
        QPointer<QWidget> window;
        QPointer<QWidget> openedOn;
    };
    QList<Described> m_described;
    bool m_pending = false;
};

}  // namespace shell
