// SPDX-License-Identifier: GPL-3.0-or-later
// Reads the quiz's screens off an X server, for the suite that drives a program from outside
// (tests/wine_check.sh takes the Windows program through whole quizzes under Wine):
//
//   x-screen check WINDOW SCREEN [SCALE [TEXT...]]
//       Grabs the window and compares it with the screen's reference image: pixel by pixel
//       with the gallery's tolerance, or block by block at another scale factor. Where a run
//       may differ from the sample run of the references, the reference's part is replaced by
//       the same screen drawn as the gallery draws it: a question's options in the placement
//       the window shows, the results' seven fields (five verdicts, the total, the grade)
//       filled with the TEXTs. Prints, as shell assignments, where to click (button, options
//       top to bottom, text) and right, the option (1 to 3) holding a question's right answer.
//   x-screen check-file FILE SCREEN [SCALE [TEXT...]]
//       As check, with a PNG file for the window: a browser's canvas (web/test), every pixel
//       within two levels. Also prints what the desktop's accessibility offers of the screen
//       (said: read as it opens; tree: every node's role, name and choice), the options'
//       captions top to bottom (captions), a question's right answer, the accessible names of
//       the button and text, and the formula the answer key accepts, as places does.
//   x-screen verdicts right|wrong...
//       Prints the results' five verdicts for questions answered so (verdicts).
//   x-screen places SCREEN [SCALE]
//       Prints where to click, as check does, without looking at any window.
//   x-screen title-hand-over SCALE
//       Prints the milliseconds from the title's window being mapped to the instructions'.
//   x-screen acknowledge-maps
//       Sets WM_STATE on the windows mapped and unmapped, as a window manager would, until
//       killed: Wine waits for it.
//   x-screen draw SCREEN FILE [SLOT | TEXT...]
//       Draws the screen as the gallery does, with the right answer in option SLOT or the
//       results filled with the TEXTs (offscreen; check runs it).
#include "gallery.h"
#include "quiz_harness.h"
#include "x_screen_maps.h"

#include "screens/questions/single_choice.h"
#include "screens/results/form5.h"

#include <QAccessible>
#include <QDir>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMetaEnum>
#include <QPainter>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTemporaryDir>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <optional>

using namespace Qt::StringLiterals;

namespace {

std::optional<app::ScreenId> screenNamed(const QString &name)
{
    for (const app::Step &step : app::RunOrder) {
        if (name.compare(QLatin1String(harness::nameOf(step.screen)), Qt::CaseInsensitive) == 0)
            return step.screen;
    }
    return std::nullopt;
}

// The screen made and loaded but never shown: on the X server the windows are the program's
// under test. A question puts its right answer into slot right, if one is given.
std::unique_ptr<shell::Screen> hidden(app::ScreenId id, int right = 0)
{
    static harness::ScriptedDraws draws;
    if (right)
        draws.push(harness::drawFor(right));
    std::unique_ptr<shell::Screen> screen = app::stepOf(id).make(draws);
    screen->load();
    return screen;
}

// The results' fields a run writes: five verdicts, the total, the grade.
std::array<QLabel *, 7> resultFields(const screens::Form5 &results)
{
    return {results.Label4,  results.Label5,  results.Label6, results.Label10,
            results.Label12, results.Label14, results.Label8};
}

// The parts of the screen that change from run to run.
QList<QRect> variableParts(shell::Screen &screen)
{
    QList<QRect> parts;
    if (qobject_cast<screens::SingleChoiceScreen *>(&screen)) {
        for (const QGroupBox *frame : screen.findChildren<QGroupBox *>())
            parts.append(frame->geometry());
    } else if (const auto *results = qobject_cast<screens::Form5 *>(&screen)) {
        for (const QLabel *field : resultFields(*results))
            parts.append(field->geometry());
    }
    return parts;
}

// Mean of the channels' absolute differences over a part of two images.
double distance(const QImage &a, const QImage &b, QRect part)
{
    double sum = 0;
    for (int y = part.top(); y <= part.bottom(); ++y) {
        for (int x = part.left(); x <= part.right(); ++x) {
            const QRgb p = a.pixel(x, y);
            const QRgb q = b.pixel(x, y);
            sum += std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q))
                + std::abs(qBlue(p) - qBlue(q));
        }
    }
    return sum / std::max(1, part.width() * part.height());
}

// A point of the control, in the window's pixels: by default its centre.
QString placeOf(const QWidget *control, qreal scale, std::optional<QPoint> at = std::nullopt)
{
    const QPoint inside = control->mapTo(control->window(), at.value_or(control->rect().center()));
    return u"\"%1 %2\""_s.arg(qRound(inside.x() * scale)).arg(qRound(inside.y() * scale));
}

