// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/web_page.h"

#include "shell/screen.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QEvent>
#include <QLineEdit>

#include <emscripten.h>
#include <emscripten/bind.h>
#include <emscripten/val.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <string_view>
#include <utility>

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

// The page control that stands for each role the screens' controls have; a node of another
// role holds its children and stands for nothing itself.
struct TwinKind {
    QAccessible::Role role;
    const char *kind;
};
constexpr std::array TwinKinds{
    TwinKind{QAccessible::Dialog, "dialog"},   TwinKind{QAccessible::AlertMessage, "alert"},
    TwinKind{QAccessible::StaticText, "text"}, TwinKind{QAccessible::Graphic, "picture"},
    TwinKind{QAccessible::Button, "button"},   TwinKind{QAccessible::RadioButton, "option"},
    TwinKind{QAccessible::Grouping, "group"},  TwinKind{QAccessible::EditableText, "field"},
};

[[nodiscard]] const char *kindOf(QAccessible::Role role)
{
    for (const TwinKind &twin : TwinKinds) {
        if (twin.role == role)
            return twin.kind;
    }
    return "";
}

// A window's nodes depth first, as a screen reader walks them: the order the page lays its
// controls out in, and the index each is called by both ways.
struct Node {
    QAccessibleInterface *accessible;
    int parent;  // -1 for the window itself
};

void collect(QAccessibleInterface *accessible, int parent, QList<Node> &nodes)
{
    for (int at = 0; at < accessible->childCount(); ++at) {
        QAccessibleInterface *child = accessible->child(at);
        if (!child || child->state().invisible)
            continue;
        nodes.append({child, parent});
        collect(child, int(nodes.size()) - 1, nodes);
    }
}

[[nodiscard]] QList<Node> nodesOf(QWidget &window)
{
    QList<Node> nodes;
    if (QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(&window))
        collect(accessible, -1, nodes);
    return nodes;
}

// The windows on show, as the program offers them to screen readers.
[[nodiscard]] QList<QWidget *> windowsOnShow()
{
    QList<QWidget *> windows;
    QAccessibleInterface *application = QAccessible::queryAccessibleInterface(qApp);
    for (int at = 0; application && at < application->childCount(); ++at) {
        if (QAccessibleInterface *window = application->child(at)) {
            if (auto *widget = qobject_cast<QWidget *>(window->object()))
                windows.append(widget);
        }
    }
    return windows;
}

[[nodiscard]] int indexOf(const QList<Node> &nodes, const QObject *object)
{
    for (qsizetype at = 0; at < nodes.size(); ++at) {
        if (object && nodes.at(at).accessible->object() == object)
            return int(at);
    }
    return -1;
}

// The controls a Tab key reaches in the window, in Qt's order from the one the window opened
// on: from the first, Shift+Tab would go round to the last, where a page lets the keys leave
// for the close box above. An option group is one stop, at its chosen option.
[[nodiscard]] QList<QWidget *> tabStops(QWidget &window, QWidget *openedOn)
{
    QList<QWidget *> stops;
    QWidget *const start = openedOn && window.isAncestorOf(openedOn) ? openedOn : &window;
    QWidget *test = start;
    do {
        if (test != &window && (test->focusPolicy() & Qt::TabFocus) == Qt::TabFocus
            && test->isEnabled() && test->isVisibleTo(&window))
            stops.append(test);
        test = test->nextInFocusChain();
    } while (test && test != start);
    return stops;
}

void setPlace(emscripten::val &node, QRect rect, QPoint origin)
{
    rect.translate(-origin);
    node.set("x", rect.x());
    node.set("y", rect.y());
    node.set("width", rect.width());
    node.set("height", rect.height());
}

