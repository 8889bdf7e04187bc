// SPDX-License-Identifier: GPL-3.0-or-later
// The screens at the scale factors of projectors and high-density screens: ctest runs
// this once per factor, with QT_SCALE_FACTOR set for each registration.
#include "gallery.h"
#include "ink.h"
#include "quiz_harness.h"

#include "controls/design.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QLabel>
#include <QTest>
#include <QWindow>

#include <algorithm>
#include <array>
#include <cmath>

using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(app::ScreenId)

namespace {

[[nodiscard]] qreal scale()
{
    return qApp->devicePixelRatio();
}

[[nodiscard]] QImage deviceImage(QWidget &widget)
{
    return widget.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

using ink::distance;

// The device pixels of a rectangle given in logical pixels, at this run's factor.
[[nodiscard]] QRect devicePixels(const QRectF &logical)
{
    return ink::devicePixels(logical, scale());
}

}  // namespace

class TestHiDpi : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup() { harness::verifyNoWindowLeft(); }

    void screensScaleAsAWhole_data() { harness::addRowPerScreen(); }
    void screensScaleAsAWhole();
    void textIsDrawnAtDeviceResolution_data() { harness::addRowPerScreen(); }
    void textIsDrawnAtDeviceResolution();
    void bordersKeepToTheEdge_data() { harness::addRowPerScreen(); }
    void bordersKeepToTheEdge();
    void picturesKeepTheirPixels_data();
    void picturesKeepTheirPixels();
    void noTextIsCutOff_data() { harness::addRowPerScreenAndSlot(); }
    void noTextIsCutOff();
};

void TestHiDpi::initTestCase()
{
    harness::applyLookOnce();
    // A registration whose factor did not reach Qt would pass while testing nothing new.
    const QByteArray requested = qgetenv("QT_SCALE_FACTOR");
    const qreal expected = requested.isEmpty() ? 1.0 : requested.toDouble();
    QCOMPARE(scale(), expected);
}

