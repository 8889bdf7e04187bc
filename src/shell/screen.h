// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "shell/runtime_error.h"

#include <QColor>
#include <QWidget>

#include <optional>

namespace shell {

enum class BorderStyle { Sizable, FixedSingle };

// A top-level window of the quiz. It knows no other screen: it says when it is done, and
// whoever runs the quiz hands over. Loading (running the load handler) happens once,
// before the first show.
class Screen : public QWidget {
    Q_OBJECT

public:
    ~Screen() override;

    // Makes the window visible and active, loading it first if needed; returns at once.
    void showScreen();
    // Makes the window invisible; the screen keeps every value.
    void hideScreen();

    // Runs the load handler the first time only.
    void load();
    [[nodiscard]] bool isLoaded() const noexcept { return m_loaded; }

signals:
    // The screen is done and asks for the next one.
    void advance();

protected:
    // clientWidth and clientHeight are in twips; no background means the 3D face.
    Screen(const QString &name, const QString &caption, int clientWidth, int clientHeight,
           std::optional<QRgb> background, BorderStyle border = BorderStyle::Sizable);

    // The screen's load handler; screens that have one override it.
    virtual void Form_Load() {}
    // Runs once, when the screen is first in front of the user: as it is shown on the desktop,
    // and in a browser, which draws it a good while after, once the frame holding its first
    // paint is out.
    virtual void appeared() {}

    // Runs the handler when the signal comes, as an event handler of this screen. The
    // handler may be a signal of the screen's own, which it then emits.
    template <class Sender, class Signal, class Form>
    void handle(Sender *sender, Signal signal, void (Form::*handler)())
    {
        connect(sender, signal, this, [this, handler] {
            // A screen that is no longer on show takes no input: a press that was
            // queued before it was hidden must not be judged a second time.
            if (!isVisible())
                return;
            runHandler([this, handler] { (static_cast<Form *>(this)->*handler)(); });
        });
    }

    bool event(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    bool m_loaded = false;
    bool m_appeared = false;
#ifdef Q_OS_WASM
    long m_drawing = 0;  // the animation frame asked for after the first paint
#endif
};

// The window in front: a box open over the screen, or else the screen on show; none before
// the first screen.
[[nodiscard]] QWidget *windowOnShow();

}  // namespace shell
