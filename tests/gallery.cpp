// SPDX-License-Identifier: GPL-3.0-or-later
#include "gallery.h"

#include "quiz_harness.h"

#include "screens/intro/form1.h"
#include "screens/intro/form6.h"
#include "screens/questions/form2.h"
#include "screens/questions/form3.h"
#include "screens/questions/form4.h"
#include "screens/questions/form7.h"
#include "screens/questions/form8.h"
#include "screens/results/form5.h"

#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <algorithm>
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
    // Question 1 shows its rotated placement; the sample answers 1, 3 and 4 right.
    harness::ScriptedDraws draws{harness::drawFor(2), harness::drawFor(3), harness::drawFor(1),
                                 harness::drawFor(2)};
    shell::ScopedRandomSource scoped(draws);
    QList<Shot> shots;

    auto &title = shell::Form1();
    title.showScreen();
    shots.append({u"form1"_s, grabScreen(title)});
    title.Timer1_Timer();

    shots.append({u"form6"_s, grabScreen(shell::Form6())});
    shell::Form6().Command1->click();

    shots.append({u"form2"_s, grabScreen(shell::Form2())});
    shell::Form2().Option1[1]->click();
    shell::Form2().Command1->click();

    shots.append({u"form7"_s, grabScreen(shell::Form7())});
    shell::Form7().Option1[0]->click();
    shell::Form7().Command1->click();

    shots.append({u"form3"_s, grabScreen(shell::Form3())});
    shell::Form3().Command2->click();

    shots.append({u"form8"_s, grabScreen(shell::Form8())});
    shell::Form8().Option1[1]->click();
    shell::Form8().Command1->click();

    auto &formula = shell::Form4();
    formula.Text1->setText(u"=$B$1*(B4-B3)"_s);
    shots.append({u"form4"_s, grabScreen(formula)});
    formula.Command3->click();

    shots.append({u"form5"_s, grabScreen(shell::Form5())});
    shell::endRun();

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
