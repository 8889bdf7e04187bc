// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Where the controls draw their captions, and the ink the glyphs leave. A caption whose
// line box is taller than its control may still show whole, so the checks look at ink.
#include "controls/design.h"

#include <QGroupBox>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QStringList>
#include <QStyleOptionButton>
#include <QStyleOptionGroupBox>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <optional>

namespace ink {

[[nodiscard]] inline int distance(QRgb a, QRgb b)
{
    return std::max({std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)),
                     std::abs(qBlue(a) - qBlue(b))});
}

// The device pixels whose centres lie inside a rectangle given in logical pixels, or on
// its edge: at a fractional factor a pixel may straddle the edge, half in and half out.
[[nodiscard]] inline QRect devicePixels(const QRectF &logical, qreal ratio)
{
    const auto first = [ratio](qreal at) { return int(std::ceil(at * ratio - 0.5)); };
    const auto last = [ratio](qreal at) { return int(std::floor(at * ratio - 0.5)); };
    return QRect(QPoint(first(logical.left()), first(logical.top())),
                 QPoint(last(logical.right()), last(logical.bottom())));
}

// Where a control draws its caption, and how: the rectangle and flags it hands the style,
// its colours, and the room the glyphs must keep to.
struct Caption {
    QSize control;
    QRect box;
    int flags = 0;
    QString text;
    QRgb ink = 0;
    QRgb paper = 0;
    QRect room;
};

[[nodiscard]] inline std::optional<Caption> captionOf(QWidget *control)
{
    const QPalette &colours = control->palette();
    const QRgb text = colours.color(QPalette::WindowText).rgb();
    const QRgb back = colours.color(QPalette::Window).rgb();
    if (auto *option = qobject_cast<design::OptionButton *>(control)) {
        const QRect box = option->captionRect();
        return Caption{option->size(), box, option->drawnCaptionFlags(), option->text(), text,
                       back,           box};
    }
    if (auto *label = qobject_cast<QLabel *>(control)) {
        if (label->text().isEmpty())
            return std::nullopt;
        const int wrap = label->wordWrap() ? int(Qt::TextWordWrap) : 0;
        const QRect box = label->contentsRect();
        return Caption{label->size(), box, int(label->alignment()) | wrap, label->text(), text,
                       back,          box};
    }
    if (auto *button = qobject_cast<QPushButton *>(control)) {
        QStyleOptionButton option;
        option.initFrom(button);
        const QRect box =
            button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button);
        return Caption{button->size(),
                       box,
                       Qt::AlignCenter | Qt::TextShowMnemonic,
                       button->text(),
                       colours.color(QPalette::ButtonText).rgb(),
                       colours.color(QPalette::Button).rgb(),
                       box};
    }
    if (auto *frame = qobject_cast<QGroupBox *>(control)) {
        QStyleOptionGroupBox option;
        option.initFrom(frame);
        option.text = frame->title();
        option.textAlignment = frame->alignment();
        option.subControls = QStyle::SC_GroupBoxFrame | QStyle::SC_GroupBoxLabel;
        const QRect box = frame->style()->subControlRect(QStyle::CC_GroupBox, &option,
                                                         QStyle::SC_GroupBoxLabel, frame);
        // Between the frame's corners; its descenders may reach into the frame.
        const QRect room(8, 0, frame->width() - 16, frame->height());
        const int flags = Qt::AlignHCenter | int(frame->alignment()) | Qt::TextShowMnemonic;
        return Caption{frame->size(), box, flags, frame->title(), text, back, room};
    }
    return std::nullopt;
}

// The caption drawn by itself, unclipped, at the given pixel ratio, on a canvas the size of
// the control with margin logical pixels of room all round. The margin is a multiple of 4,
// whole in device pixels at every factor tested, so glyphs land where the control puts them.
[[nodiscard]] inline QImage drawCaption(const Caption &caption, const QFont &font, qreal ratio,
                                        int margin)
{
    const QSize logical = caption.control + QSize(2 * margin, 2 * margin);
    QImage canvas((QSizeF(logical) * ratio).toSize(), QImage::Format_RGB32);
    canvas.setDevicePixelRatio(ratio);
    canvas.fill(caption.paper);
    QPainter painter(&canvas);
    painter.setFont(font);
    painter.setPen(QColor(caption.ink));
    painter.translate(margin, margin);
    painter.drawText(caption.box, caption.flags | Qt::TextDontClip, caption.text);
    return canvas;
}

// The bounds of the device pixels that carry ink, at least 40 % of the way from the
// paper to the ink colour.
[[nodiscard]] inline QRect inkOf(const QImage &canvas, const Caption &caption)
{
    const int threshold = distance(caption.ink, caption.paper) * 2 / 5;
    QRect ink;
    for (int y = 0; y < canvas.height(); ++y) {
        for (int x = 0; x < canvas.width(); ++x) {
            if (distance(canvas.pixel(x, y), caption.paper) > threshold)
                ink |= QRect(x, y, 1, 1);
        }
    }
    return ink;
}

// The captions of the window whose glyphs would reach past their control's room or the
// window's edge, at the pixel ratio of the screen: glyphs are placed on device pixels, so
// a caption that fits at 1:1 may reach further at another factor.
[[nodiscard]] inline QStringList textsCutOff(QWidget &window)
{
    using namespace Qt::StringLiterals;
    constexpr int Margin = 40;
    const qreal ratio = window.devicePixelRatio();
    QStringList cutOff;
    for (QWidget *control : window.findChildren<QWidget *>()) {
        const auto caption = captionOf(control);
        if (!caption)
            continue;
        const QRect ink = inkOf(drawCaption(*caption, control->font(), ratio, Margin), *caption);
        const QRect room = devicePixels(QRectF(caption->room.translated(Margin, Margin)), ratio);
        // Form5's Label1 starts left of the window's edge by design; its text must still show.
        const QPoint corner = control->mapTo(&window, QPoint()) - QPoint(Margin, Margin);
        const QRect onWindow = devicePixels(QRectF(window.rect().translated(-corner)), ratio);
        if (!room.contains(ink) || !onWindow.contains(ink)) {
            cutOff.append(u"%1 \"%2\": ink %3,%4 %5x%6 outside its %7x%8 box or the window"
                          " (device pixels)"_s.arg(control->objectName(), caption->text)
                              .arg(ink.x() - room.x())
                              .arg(ink.y() - room.y())
                              .arg(ink.width())
                              .arg(ink.height())
                              .arg(room.width())
                              .arg(room.height()));
        }
    }
    return cutOff;
}

}  // namespace ink