[[nodiscard]] emscripten::val describeNode(const QList<Node> &nodes, const Node &node,
                                           QPoint origin)
{
    QAccessibleInterface *accessible = node.accessible;
    emscripten::val described = emscripten::val::object();
    described.set("kind", kindOf(accessible->role()));
    described.set("name", accessible->text(QAccessible::Name).toStdString());
    described.set("parent", node.parent);
    setPlace(described, accessible->rect(), origin);
    const QAccessible::State state = accessible->state();
    described.set("checked", bool(state.checked));
    described.set("disabled", bool(state.disabled));
    // A field is called by the label that names it, as Orca calls it on the desktop.
    int labelledBy = -1;
    for (const auto &[label, relation] : accessible->relations(QAccessible::Label)) {
        if (label->role() == QAccessible::StaticText)
            labelledBy = indexOf(nodes, label->object());
    }
    described.set("labelledBy", labelledBy);
    if (QAccessibleTextInterface *text = accessible->textInterface();
        text && accessible->role() == QAccessible::EditableText) {
        described.set("value", text->text(0, text->characterCount()).toStdString());
        int start = text->cursorPosition();
        int end = start;
        if (text->selectionCount() > 0)
            text->selection(0, &start, &end);
        described.set("selectionStart", start);
        described.set("selectionEnd", end);
    }
    return described;
}

// What a screen reader reads as a dialog opens, as node indices: the texts that name nothing,
// then each label with the field it names.
[[nodiscard]] emscripten::val readAsItOpens(const QList<Node> &nodes)
{
    emscripten::val read = emscripten::val::array();
    for (qsizetype at = 0; at < nodes.size(); ++at) {
        QAccessibleInterface *accessible = nodes.at(at).accessible;
        if (accessible->role() == QAccessible::StaticText && accessible->relations().isEmpty())
            read.call<void>("push", int(at));
    }
    for (qsizetype at = 0; at < nodes.size(); ++at) {
        QAccessibleInterface *label = nodes.at(at).accessible;
        if (label->role() != QAccessible::StaticText)
            continue;
        for (const auto &[field, relation] : label->relations(QAccessible::Labelled)) {
            read.call<void>("push", int(at));
            read.call<void>("push", indexOf(nodes, field->object()));
        }
    }
    return read;
}

[[nodiscard]] emscripten::val describeWindow(QWidget &window, QWidget *openedOn, QPoint origin,
                                             bool front)
{
    const QList<Node> nodes = nodesOf(window);
    QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(&window);
    emscripten::val described = emscripten::val::object();
    described.set("id", window.objectName().toStdString());
    described.set("kind", kindOf(accessible ? accessible->role() : QAccessible::Dialog));
    described.set("name",
                  (accessible ? accessible->text(QAccessible::Name) : QString()).toStdString());
    setPlace(described, accessible ? accessible->rect() : window.geometry(), origin);
    // A window behind a box that blocks it takes nothing until the box goes.
    described.set("front", front);
    emscripten::val list = emscripten::val::array();
    for (const Node &node : nodes)
        list.call<void>("push", describeNode(nodes, node, origin));
    described.set("nodes", list);
    described.set("read", readAsItOpens(nodes));
    // Where the focus is, or goes as the window becomes active: to its first stop, if no
    // control has been given it.
    const QList<QWidget *> stops = tabStops(window, openedOn);
    QWidget *focus = window.focusWidget();
    if (!focus && !stops.isEmpty())
        focus = stops.first();
    described.set("focus", front ? indexOf(nodes, focus) : -1);
    described.set("firstStop", stops.isEmpty() ? -1 : indexOf(nodes, stops.first()));
    return described;
}

// The page's close box: closing the screen on show ends the quiz, as on the desktop.
void closeScreen()
{
    if (QWidget *window = windowOnShow())
        window->close();
}