// A word for the shell, whatever it holds ($ in a formula, say).
QString quoted(const QString &text)
{
    QString inner = text;
    return u'\'' + inner.replace(u'\'', u"'\\''"_s) + u'\'';
}

void printList(const char *name, const QStringList &texts)
{
    QStringList words;
    for (const QString &text : texts)
        words.append(quoted(text));
    std::printf("%s=(%s)\n", name, qPrintable(words.join(u' ')));
}

[[nodiscard]] QString accessibleName(QWidget *widget)
{
    const QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(widget);
    return accessible ? accessible->text(QAccessible::Name) : QString();
}

// What a screen reader on the desktop is offered as the window opens: its name, its texts and
// its description, which reads the labelled fields.
QStringList saidOf(shell::Screen &screen)
{
    QStringList said{accessibleName(&screen)};
    for (QLabel *label : screen.findChildren<QLabel *>(Qt::FindDirectChildrenOnly)) {
        const QAccessibleInterface *text = QAccessible::queryAccessibleInterface(label);
        if (label->isVisibleTo(&screen) && text && text->role() == QAccessible::StaticText)
            said.append(text->text(QAccessible::Name));
    }
    said.append(QAccessible::queryAccessibleInterface(&screen)->text(QAccessible::Description));
    said.removeAll(QString());
    return said;
}

// The desktop's accessibility tree under the window, depth first as a screen reader walks it:
// each node's role, name and, for an option, whether it is chosen; the browser's twin must
// offer the same.
void addNodes(QAccessibleInterface *node, QStringList &nodes)
{
    static const QMetaEnum roles = QMetaEnum::fromType<QAccessible::Role>();
    for (int index = 0; index < node->childCount(); ++index) {
        QAccessibleInterface *child = node->child(index);
        QString said = QString::fromLatin1(roles.valueToKey(child->role())) + u'|'
            + child->text(QAccessible::Name);
        if (child->role() == QAccessible::RadioButton)
            said += child->state().checked ? u"|checked"_s : u"|unchecked"_s;
        nodes.append(said);
        addNodes(child, nodes);
    }
}

// For the browser's twin and keys: what check-file and places print beyond the places.
void printTexts(shell::Screen &screen, app::ScreenId id, int right)
{
    printList("said", saidOf(screen));
    QStringList tree{u"Dialog|"_s + accessibleName(&screen)};
    addNodes(QAccessible::queryAccessibleInterface(&screen), tree);
    printList("tree", tree);
    if (const answer_key::SingleChoice *question = answer_key::singleChoiceOn(id)) {
        std::printf("right_answer=%s\n", qPrintable(quoted(question->answers.front().toString())));
        if (right)
            printList("captions", answer_key::captionsFor(*question, right));
    }
    for (QPushButton *button : screen.findChildren<QPushButton *>())
        std::printf("button_name=%s\n", qPrintable(quoted(accessibleName(button))));
    // Orca calls a field by the label that names it.
    for (QLabel *label : screen.findChildren<QLabel *>()) {
        if (qobject_cast<QLineEdit *>(label->buddy()))
            std::printf("text_name=%s\n", qPrintable(quoted(label->text())));
    }
    if (id == answer_key::FormulaScreen)
        std::printf("right_formula=%s\n",
                    qPrintable(quoted(answer_key::AcceptedFormulas.front().toString())));
}

void printPlaces(shell::Screen &screen, qreal scale)
{
    QList<QRadioButton *> options = screen.findChildren<QRadioButton *>();
    std::ranges::sort(options, {}, [&screen](const QRadioButton *option) {
        return option->mapTo(&screen, QPoint()).y();
    });
    QStringList places;
    // On the indicator.
    for (const QRadioButton *option : options)
        places.append(placeOf(option, scale, QPoint(6, option->height() / 2)));
    std::printf("options=(%s)\n", qPrintable(places.join(u' ')));
    for (const QPushButton *button : screen.findChildren<QPushButton *>())
        std::printf("button=%s\n", qPrintable(placeOf(button, scale)));
    for (const QLineEdit *text : screen.findChildren<QLineEdit *>())
        std::printf("text=%s\n", qPrintable(placeOf(text, scale)));
}

int draw(app::ScreenId id, const QString &file, const QStringList &rest)
{
    harness::Run run;
    if (!rest.isEmpty() && id != app::ScreenId::Form5)
        run.draws().push(harness::drawFor(rest.first().toInt()));
    shell::Screen &screen = run.start(id);
    if (const auto *results = run.screenAs<screens::Form5>()) {
        const std::array fields = resultFields(*results);
        for (std::size_t at = 0; at < fields.size(); ++at)
            fields.at(at)->setText(rest.value(qsizetype(at)));
    }
    return gallery::grabScreen(screen).save(file) ? 0 : 1;
}

