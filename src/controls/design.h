// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QFont>
#include <QRadioButton>
#include <QString>

#include <initializer_list>
#include <optional>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTimer;
class QWidget;

// The few helpers every screen's constructor is written with: design units, fonts,
// colours, and one factory per control kind.
namespace design {

inline constexpr int TwipsPerPixel = 15;

[[nodiscard]] constexpr int pixels(int twips) noexcept
{
    return twips / TwipsPerPixel;
}

// Left, Top, Width, Height in twips, relative to the control's container.
struct Place {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

// The design face is "MS Sans Serif" with the Cyrillic character set; only size and style vary.
// Sizes are in points at 96 dots per inch, as the screens were laid out.
struct Font {
    qreal points = 8;
    bool bold = false;
    bool italic = false;
};
inline constexpr Font DefaultFont{};

// The design size in pixels at 96 dpi, rounded as the classic platform does: 8 pt is 11 px.
[[nodiscard]] constexpr int pixelSize(qreal points) noexcept
{
    return static_cast<int>(points * 96 / 72 + 0.5);
}

// Sized in pixels, not points: the screens must not grow with the desktop's font DPI,
// or their texts would no longer fit the fixed boxes.
[[nodiscard]] QFont font(Font design);

// A colour left out means the platform's system colour for that kind of control.
struct Colours {
    std::optional<QRgb> text = std::nullopt;
    std::optional<QRgb> back = std::nullopt;
};

// The classic system colours the design assumes.
inline constexpr QRgb ButtonFace = 0xC0C0C0;
inline constexpr QRgb ButtonText = 0x000000;
inline constexpr QRgb WindowBack = 0xFFFFFF;
inline constexpr QRgb WindowText = 0x000000;

// Gives the widget its own text and background colours, system colours for those left out.
void paint(QWidget *widget, Colours colours, QRgb systemBack = ButtonFace,
           QRgb systemText = ButtonText);

enum class Align { Left, Centre };
enum class Border { None, FixedSingle };

// Static text, word-wrapped at its width, top-aligned.
QLabel *label(QWidget *parent, const QString &name, Place place, const QString &caption, Font font,
              Colours colours, Align align = Align::Left, Border border = Border::None);

// A captioned group box; option buttons inside are placed from its outer corner.
QGroupBox *frame(QWidget *parent, const QString &name, Place place, const QString &caption,
                 Font font, Colours colours);

// An option button whose caption wraps inside its box.
QRadioButton *option(QWidget *frame, const QString &name, Place place, Font font, Colours colours,
                     bool selected = false);

// A command button drawn with its own face colour; never a default button.
QPushButton *button(QWidget *parent, const QString &name, Place place, const QString &caption,
                    Font font, QRgb face);

// The most a text box holds, the classic single-line edit control's default limit. The
// design sets no limit, but QLineEdit lays its whole text out again on every keystroke:
// a pasted megabyte would take most of a second per key and freeze the screen while a
// key is held. No text this long can be an answer, so the limit changes no verdict.
inline constexpr int TextBoxCapacity = 32767;

// A single-line text box holding up to TextBoxCapacity characters; spoken is its name for
// screen readers.
QLineEdit *textBox(QWidget *parent, const QString &name, Place place, Font font, Colours colours,
                   const QString &spoken);

enum class Sizing { AutoSize, Fixed };

// A picture at its natural size, from the top-left, inside a 2-pixel sunken border;
// spoken is what a screen reader says of it.
QLabel *pictureBox(QWidget *parent, const QString &name, Place place, const QString &picture,
                   Sizing sizing, const QString &spoken);

// A picture stretched to the control, without a border.
QLabel *image(QWidget *parent, const QString &name, Place place, const QString &picture,
              const QString &spoken);

// A timer owned by the screen; the screen starts it.
QTimer *timer(QWidget *parent, const QString &name, int intervalMs);

// Sets the tab order of the controls that take the focus, first to last; the first one
// has the focus when the window opens.
void tabOrder(std::initializer_list<QWidget *> controls);

// QRadioButton draws its caption on one line; the design's option buttons wrap
// theirs inside the box, with the indicator centred on the box's height.
class OptionButton : public QRadioButton {
    Q_OBJECT

public:
    using QRadioButton::QRadioButton;

    // The caption's rectangle, right of the indicator.
    [[nodiscard]] QRect captionRect() const;
    [[nodiscard]] static int captionFlags() noexcept;
    // The flags the caption is drawn with: captionFlags(), except that lines taller than
    // the box keep to its foot, where the descenders are, and overflow at its top, where
    // a line box has room above its glyphs.
    [[nodiscard]] int drawnCaptionFlags() const;

protected:
    void paintEvent(QPaintEvent *event) override;
    [[nodiscard]] bool hitButton(const QPoint &pos) const override;
    // An arrow key selects the option it moves the focus to.
    void keyPressEvent(QKeyEvent *event) override;

private:
    [[nodiscard]] QRect indicatorRect() const;
};

}  // namespace design
