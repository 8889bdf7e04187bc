// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/screen_accessible.h"

#include "shell/screen.h"

#include <QAccessibleApplication>
#include <QAccessibleWidget>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QWindow>

using namespace Qt::StringLiterals;

namespace shell {

namespace {

[[nodiscard]] QString fieldText(const QWidget *field)
{
    if (const auto *label = qobject_cast<const QLabel *>(field))
        return label->text();
    if (const auto *box = qobject_cast<const QLineEdit *>(field))
        return box->text();
    return {};
}

class ScreenAccessible final : public QAccessibleWidget {
public:
    explicit ScreenAccessible(QWidget *screen) : QAccessibleWidget(screen, QAccessible::Dialog) {}

    [[nodiscard]] QString text(QAccessible::Text kind) const override
    {
        if (kind != QAccessible::Description)
            return QAccessibleWidget::text(kind);
        // Read when asked, not kept: the fields may be written after the screen is made.
        QString fields;
        for (const QObject *child : widget()->children()) {
            const auto *label = qobject_cast<const QLabel *>(child);
            if (!label || !label->buddy())
                continue;
            if (!fields.isEmpty())
                fields += u". "_s;
            fields += label->text();
            if (const QString field = fieldText(label->buddy()); !field.isEmpty())
                fields += u' ' + field;
        }
        return fields;
    }
};

// Calls visit with each window on show, in the order Qt offers them all, until it
// returns true; returns whether it did.
template <class Visit>
bool visitWindowsOnShow(Visit visit)
{
    const QWindowList windows = QGuiApplication::topLevelWindows();
    for (QWindow *window : windows) {
        if (!window->isVisible() || window->type() == Qt::Popup || window->type() == Qt::Desktop)
            continue;
        if (QAccessibleInterface *root = window->accessibleRoot(); root && root->object()) {
            if (visit(root->object()))
                return true;
        }
    }
    return false;
}

class QuizAccessible final : public QAccessibleApplication {
public:
    [[nodiscard]] int childCount() const override
    {
        int count = 0;
        visitWindowsOnShow([&count](QObject *) {
            ++count;
            return false;
        });
        return count;
    }

    [[nodiscard]] int indexOfChild(const QAccessibleInterface *child) const override
    {
        int index = 0;
        const bool found = child && visitWindowsOnShow([&](QObject *window) {
                               if (window == child->object())
                                   return true;
                               ++index;
                               return false;
                           });
        return found ? index : -1;
    }

    [[nodiscard]] QAccessibleInterface *child(int index) const override
    {
        QObject *found = nullptr;
        int at = 0;
        visitWindowsOnShow([&](QObject *window) {
            if (at++ != index)
                return false;
            found = window;
            return true;
        });
        return found ? QAccessible::queryAccessibleInterface(found) : nullptr;
    }
};

QAccessibleInterface *accessibleFor(const QString &, QObject *object)
{
    if (object == qApp)
        return new QuizAccessible;
    if (auto *screen = qobject_cast<Screen *>(object))
        return new ScreenAccessible(screen);
    return nullptr;
}

}  // namespace

void makeScreensAccessible()
{
    // Taken out first, so that every screen can ask and the factory is still there once.
    QAccessible::removeFactory(&accessibleFor);
    QAccessible::installFactory(&accessibleFor);
}

}  // namespace shell
