// SPDX-License-Identifier: GPL-3.0-or-later
#include "gallery.h"

#include "quiz_harness.h"

#include "screens/intro/form1.h"

#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <algorithm>
#include <array>
#include <cstdlib>

using namespace Qt::StringLiterals;

namespace gallery {

QImage grabScreen(QWidget &form)
{
    QApplication::processEvents();
    return form.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

QList<Shot> takeSampleRun()
{
    // Question 1 shows its rotated placement; the sample answers questions 1, 3 and 4 right.
    harness::Run run{harness::drawFor(2), harness::drawFor(3), harness::drawFor(1),
                     harness::drawFor(2)};
    // The option clicked on each question; 0 keeps the one the design selects.
    constexpr std::array<int, 4> Clicked{2, 1, 0, 2};
    std::size_t question = 0;
    QList<Shot> shots;

    run.start();
    for (;;) {
        shell::Screen &screen = run.screen();
        // The formula's reference shows it typed in.
        if (auto *formula = screen.findChild<QLineEdit *>(u"Text1"_s))
            formula->setText(answer_key::AcceptedFormulas[0].toString());
        shots.append({screen.objectName().toLower(), grabScreen(screen)});
        if (!app::stepOf(run.step()).next)
            break;
        if (auto *title = run.screenAs<screens::Form1>()) {
            title->Timer1_Timer();
            continue;
        }
        if (answer_key::singleChoiceOn(run.step())) {
            if (const int slot = Clicked.at(question++))
                screen.findChild<QRadioButton *>(u"Option1(%1)"_s.arg(slot - 1))->click();
        }
        QPushButton *press = harness::enterOf(run);
        (press ? press : screen.findChild<QPushButton *>())->click();
    }

    std::ranges::sort(shots, {}, &Shot::name);
    return shots;
}

Difference compare(const QImage &actual, const QImage &expected)
{
    Difference difference;
    for (int y = 0; y < actual.height(); ++y) {
        for (int x = 0; x < actual.width(); ++x) {
            const QRgb a = actual.pixel(x, y);
            const QRgb e = expected.pixel(x, y);
            const int delta =
                std::max({std::abs(qRed(a) - qRed(e)), std::abs(qGreen(a) - qGreen(e)),
                          std::abs(qBlue(a) - qBlue(e))});
            difference.worst = std::max(difference.worst, delta);
            // Antialiased glyph edges may shift a little between font renderers.
            if (delta > 24)
                ++difference.pixels;
        }
    }
    return difference;
}

qsizetype allowedPixels(QSize size)
{
    return qsizetype(size.width()) * size.height() / 500;
}

BlockDifference worstBlock(const QImage &design, const QImage &reduced)
{
    constexpr int Block = 16;
    BlockDifference worst;
    for (int top = 0; top + Block <= design.height(); top += Block) {
        for (int left = 0; left + Block <= design.width(); left += Block) {
            std::array<int, 6> sums{};
            for (int y = top; y < top + Block; ++y) {
                for (int x = left; x < left + Block; ++x) {
                    const QRgb a = design.pixel(x, y);
                    const QRgb b = reduced.pixel(x, y);
                    sums[0] += qRed(a), sums[1] += qGreen(a), sums[2] += qBlue(a);
                    sums[3] += qRed(b), sums[4] += qGreen(b), sums[5] += qBlue(b);
                }
            }
            for (int channel = 0; channel < 3; ++channel) {
                const int difference =
                    std::abs(sums[channel] - sums[channel + 3]) / (Block * Block);
                if (difference > worst.worst)
                    worst = {difference, QPoint(left, top)};
            }
        }
    }
    return worst;
}

}  // namespace gallery