// The twin acts on the program: a screen reader, voice control or a touch moved the focus,
// pressed a button, chose an option or changed the text. The control is named by its window
// and its index there; a window not in front takes nothing, so a late press on a screen
// being left, or one behind the error box, does nothing.
void act(const std::string &windowId, int index, const std::string &action, const std::string &text,
         int start, int end)
{
    QWidget *window = windowOnShow();
    if (!window || window->objectName().toStdString() != windowId)
        return;
    const QList<Node> nodes = nodesOf(*window);
    if (index < 0 || index >= nodes.size())
        return;
    auto *control = qobject_cast<QWidget *>(nodes.at(index).accessible->object());
    if (!control || !control->isEnabled())
        return;
    const std::string_view what = action;
    auto *button = qobject_cast<QAbstractButton *>(control);
    if (what == "focus") {
        if (control->focusPolicy() != Qt::NoFocus)
            control->setFocus(Qt::OtherFocusReason);
    } else if (what == "press" && button) {
        button->click();
    } else if (what == "choose" && button) {
        // An option is chosen as a click chooses it, with the focus.
        button->setFocus(Qt::OtherFocusReason);
        if (!button->isChecked())
            button->click();
    } else if (what == "edit") {
        auto *box = qobject_cast<QLineEdit *>(control);
        if (!box)
            return;
        box->setFocus(Qt::OtherFocusReason);
        const QString typed = QString::fromStdString(text);
        // Put in as typing puts it in, through the box's own rules on what it takes.
        if (typed != box->text()) {
            box->selectAll();
            box->insert(typed);
        }
        if (box->text() == typed) {
            if (start == end)
                box->setCursorPosition(end);
            else
                box->setSelection(start, end - start);
        }
    }
}

}  // namespace

EMSCRIPTEN_BINDINGS(refs_quiz_page)
{
    emscripten::function("refsQuizCloseScreen", &closeScreen);
    emscripten::function("refsQuizTwin", &act);
}

WebPage::WebPage(QApplication &application)
{
    application.installEventFilter(this);
    // A focus move is passed on at once: a touch that put the focus into the text box is
    // still being handled, and only then may the page bring up an on-screen keyboard.
    connect(&application, &QApplication::focusChanged, this, &WebPage::describe);
}

bool WebPage::eventFilter(QObject *watched, QEvent *event)
{
    if ((event->type() == QEvent::Show || event->type() == QEvent::Hide) && watched->isWidgetType()
        && static_cast<QWidget *>(watched)->isWindow())
        describeSoon();
    return QObject::eventFilter(watched, event);
}

void WebPage::describeSoon()
{
    if (std::exchange(m_pending, true))
        return;
    QMetaObject::invokeMethod(
        this,
        [this] {
            m_pending = false;
            describe();
        },
        Qt::QueuedConnection);
}

void WebPage::watch(QWidget &window)
{
    for (QAbstractButton *button : window.findChildren<QAbstractButton *>())
        connect(button, &QAbstractButton::toggled, this, &WebPage::describe);
    for (QLineEdit *box : window.findChildren<QLineEdit *>()) {
        connect(box, &QLineEdit::textChanged, this, &WebPage::describe);
        connect(box, &QLineEdit::cursorPositionChanged, this, &WebPage::describe);
        connect(box, &QLineEdit::selectionChanged, this, &WebPage::describe);
    }
}

void WebPage::describe()
{
    const QList<QWidget *> windows = windowsOnShow();
    QWidget *front = windowOnShow();
    // Places are told from the screen's corner, which is the canvas's.
    QPoint origin;
    for (QWidget *window : windows) {
        if (qobject_cast<Screen *>(window)) {
            origin = window->mapToGlobal(QPoint());
            break;
        }
    }
    emscripten::val described = emscripten::val::array();
    QList<Described> now;
    for (QWidget *window : windows) {
        const auto before =
            std::find_if(m_described.cbegin(), m_described.cend(),
                         [window](const Described &known) { return known.window == window; });
        if (before == m_described.cend()) {
            watch(*window);
            QWidget *openedOn = window->focusWidget();
            if (!openedOn) {
                const QList<QWidget *> stops = tabStops(*window, nullptr);
                openedOn = stops.isEmpty() ? nullptr : stops.first();
            }
            now.append(Described{window, openedOn});
        } else {
            now.append(*before);
        }
        described.call<void>("push",
                             describeWindow(*window, now.last().openedOn, origin, window == front));
    }
    m_described = now;
    callPage("describe", described);
}

void WebPage::showScreen(QWidget &screen)
{
    callPage("showScreen", screen.objectName().toStdString(), screen.windowTitle().toStdString(),
             screen.width(), screen.height());
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
