#include "shell/screen_accessible.h"

#include "shell/screen.h"

#include <QAccessibleApplication>
#include <QAccessibleWidget>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QWindow>

#include <mutex>

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
        // Read when asked, not kept: the results are written while the screen is hidden.
        QStringList fields;
        for (const QLabel *label : widget()->findChildren<QLabel *>(Qt::FindDirectChildrenOnly)) {
            if (const QWidget *field = label->buddy())
                fields.append(QStringList{label->text(), fieldText(field)}.join(u' ').trimmed());
        }
        return fields.join(u". "_s);
    }
};

// The windows on show, in the order Qt offers them all.
[[nodiscard]] QObjectList windowsOnShow()
{
    QObjectList shown;
    for (QWindow *window : QGuiApplication::topLevelWindows()) {
        if (!window->isVisible() || window->type() == Qt::Popup || window->type() == Qt::Desktop)
            continue;
        if (QAccessibleInterface *root = window->accessibleRoot(); root && root->object())
            shown.append(root->object());
    }
    return shown;
}

class QuizAccessible final : public QAccessibleApplication {
public:
    [[nodiscard]] int childCount() const override { return int(windowsOnShow().size()); }

    [[nodiscard]] int indexOfChild(const QAccessibleInterface *child) const override
    {
        return child ? int(windowsOnShow().indexOf(child->object())) : -1;
    }

    [[nodiscard]] QAccessibleInterface *child(int index) const override
    {
        const QObjectList shown = windowsOnShow();
        if (index < 0 || index >= shown.size())
            return nullptr;
        return QAccessible::queryAccessibleInterface(shown.at(index));
    }
};

QAccessibleInterface *accessibleFor(const QString &, QObject *object)
{
    if (object == qApp)
        return new QuizAccessible;
    if (auto *screen = dynamic_cast<Screen *>(object))
        return new ScreenAccessible(screen);
    return nullptr;
}

}  // namespace

void makeScreensAccessible()
{
    static std::once_flag installed;
    std::call_once(installed, [] { QAccessible::installFactory(&accessibleFor); });
}

}  // namespace shell