// The screen drawn offscreen by a run of this tool, as the references are drawn.
QImage drawn(const QString &name, const QStringList &rest, const QTemporaryDir &scratch)
{
    const QString file = scratch.filePath(u"%1-%2.png"_s.arg(name, rest.join(u'-')));
    QProcess drawing;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(u"QT_QPA_PLATFORM"_s, u"offscreen"_s);
    drawing.setProcessEnvironment(environment);
    drawing.setProcessChannelMode(QProcess::ForwardedOutputChannel);
    drawing.start(QCoreApplication::applicationFilePath(),
                  QStringList{u"draw"_s, name, file} + rest);
    drawing.waitForFinished();
    return QImage(file).convertToFormat(QImage::Format_RGB32);
}

// A browser's canvas comes from the same Qt drawing code as the desktop's window: only
// antialiased glyph edges may land a level or two off (the browser build rasterises glyphs with
// Qt's own FreeType), and any pixel further off is a fault.
constexpr int BrowserLevels = 2;

// Compares the window, grabbed off the X server, or the canvas in a PNG file.
int check(const QString &window, const QString &name, qreal scale, const QStringList &results,
          bool fromFile = false)
{
    const auto id = screenNamed(name);
    if (!id) {
        std::fprintf(stderr, "x-screen: no screen %s\n", qPrintable(name));
        return 2;
    }
    const QString referencePath =
        QDir(QStringLiteral(REFS_QUIZ_REFERENCE_DIR)).filePath(name + u".png"_s);
    QImage expected = QImage(referencePath).convertToFormat(QImage::Format_RGB32);
    const QImage grabbed = (fromFile ? QImage(window)
                                     : QGuiApplication::primaryScreen()
                                           ->grabWindow(window.toULongLong(nullptr, 0))
                                           .toImage())
                               .convertToFormat(QImage::Format_RGB32);
    if (expected.isNull() || grabbed.isNull()) {
        std::fprintf(stderr, "x-screen: no reference %s or no window %s\n",
                     qPrintable(referencePath), qPrintable(window));
        return 2;
    }
    const QString kept = QDir::temp().filePath(u"refs-quiz-x-screen-%1.png"_s.arg(name));
    const QSize scaled = (QSizeF(expected.size()) * scale).toSize();
    if (std::abs(grabbed.width() - scaled.width()) > 1
        || std::abs(grabbed.height() - scaled.height()) > 1) {
        grabbed.save(kept);
        std::fprintf(stderr, "x-screen: %s is %dx%d, not %dx%d; it is in %s\n", qPrintable(name),
                     grabbed.width(), grabbed.height(), scaled.width(), scaled.height(),
                     qPrintable(kept));
        return 1;
    }
    const QImage shown = scale == 1
        ? grabbed
        : grabbed.scaled(expected.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);

    const std::unique_ptr<shell::Screen> screen = hidden(*id);
    const QList<QRect> parts = variableParts(*screen);
    int right = 0;
    if (!parts.isEmpty()) {
        const QTemporaryDir scratch;
        QImage variant;
        if (*id == app::ScreenId::Form5) {
            variant = drawn(name, results, scratch);
        } else {
            // The placement whose options look most like the window's.
            double nearest = -1;
            for (int slot = 1; slot <= 3; ++slot) {
                const QImage candidate = drawn(name, {QString::number(slot)}, scratch);
                if (candidate.size() != shown.size())
                    continue;
                double apart = 0;
                for (const QRect &part : parts)
                    apart += distance(shown, candidate, part);
                if (nearest < 0 || apart < nearest)
                    nearest = apart, right = slot, variant = candidate;
            }
        }
        if (variant.size() != expected.size()) {
            std::fprintf(stderr, "x-screen: could not draw %s\n", qPrintable(name));
            return 2;
        }
        QPainter painter(&expected);
        for (const QRect &part : parts)
            painter.drawImage(part.topLeft(), variant.copy(part));
    }

    bool matches = false;
    QString how;
    if (fromFile && scale == 1) {
        const gallery::Difference difference = gallery::compare(shown, expected);
        matches = difference.worst <= BrowserLevels;
        how =
            u"every pixel within %1 levels of the reference's: the worst by %2"_s.arg(BrowserLevels)
                .arg(difference.worst);
    } else if (scale == 1) {
        const gallery::Difference difference = gallery::compare(shown, expected);
        const qsizetype allowed = gallery::allowedPixels(shown.size());
        matches = difference.pixels <= allowed;
        how = u"%1 pixels differ (%2 allowed), worst by %3"_s.arg(difference.pixels)
                  .arg(allowed)
                  .arg(difference.worst);
        // The same tolerance for each part a run changes, or a wrong digit would hide in the whole.
        for (const QRect &part : parts) {
            const qsizetype differ = gallery::compare(shown.copy(part), expected.copy(part)).pixels;
            if (differ > gallery::allowedPixels(part.size())) {
                matches = false;
                how += u"; %1 pixels differ in the part at %2,%3 (%4 allowed)"_s.arg(differ)
                           .arg(part.x())
                           .arg(part.y())
                           .arg(gallery::allowedPixels(part.size()));
            }
        }
    } else {
        const gallery::BlockDifference block = gallery::worstBlock(expected, shown);
        matches = block.worst <= gallery::AllowedBlockDifference;
        how = u"at %1x the worst block, at %2,%3, differs by %4 (%5 allowed)"_s.arg(scale)
                  .arg(block.at.x())
                  .arg(block.at.y())
                  .arg(block.worst)
                  .arg(gallery::AllowedBlockDifference);
    }
    if (!matches) {
        grabbed.save(kept);
        expected.save(QDir::temp().filePath(u"refs-quiz-x-screen-%1-expected.png"_s.arg(name)));
        std::fprintf(stderr, "x-screen: %s does not match: %s; it is in %s\n", qPrintable(name),
                     qPrintable(how), qPrintable(kept));
        return 1;
    }
    std::fprintf(stderr, "x-screen: %s matches %s%s: %s\n", qPrintable(name),
                 qPrintable(referencePath),
                 parts.isEmpty() ? ""
                     : right     ? " (options as drawn with the right answer in that slot)"
                                 : " (fields as drawn with the texts given)",
                 qPrintable(how));
    printPlaces(*screen, scale);
    std::printf("right=%d\n", right);
    if (fromFile) {
        // What a screen reader is offered of the screen as the window shows it.
        const std::unique_ptr<shell::Screen> shown = hidden(*id, right);
        if (auto *filled = qobject_cast<screens::Form5 *>(shown.get())) {
            const std::array fields = resultFields(*filled);
            for (std::size_t at = 0; at < fields.size(); ++at)
                fields.at(at)->setText(results.value(qsizetype(at)));
        }
        printTexts(*shown, *id, right);
    }
    return 0;
}

}  // namespace

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    const QStringList arguments = QApplication::arguments();
    const QString command = arguments.value(1);
    if (command == u"acknowledge-maps"_s)
        xscreen::acknowledgeMaps();
    const bool checking = command == u"check"_s || command == u"check-file"_s;
    const auto id = screenNamed(arguments.value(checking ? 3 : 2));
    harness::applyLookOnce();
    if (checking && id) {
        const qreal scale = arguments.size() > 4 ? arguments.at(4).toDouble() : 1.0;
        return check(arguments.at(2), arguments.at(3), scale, arguments.mid(5),
                     command == u"check-file"_s);
    }
    if (command == u"verdicts"_s) {
        QStringList verdicts;
        for (const app::Step &step : app::RunOrder) {
            if (step.role == app::Role::Question)
                verdicts.append(arguments.value(2 + verdicts.size()) == u"right"_s
                                    ? answer_key::rightVerdict(step.points)
                                    : answer_key::WrongVerdict.toString());
        }
        printList("verdicts", verdicts);
        return 0;
    }
    if (command == u"draw"_s && id && arguments.size() >= 4)
        return draw(*id, arguments.at(3), arguments.mid(4));
    if (command == u"places"_s && id) {
        const std::unique_ptr<shell::Screen> screen = hidden(*id);
        printPlaces(*screen, arguments.size() > 3 ? arguments.at(3).toDouble() : 1.0);
        printTexts(*screen, *id, 0);
        return 0;
    }
    if (command == u"title-hand-over"_s && arguments.size() == 3) {
        const qreal scale = arguments.at(2).toDouble();
        const auto sizeOf = [scale](app::ScreenId screen) {
            const QSize size = (QSizeF(hidden(screen)->size()) * scale).toSize();
            return xscreen::Size{size.width(), size.height()};
        };
        const xscreen::Size title = sizeOf(app::ScreenId::Form1);
        const xscreen::Size instructions = sizeOf(app::ScreenId::Form6);
        const auto milliseconds = xscreen::titleHandOver(title, instructions);
        if (!milliseconds) {
            std::fprintf(stderr,
                         "x-screen: the title or the instructions were not mapped in time\n");
            return 1;
        }
        std::printf("%d\n", *milliseconds);
        return 0;
    }
    std::fprintf(stderr,
                 "usage: x-screen check WINDOW SCREEN [SCALE [TEXT...]]"
                 " | check-file FILE SCREEN [SCALE [TEXT...]] | verdicts right|wrong..."
                 " | places SCREEN [SCALE] | title-hand-over SCALE | acknowledge-maps"
                 " | draw SCREEN FILE [SLOT | TEXT...]\n");
    return 2;
}
