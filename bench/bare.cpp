// SPDX-License-Identifier: GPL-3.0-or-later
// The floor the quiz is measured against: a Qt Widgets program that shows one window
// like the title screen (size, caption, background, large label) and does nothing else.
#include <QApplication>
#include <QLabel>
#include <QWidget>

using namespace Qt::StringLiterals;

namespace {

void colour(QWidget *widget, QPalette::ColorRole role, QRgb rgb)
{
    QPalette palette = widget->palette();
    palette.setColor(role, QColor(rgb));
    widget->setPalette(palette);
}

}  // namespace

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);

    QWidget window;
    window.setObjectName(u"Form1"_s);
    window.setWindowTitle(u"Ссылки в Excel"_s);
    window.resize(675, 482);
    colour(&window, QPalette::Window, 0xFFFFC0);
    window.setAutoFillBackground(true);

    auto *label = new QLabel(u"Тест по теме: Ссылки в Еxcel"_s, &window);
    label->setObjectName(u"Label1"_s);
    label->setGeometry(80, 8, 521, 137);
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignTop | Qt::AlignHCenter);
    // 36 pt at 96 dots per inch, whatever the X server reports.
    QFont font = label->font();
    font.setPixelSize(48);
    font.setBold(true);
    font.setItalic(true);
    label->setFont(font);
    colour(label, QPalette::WindowText, 0x008000);

    window.show();
    return QApplication::exec();
}
