// SPDX-License-Identifier: GPL-3.0-or-later
// Writes the gallery: one PNG per screen of a sample run, form1.png .. form8.png.
#include "gallery.h"

#include "controls/look.h"

#include <QApplication>
#include <QDir>

#include <cstdio>

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    design::applyLook(application);

    const QString directory =
        argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("docs/screenshots");
    if (!QDir().mkpath(directory)) {
        std::fprintf(stderr, "screenshots: cannot create %s\n", qPrintable(directory));
        return 1;
    }
    for (const auto &shot : gallery::takeSampleRun()) {
        const QString path = QDir(directory).filePath(shot.name + QStringLiteral(".png"));
        if (!shot.image.save(path)) {
            std::fprintf(stderr, "screenshots: cannot write %s\n", qPrintable(path));
            return 1;
        }
        std::printf("%s\n", qPrintable(path));
    }
    return 0;
}
