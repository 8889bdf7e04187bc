#pragma once

#include <QImage>
#include <QList>
#include <QString>

namespace gallery {

struct Shot {
    QString name;  // form1 .. form8
    QImage image;
};

// Takes a sample run through the real screens with fixed draws and grabs every screen
// as it first appears (the results once filled). Needs a QApplication with the look applied.
[[nodiscard]] QList<Shot> takeSampleRun();

}  // namespace gallery
