// SPDX-License-Identifier: GPL-3.0-or-later
#include "controls/look.h"

#include "controls/design.h"
#include "refs_quiz_version.h"

#include <QApplication>
#include <QFontDatabase>
#include <QIcon>
#include <QPalette>
#include <QResource>
#include <QStyleFactory>

#include <mutex>

using namespace Qt::StringLiterals;

namespace design {

namespace {

// Adds one embedded face without copying it: the fonts are stored uncompressed, so
// FreeType reads the face where it lies in the executable. Each face costs start-up
// time and memory, which is why the title's face comes alone.
void embedFace(QStringView face)
{
    const QResource font(u":/fonts/LiberationSans-%1.ttf"_s.arg(face));
    const QByteArray data = font.compressionAlgorithm() == QResource::NoCompression
        ? QByteArray::fromRawData(reinterpret_cast<const char *>(font.data()), font.size())
        : font.uncompressedData();
    const int id = QFontDatabase::addApplicationFontFromData(data);
    if (id < 0)
        return;
    // The family is read from the face itself rather than assumed, so a renamed face in a
    // newer font package still stands in for the design face.
    static std::once_flag substituted;
    if (const QString family = QFontDatabase::applicationFontFamilies(id).value(0);
        !family.isEmpty())
        std::call_once(substituted,
                       [&family] { QFont::insertSubstitution(u"MS Sans Serif"_s, family); });
}

QPalette systemColours()
{
    QPalette palette;
    const auto set = [&palette](QPalette::ColorRole role, QRgb rgb) {
        palette.setColor(role, QColor(rgb));
    };
    set(QPalette::Window, design::ButtonFace);
    set(QPalette::Button, design::ButtonFace);
    set(QPalette::WindowText, design::ButtonText);
    set(QPalette::ButtonText, design::ButtonText);
    set(QPalette::Base, design::WindowBack);
    set(QPalette::AlternateBase, design::ButtonFace);
    set(QPalette::Text, design::WindowText);
    set(QPalette::BrightText, 0xFFFFFF);
    set(QPalette::Light, 0xFFFFFF);
    set(QPalette::Midlight, 0xDFDFDF);
    set(QPalette::Mid, 0xA0A0A0);
    set(QPalette::Dark, 0x808080);
    set(QPalette::Shadow, 0x000000);
    set(QPalette::Highlight, 0x000080);
    set(QPalette::HighlightedText, 0xFFFFFF);
    set(QPalette::ToolTipBase, 0xFFFFE1);
    set(QPalette::ToolTipText, 0x000000);
    set(QPalette::PlaceholderText, 0x808080);
    set(QPalette::Link, 0x0000FF);
    set(QPalette::LinkVisited, 0x800080);
    palette.setColor(QPalette::Disabled, QPalette::WindowText, QColor(0x808080));
    palette.setColor(QPalette::Disabled, QPalette::ButtonText, QColor(0x808080));
    palette.setColor(QPalette::Disabled, QPalette::Text, QColor(0x808080));
    return palette;
}

QIcon programIcon()
{
    QIcon icon;
    for (const auto size : {u"16", u"32", u"48", u"64", u"128"})
        icon.addFile(u":/icons/icon-%1.png"_s.arg(size));
    return icon;
}

}  // namespace

void applyLook(QApplication &application)
{
    prepareLook(application);
    finishLook();
}

void prepareLook(QApplication &application)
{
    if (QStyle *classic = QStyleFactory::create(u"Windows"_s))
        QApplication::setStyle(classic);
    QApplication::setPalette(systemColours());
    QApplication::setFont(design::font(design::DefaultFont));
    // Docks and taskbars find the menu entry, and its icon, by the desktop file's name:
    // Wayland's app_id is the desktop file name, and the class in X11's WM_CLASS is the
    // application name.
    const QString desktopEntry = u"org.refsquiz.refs_quiz"_s;
    application.setApplicationName(desktopEntry);
    QGuiApplication::setDesktopFileName(desktopEntry);
    application.setApplicationVersion(QStringLiteral(REFS_QUIZ_VERSION));
}

void finishLook()
{
    static std::once_flag finished;
    std::call_once(finished, [] {
        embedFace(u"BoldItalic");
        QApplication::setWindowIcon(programIcon());
    });
}

void embedAllFaces()
{
    static std::once_flag embedded;
    std::call_once(embedded, [] {
        for (const auto face : {u"Regular", u"Bold"})
            embedFace(face);
    });
}

}  // namespace design