void TestHiDpi::screensScaleAsAWhole()
{
    QFETCH(app::ScreenId, screen);
    harness::Run run;
    shell::Screen &form = run.start(screen);
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QCOMPARE(form.windowHandle()->devicePixelRatio(), scale());

    const QImage device = deviceImage(form);
    QCOMPARE(device.size(), (QSizeF(form.size()) * scale()).toSize());

    // Brought back to design pixels, the screen must look as it does at 1:1.
    QImage design(form.size(), QImage::Format_RGB32);
    design.setDevicePixelRatio(1);
    form.render(&design);
    const QImage reduced =
        device.scaled(form.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    const gallery::BlockDifference block = gallery::worstBlock(design, reduced);
    QVERIFY2(block.worst <= gallery::AllowedBlockDifference,
             qPrintable(u"block at %1,%2 differs by %3"_s.arg(block.at.x())
                            .arg(block.at.y())
                            .arg(block.worst)));
}

void TestHiDpi::textIsDrawnAtDeviceResolution()
{
    QFETCH(app::ScreenId, screen);
    harness::Run run;
    shell::Screen &form = run.start(screen);
    harness::showTheLongestResults(form);
    // A focus frame would be drawn over the caption.
    if (QWidget *focus = form.focusWidget())
        focus->clearFocus();

    const qreal f = scale();
    int captions = 0;
    for (QWidget *control : form.findChildren<QWidget *>()) {
        const auto caption = ink::captionOf(control);
        if (!caption)
            continue;
        ++captions;
        const QString where = control->objectName();
        const QFontInfo face(control->font());
        QVERIFY2(QFontDatabase::isSmoothlyScalable(face.family(), face.styleName()),
                 qPrintable(where + u": "_s + face.family()));

        // The caption as the control shows it, against the same text drawn straight at
        // the device's resolution and against the 1:1 drawing blown up to the same size.
        const QImage shown = deviceImage(*control);
        const QImage sharp = ink::drawCaption(*caption, control->font(), f, 0);
        const QImage blownUp =
            ink::drawCaption(*caption, control->font(), 1, 0)
                .scaled(sharp.size(), Qt::IgnoreAspectRatio, Qt::FastTransformation);
        // One device pixel in from the box: a border next to it may take a straddling pixel.
        const QRect area = devicePixels(caption->box).adjusted(1, 1, -1, -1) & shown.rect();
        qint64 offSharp = 0;
        qint64 offBlownUp = 0;
        qint64 inked = 0;
        for (int y = area.top(); y <= area.bottom(); ++y) {
            for (int x = area.left(); x <= area.right(); ++x) {
                const QRgb pixel = shown.pixel(x, y);
                if (distance(pixel, caption->paper) > 24
                    || distance(sharp.pixel(x, y), caption->paper) > 24)
                    ++inked;
                offSharp += distance(pixel, sharp.pixel(x, y));
                offBlownUp += distance(pixel, blownUp.pixel(x, y));
            }
        }
        QVERIFY2(inked > 0, qPrintable(where));
        const qreal meanOffSharp = qreal(offSharp) / inked;
        const qreal meanOffBlownUp = qreal(offBlownUp) / inked;
        // Measured: 0 from the device drawing, 11 to 99 from the blown-up one.
        QVERIFY2(meanOffSharp < 2,
                 qPrintable(u"%1: %2 from the device drawing"_s.arg(where).arg(meanOffSharp)));
        if (!qFuzzyCompare(f, 1.0)) {
            QVERIFY2(meanOffBlownUp > 4,
                     qPrintable(u"%1: %2 from the blown-up drawing, %3 from the device drawing"_s
                                    .arg(where)
                                    .arg(meanOffBlownUp)
                                    .arg(meanOffSharp)));
        }
    }
    QVERIFY(captions > 0);
}

void TestHiDpi::bordersKeepToTheEdge()
{
    QFETCH(app::ScreenId, screen);
    harness::Run run;
    shell::Screen &form = run.start(screen);

    // A single-line border is the label's outermost logical pixel, as thick on every side.
    for (QLabel *label : form.findChildren<QLabel *>()) {
        if (label->contentsRect() == label->rect() || !label->pixmap().isNull())
            continue;
        const QImage shown = deviceImage(*label);
        const QRgb line = design::WindowText;
        const auto run = [&](QPoint from, QPoint step) {
            int length = 0;
            for (QPoint at = from;
                 shown.rect().contains(at) && shown.pixel(at) == (line | 0xFF000000); at += step)
                ++length;
            return length;
        };
        const QPoint middle = shown.rect().center();
        const int right = shown.width() - 1;
        const int bottom = shown.height() - 1;
        const std::array<int, 4> sides{
            run({middle.x(), 0}, {0, 1}), run({middle.x(), bottom}, {0, -1}),
            run({0, middle.y()}, {1, 0}), run({right, middle.y()}, {-1, 0})};
        const auto [thinnest, thickest] = std::ranges::minmax(sides);
        QVERIFY2(thinnest >= 1 && thickest - thinnest <= 1 && thickest <= int(std::ceil(scale())),
                 qPrintable(u"%1: border top %2, bottom %3, left %4, right %5 device pixels"_s
                                .arg(label->objectName())
                                .arg(sides[0])
                                .arg(sides[1])
                                .arg(sides[2])
                                .arg(sides[3])));
    }
}

void TestHiDpi::picturesKeepTheirPixels_data()
{
    QTest::addColumn<app::ScreenId>("screen");
    QTest::addColumn<QString>("control");
    QTest::newRow("title picture") << app::ScreenId::Form1 << u"Picture1"_s;
    QTest::newRow("worksheet, question 3") << app::ScreenId::Form3 << u"Picture1"_s;
    QTest::newRow("worksheet, question 4") << app::ScreenId::Form8 << u"Picture1"_s;
    QTest::newRow("spreadsheet") << app::ScreenId::Form4 << u"Image1"_s;
}

void TestHiDpi::picturesKeepTheirPixels()
{
    QFETCH(app::ScreenId, screen);
    QFETCH(QString, control);

    harness::Run run;
    shell::Screen &form = run.start(screen);
    auto *picture = form.findChild<QLabel *>(control);
    QVERIFY(picture);

    const QImage source = picture->pixmap().toImage().convertToFormat(QImage::Format_RGB32);
    QCOMPARE(picture->pixmap().devicePixelRatio(), 1.0);
    const QImage shown = deviceImage(*picture);
    const QRect inside = picture->contentsRect();
    const QRectF drawn = QRect(inside.topLeft(), source.size()) & inside;

    // Each device pixel shows the picture pixel under its centre, unblended: every picture
    // pixel becomes a solid block, so the worksheet's one-pixel grid lines stay lines. A
    // centre that falls exactly on the line between two pixels may show either.
    constexpr qreal Tie = 1e-6;
    const auto under = [&](qreal at, qreal origin, int size) {
        QList<int> candidates;
        for (const qreal nudge : {-Tie, Tie}) {
            const int index = int(std::floor(at - origin + nudge));
            if (index >= 0 && index < size && !candidates.contains(index))
                candidates.append(index);
        }
        return candidates;
    };
    const qreal f = scale();
    // A pixel whose centre lies on the picture's edge may show what is beside it.
    const QRect area = devicePixels(drawn.adjusted(Tie, Tie, -Tie, -Tie)) & shown.rect();
    qint64 blended = 0;
    QString first;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        const QList<int> rows = under((y + 0.5) / f, drawn.top(), source.height());
        for (int x = area.left(); x <= area.right(); ++x) {
            const QList<int> columns = under((x + 0.5) / f, drawn.left(), source.width());
            const QRgb pixel = shown.pixel(x, y);
            const bool shows = std::ranges::any_of(rows, [&](int row) {
                return std::ranges::any_of(
                    columns, [&](int column) { return source.pixel(column, row) == pixel; });
            });
            if (!shows && ++blended == 1 && !rows.isEmpty() && !columns.isEmpty()) {
                first = u"device %1,%2 is %3, picture %4,%5 is %6"_s.arg(x)
                            .arg(y)
                            .arg(QColor(pixel).name())
                            .arg(columns.first())
                            .arg(rows.first())
                            .arg(QColor(source.pixel(columns.first(), rows.first())).name());
            }
        }
    }
    QVERIFY2(area.width() >= int(drawn.width() * f) - 1, "the picture is not drawn at full size");
    QVERIFY2(blended == 0,
             qPrintable(u"%1 device pixels off, first: %2"_s.arg(blended).arg(first)));
}

void TestHiDpi::noTextIsCutOff()
{
    QFETCH(app::ScreenId, screen);
    QFETCH(int, correctIndex);

    harness::Run run{harness::drawFor(correctIndex)};
    shell::Screen &form = run.start(screen);
    harness::showTheLongestResults(form);
    const QStringList cutOff = ink::textsCutOff(form);
    QVERIFY2(cutOff.isEmpty(), qPrintable(cutOff.join(u'\n')));
}

QTEST_MAIN(TestHiDpi)
#include "test_hidpi.moc"
