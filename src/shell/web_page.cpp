// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/web_page.h"

#include "shell/screen.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

#include <emscripten.h>
#include <emscripten/bind.h>
#include <emscripten/val.h>

#include <algorithm>
#include <cstdint>

using namespace Qt::StringLiterals;

namespace shell {

namespace {

// Calls a function of the page's, if the page has it: the program also runs in pages that
// are not ours (a bare Qt page, say) and must not fail there.
template <class... Arguments>
void callPage(const char *function, Arguments &&...arguments)
{
    const emscripten::val page = emscripten::val::global("refsQuizPage");
    if (page.isUndefined() || page[function].isUndefined())
        return;
    page.call<void>(function, std::forward<Arguments>(arguments)...);
}

[[nodiscard]] std::string utf8(const QString &text)
{
    return text.simplified().toStdString();
}

// Joins what is said into sentences, as a screen reader pauses between them.
void addSentence(QString &said, const QString &sentence)
{
    const QString part = sentence.simplified();
    if (part.isEmpty())
        return;
    if (!said.isEmpty()) {
        if (!said.endsWith(u'.') && !said.endsWith(u'?') && !said.endsWith(u':'))
            said += u'.';
        said += u' ';
    }
    said += part;
}

// A field is called by the label that names it, as Orca calls it, before its own name.
[[nodiscard]] QString spokenName(QWidget *widget)
{
    for (const QLabel *label : widget->window()->findChildren<QLabel *>()) {
        if (label->buddy() == widget)
            return label->text();
    }
    const QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(widget);
    return accessible ? accessible->text(QAccessible::Name) : QString();
}

// What a screen reader says as a window opens: its caption, its loose texts top to bottom,
// then its description, which reads each labelled field with its label.
[[nodiscard]] QString windowText(QWidget &window)
{
    QString said;
    addSentence(said, window.windowTitle());
    const QList<QLabel *> labels = window.findChildren<QLabel *>(Qt::FindDirectChildrenOnly);
    for (const QLabel *label : labels) {
        const bool labelled =
            std::any_of(labels.cbegin(), labels.cend(),
                        [label](const QLabel *other) { return other->buddy() == label; });
        if (label->isVisibleTo(&window) && !label->buddy() && !labelled)
            addSentence(said, label->text());
    }
    if (const QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(&window))
        addSentence(said, accessible->text(QAccessible::Description));
    return said;
}

// What a screen reader says of the control that takes the focus, in Russian: its name, what
// it is and, for an option, whether it is chosen. Entering a frame of options names the frame.
[[nodiscard]] QString focusText(QWidget *focused, const QWidget *before)
{
    QString said;
    if (const auto *frame = qobject_cast<const QGroupBox *>(focused->parentWidget());
        frame && !(before && frame->isAncestorOf(before)))
        addSentence(said, frame->title() + u", группа"_s);
    const QString name = spokenName(focused);
    if (const auto *option = qobject_cast<const QRadioButton *>(focused))
        addSentence(said,
                    name
                        + (option->isChecked() ? u", переключатель, выбран"_s
                                               : u", переключатель, не выбран"_s));
    else if (qobject_cast<const QAbstractButton *>(focused))
        addSentence(said, name + u", кнопка"_s);
    else if (const auto *box = qobject_cast<const QLineEdit *>(focused))
        addSentence(said,
                    name + u", поле ввода"_s
                        + (box->text().isEmpty() ? QString() : u", "_s + box->text()));
    else
        addSentence(said, name);
    return said;
}

// The page's close box: closing the screen on show ends the quiz, as on the desktop.
void closeScreen()
{
    if (QWidget *window = windowOnShow())
        window->close();
}

}  // namespace

EMSCRIPTEN_BINDINGS(refs_quiz_page)
{
    emscripten::function("refsQuizCloseScreen", &closeScreen);
}

WebPage::WebPage(QApplication &application)
{
    connect(&application, &QApplication::focusChanged, this, [this](QWidget *before, QWidget *now) {
        disconnect(m_toggled);
        if (!now)
            return;
        callPage("announce", utf8(focusText(now, before)));
        // Space chooses the option that has the focus: say so.
        if (auto *option = qobject_cast<QRadioButton *>(now))
            m_toggled = connect(option, &QRadioButton::toggled, this, [option] {
                callPage("announce", utf8(focusText(option, option)));
            });
    });
}

void WebPage::showScreen(QWidget &screen)
{
    callPage("showScreen", utf8(screen.objectName()), utf8(screen.windowTitle()), screen.width(),
             screen.height(), utf8(windowText(screen)));
}

void WebPage::announce(QWidget &window)
{
    callPage("announceWindow", utf8(windowText(window)));
}

void WebPage::recordAnswer(int question, bool typed, const QString &response, bool right,
                           int points)
{
    // The response goes as it was typed, blanks and all: they may be what made it wrong.
    callPage("recordAnswer", question, typed, response.toStdString(), right, points);
}

void WebPage::recordResult(int total, int most, bool passed)
{
    callPage("recordResult", total, most, passed);
}

void WebPage::end(int status)
{
    // After the handler that ends the program has returned into the browser's event loop.
    emscripten_async_call(
        [](void *status) {
            emscripten_force_exit(static_cast<int>(reinterpret_cast<std::intptr_t>(status)));
        },
        reinterpret_cast<void *>(static_cast<std::intptr_t>(status)), 0);
}

}  // namespace shell
