// SPDX-License-Identifier: GPL-3.0-or-later
// Seeded random episodes of everything a class of children does to the quiz: clicks
// anywhere, double clicks, keys pressed and held, any text typed or pasted into the
// formula box, presses that arrive late, the title's timer ticking again, windows closed.
// After every event the quiz must still be in a state a real run can be in.
//
// REFS_QUIZ_MONKEY_EPISODES sets the number of episodes; REFS_QUIZ_MONKEY_SEED replays
// one episode, the one a failure names.
#include "quiz_harness.h"

#include "screens/intro/form1.h"
#include "screens/results/form5.h"
#include "screens/results/grade.h"

#include <QClipboard>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QRandomGenerator>
#include <QTest>
#include <QWindow>

#include <algorithm>
#include <array>
#include <deque>
#include <optional>
#include <random>

using namespace Qt::StringLiterals;

namespace {

constexpr int DefaultEpisodes = 5000;
constexpr int EventsPerEpisode = 150;
constexpr int EpisodeLimitMs = 60000;
// What the driver ends an episode with when no window was closed in it.
constexpr int EpisodeOver = 3;

using answer_key::AcceptedFormulas;
using answer_key::SingleChoiceQuestions;

// The screen that asks question 1 to 5, in the order of the verdicts.
[[nodiscard]] app::ScreenId questionOn(std::size_t question)
{
    return question < SingleChoiceQuestions.size() ? SingleChoiceQuestions.at(question).screen
                                                   : answer_key::FormulaScreen;
}

[[nodiscard]] QString nameOf(app::ScreenId screen)
{
    return QString::fromLatin1(harness::nameOf(screen));
}

// A verdict as the results word it; none while the question is not judged.
[[nodiscard]] QString wordingOf(screens::Verdict verdict)
{
    if (verdict.points == 0)
        return u"none"_s;
    return verdict.right ? answer_key::rightVerdict(verdict.points)
                         : answer_key::WrongVerdict.toString();
}

enum class Action {
    Click,
    DoubleClick,
    OtherButtonClick,
    Key,
    HoldKey,
    Type,
    Paste,
    QueuedPress,
    TitleTick,
    Close,
};

struct Weighted {
    Action action;
    int weight;
};

constexpr std::array<Weighted, 10> Actions{{
    {Action::Click, 35},
    {Action::DoubleClick, 8},
    {Action::OtherButtonClick, 3},
    {Action::Key, 24},
    {Action::HoldKey, 5},
    {Action::Type, 8},
    {Action::Paste, 7},
    {Action::QueuedPress, 4},
    {Action::TitleTick, 5},
    {Action::Close, 1},
}};

struct KeyStroke {
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
    QStringView text;
};

constexpr std::array<KeyStroke, 18> Keys{{
    {Qt::Key_Tab, Qt::NoModifier, u"\t"},
    {Qt::Key_Backtab, Qt::ShiftModifier, {}},
    {Qt::Key_Space, Qt::NoModifier, u" "},
    {Qt::Key_Return, Qt::NoModifier, u"\r"},
    {Qt::Key_Enter, Qt::KeypadModifier, u"\r"},
    {Qt::Key_Left, Qt::NoModifier, {}},
    {Qt::Key_Right, Qt::NoModifier, {}},
    {Qt::Key_Up, Qt::NoModifier, {}},
    {Qt::Key_Down, Qt::NoModifier, {}},
    {Qt::Key_Escape, Qt::NoModifier, u"\x1b"},
    {Qt::Key_Home, Qt::NoModifier, {}},
    {Qt::Key_End, Qt::NoModifier, {}},
    {Qt::Key_Backspace, Qt::NoModifier, u"\b"},
    {Qt::Key_Delete, Qt::NoModifier, {}},
    {Qt::Key_A, Qt::ControlModifier, {}},
    {Qt::Key_B, Qt::NoModifier, u"b"},
    {Qt::Key_B, Qt::ShiftModifier, u"B"},
    {Qt::Key_Q, Qt::NoModifier, u"q"},
}};

// Pieces of text children produce: formula characters, Cyrillic look-alikes, control
// characters, direction marks, combining marks, invisible characters, emoji and other
// characters outside the BMP, and halves of surrogate pairs.
constexpr std::array<QStringView, 9> Alphabets{
    u"=$B1*()-+34 ",
    u"=$ABCDEFGH0123456789*+-/^:;,.()! bh",
    u"ВСАЕвсае ёЁ№",
    u"\u0001\u0007\u0009\u000A\u000D\u001B\u001F\u007F\u0085\u00A0\u2028\u2029",
    u"\u200E\u200F\u202A\u202B\u202C\u202D\u202E\u2066\u2067\u2068\u2069\u061C",
    u"\u0300\u0301\u0308\u0327\u0336\u20DD\u0489\u1AB0",
    u"\u200B\u200C\u200D\u2060\uFEFF\u00AD\u034F",
    u"\U0001F600\U0001F4A9\U0001D400\U00010348\U0010FFFD\U0001F1F7\U0001F1FA",
    u"\uFF1D\uFF04\uFF22\uFFFD\uFFFE\uFFFF\uE000",
};

// The quiz windows that exist: the one on show, and the one just left until the event loop
// lets it go.
[[nodiscard]] QList<shell::Screen *> screensMade()
{
    QList<shell::Screen *> made;
    for (QWidget *window : QApplication::topLevelWidgets()) {
        if (auto *screen = qobject_cast<shell::Screen *>(window))
            made.append(screen);
    }
    return made;
}

template <class Form>
[[nodiscard]] Form *made()
{
    for (shell::Screen *screen : screensMade()) {
        if (auto *form = qobject_cast<Form *>(screen))
            return form;
    }
    return nullptr;
}

class Episode {
public:
    explicit Episode(quint64 seed) : m_seed(seed), m_random(seed)
    {
        // Each question's placement, in [0, 1) from the episode's own generator.
        for (std::size_t question = 0; question < SingleChoiceQuestions.size(); ++question)
            m_run.draws().push(static_cast<float>(m_random() >> 40) / static_cast<float>(1 << 24));
    }

    // Runs the episode inside the application's event loop, as main runs the quiz, and
    // returns the first broken rule, or nothing.
    [[nodiscard]] QString run();

    int events = 0;
    bool reachedResults = false;
    bool closed = false;
    std::array<bool, screens::QuestionCount> judgedRight{};

private:
    [[nodiscard]] int below(int bound)
    {
        return std::uniform_int_distribution<int>(0, bound - 1)(m_random);
    }
    [[nodiscard]] bool chance(int percent) { return below(100) < percent; }

    void step(QEventLoop &loop);
    [[nodiscard]] Action pickAction();
    // Performs the event; true when it was the close of a window on show.
    bool perform(Action action, QWidget &window);

    [[nodiscard]] QPoint pointIn(QWidget &window);
    [[nodiscard]] QString randomText();
    void type(QWindow *window, const QString &text);
    void note(const QString &what);

    // Checks every rule against the state the last check saw; empty when all hold.
    [[nodiscard]] QString check(bool ended);
    [[nodiscard]] QString fail(const QString &rule);

    quint64 m_seed;
    std::mt19937_64 m_random;
    harness::Run m_run;
    QString m_failure;
    std::deque<QString> m_log;

    // What the last check saw.
    app::ScreenId m_screen = app::ScreenId::Form1;
    screens::Verdicts m_verdicts{};
    std::array<std::optional<bool>, screens::QuestionCount> m_rightIfJudgedNow;
};

QString Episode::run()
{
    harness::MessageBoxWatcher messageBoxes;
    m_run.start();

    QTimer::singleShot(0, qApp, [this] {
        // A loop of the episode's own inside the application's: the program's exit tells
        // every loop to stop, so this one shows the very event that ended the program.
        QEventLoop loop;
        QTimer::singleShot(0, &loop, [this, &loop] { step(loop); });
        loop.exec();
        if (!closed)
            QCoreApplication::exit(EpisodeOver);
    });
    const int status = harness::runEventLoop(EpisodeLimitMs);

    // A message box can only be a run-time error: the cause of whatever else went wrong.
    if (!messageBoxes.text.isEmpty())
        m_failure = fail(u"a run-time error was reported: "_s + messageBoxes.text);
    if (m_failure.isEmpty() && closed && status != 0)
        m_failure = fail(u"the program ended with status %1 after a close"_s.arg(status));
    if (m_failure.isEmpty() && !closed && status != EpisodeOver)
        m_failure = fail(u"the event loop ended with status %1 without a close"_s.arg(status));
    return m_failure;
}

void Episode::step(QEventLoop &loop)
{
    if (QString broken = check(false); !broken.isEmpty()) {
        m_failure = broken;
        loop.exit();
        return;
    }

    const QWidgetList visible = harness::visibleScreens();
    const Action action = pickAction();
    const bool closing = perform(action, *visible.first());
    ++events;

    const bool ended = !loop.isRunning();
    if (ended != closing) {
        m_failure = fail(ended ? u"the program ended without a window being closed"_s
                               : u"closing the window did not end the program"_s);
        loop.exit();
        return;
    }
    if (QString broken = check(ended); !broken.isEmpty()) {
        m_failure = broken;
        loop.exit();
        return;
    }
    if (ended) {
        closed = true;
        return;
    }
    if (events >= EventsPerEpisode) {
        loop.exit();
        return;
    }
    QTimer::singleShot(0, &loop, [this, &loop] { step(loop); });
}

Action Episode::pickAction()
{
    int total = 0;
    for (const Weighted &entry : Actions)
        total += entry.weight;
    int draw = below(total);
    for (const Weighted &entry : Actions) {
        if (draw < entry.weight)
            return entry.action;
        draw -= entry.weight;
    }
    return Action::Click;
}

QPoint Episode::pointIn(QWidget &window)
{
    // Half the clicks land anywhere, half on some control, as children aim at things.
    QList<QWidget *> controls;
    for (QWidget *child : window.findChildren<QWidget *>()) {
        if (child->isVisible())
            controls.append(child);
    }
    if (controls.isEmpty() || chance(50))
        return {below(window.width()), below(window.height())};
    QWidget *control = controls.at(below(static_cast<int>(controls.size())));
    const QPoint inside(below(std::max(1, control->width())),
                        below(std::max(1, control->height())));
    return control->mapTo(&window, inside);
}

QString Episode::randomText()
{
    switch (below(6)) {
    case 0: {
        // An accepted formula, sometimes with one character more.
        QString formula = AcceptedFormulas.at(static_cast<std::size_t>(below(4))).toString();
        if (chance(25)) {
            const QStringView alphabet =
                Alphabets.at(static_cast<std::size_t>(below(static_cast<int>(Alphabets.size()))));
            formula.insert(below(static_cast<int>(formula.size()) + 1),
                           alphabet.at(below(static_cast<int>(alphabet.size()))));
        }
        return formula;
    }
    case 1: {
        // A run of one UTF-16 code unit, a half of a surrogate pair among them.
        QString text;
        for (int count = below(8); count >= 0; --count)
            text.append(QChar(static_cast<char16_t>(below(0x10000))));
        return text;
    }
    case 2:
        // Pasted from somewhere else: long.
        return QString(below(20000) + 1000, QChar(u'B' + below(3)));
    default: {
        QString text;
        for (int count = below(24); count >= 0; --count) {
            const QStringView alphabet =
                Alphabets.at(static_cast<std::size_t>(below(static_cast<int>(Alphabets.size()))));
            text.append(alphabet.at(below(static_cast<int>(alphabet.size()))));
        }
        return text;
    }
    }
}

void Episode::type(QWindow *window, const QString &text)
{
    // One key press per character; a character outside the BMP comes as its pair. A key
    // that hands over lets the window go.
    const QPointer<QWindow> target(window);
    for (qsizetype at = 0; at < text.size() && target;) {
        const qsizetype length = text.at(at).isHighSurrogate() && at + 1 < text.size()
                && text.at(at + 1).isLowSurrogate()
            ? 2
            : 1;
        QTest::sendKeyEvent(QTest::Click, window, Qt::Key_unknown, text.mid(at, length),
                            Qt::NoModifier);
        at += length;
    }
}

bool Episode::perform(Action action, QWidget &window)
{
    QWindow *handle = window.windowHandle();
    const QString where = window.objectName();
    switch (action) {
    case Action::Click: {
        const QPoint point = pointIn(window);
        note(u"%1: click at %2,%3"_s.arg(where).arg(point.x()).arg(point.y()));
        QTest::mouseClick(handle, Qt::LeftButton, {}, point);
        return false;
    }
    case Action::DoubleClick: {
        const QPoint point = pointIn(window);
        note(u"%1: double click at %2,%3"_s.arg(where).arg(point.x()).arg(point.y()));
        QTest::mouseDClick(handle, Qt::LeftButton, {}, point);
        return false;
    }
    case Action::OtherButtonClick: {
        const QPoint point = pointIn(window);
        const Qt::MouseButton button = chance(50) ? Qt::RightButton : Qt::MiddleButton;
        note(u"%1: button %2 click at %3,%4"_s.arg(where)
                 .arg(int(button))
                 .arg(point.x())
                 .arg(point.y()));
        QTest::mouseClick(handle, button, {}, point);
        return false;
    }
    case Action::Key: {
        const KeyStroke &stroke =
            Keys.at(static_cast<std::size_t>(below(static_cast<int>(Keys.size()))));
        note(
            u"%1: key %2"_s.arg(where).arg(QKeySequence(stroke.key | stroke.modifiers).toString()));
        QTest::sendKeyEvent(QTest::Click, handle, stroke.key, stroke.text.toString(),
                            stroke.modifiers);
        return false;
    }
    case Action::HoldKey: {
        // Held down: the platform repeats the press, with a release before each repeat.
        const bool space = chance(60);
        const Qt::Key key = space ? Qt::Key_Space : Qt::Key_Return;
        const QString text = space ? u" "_s : u"\r"_s;
        const int repeats = below(12) + 1;
        note(u"%1: hold %2 for %3 repeats"_s.arg(where, text == u" "_s ? u"Space"_s : u"Enter"_s)
                 .arg(repeats));
        // Each repeat goes where the focus is by then: to the next screen once the first
        // press has handed over.
        const auto send = [&](QEvent::Type type, bool repeat) {
            QWindow *target = QGuiApplication::focusWindow();
            if (!target && !harness::visibleScreens().isEmpty())
                target = harness::visibleScreens().first()->windowHandle();
            if (target)
                qt_handleKeyEvent(target, type, key, Qt::NoModifier, text, repeat);
            QApplication::processEvents();
        };
        send(QEvent::KeyPress, false);
        for (int repeat = 0; repeat < repeats; ++repeat) {
            send(QEvent::KeyRelease, true);
            send(QEvent::KeyPress, true);
        }
        send(QEvent::KeyRelease, false);
        return false;
    }
    case Action::Type: {
        const QString text = randomText().left(40);
        note(u"%1: type %2 code units"_s.arg(where).arg(text.size()));
        type(handle, text);
        return false;
    }
    case Action::Paste: {
        const QString text = randomText();
        const bool over = chance(50);
        note(u"%1: paste %2 code units%3"_s.arg(where)
                 .arg(text.size())
                 .arg(over ? u" over everything"_s : QString()));
        QGuiApplication::clipboard()->setText(text);
        if (over)
            QTest::sendKeyEvent(QTest::Click, handle, Qt::Key_A, QString(), Qt::ControlModifier);
        QTest::sendKeyEvent(QTest::Click, handle, Qt::Key_V, QString(), Qt::ControlModifier);
        return false;
    }
    case Action::QueuedPress: {
        // A press that waits in the queue, as one made while the program is busy does;
        // sometimes followed at once by another.
        const QList<QPushButton *> buttons = window.findChildren<QPushButton *>();
        if (buttons.isEmpty())
            return false;
        QPushButton *button = buttons.at(below(static_cast<int>(buttons.size())));
        const bool direct = chance(50);
        note(u"%1: queued press of %2%3"_s.arg(where, button->objectName(),
                                               direct ? u" and a direct one"_s : QString()));
        QMetaObject::invokeMethod(button, &QAbstractButton::click, Qt::QueuedConnection);
        if (direct)
            QTest::mouseClick(handle, Qt::LeftButton, {},
                              button->mapTo(&window, button->rect().center()));
        return false;
    }
    case Action::TitleTick: {
        note(u"%1: the title's timer ticks"_s.arg(where));
        // Once handed over, the title goes with its timer.
        auto *title = made<screens::Form1>();
        if (title && !QMetaObject::invokeMethod(title->Timer1, "timeout"))
            qFatal("cannot make the title's timer tick");
        return false;
    }
    case Action::Close:
        note(u"%1: close"_s.arg(where));
        handle->close();
        return true;
    }
    return false;
}

void Episode::note(const QString &what)
{
    m_log.push_back(u"%1. %2"_s.arg(events + 1).arg(what));
    if (m_log.size() > 12)
        m_log.pop_front();
}

QString Episode::fail(const QString &rule)
{
    QString message =
        u"seed %1 (replay with REFS_QUIZ_MONKEY_SEED=%1): %2\nlast events:"_s.arg(m_seed).arg(rule);
    for (const QString &line : m_log)
        message += u"\n  "_s + line;
    return message;
}

QString Episode::check(bool ended)
{
    const QWidgetList visible = harness::visibleScreens();
    if (visible.size() != (ended ? 0 : 1))
        return fail(u"%1 quiz windows on show"_s.arg(visible.size()));
    if (const qsizetype windows = screensMade().size(); windows > 2)
        return fail(u"%1 quiz windows exist"_s.arg(windows));

    const app::ScreenId screen = m_run.step();
    if (!ended && visible.first() != m_run.quiz().screen())
        return fail(u"%1 is on show while the run is at %2"_s.arg(visible.first()->objectName(),
                                                                  nameOf(screen)));
    if (screen < m_screen)
        return fail(u"went back from %1 to %2"_s.arg(nameOf(m_screen), nameOf(screen)));
    if (const auto *title = made<screens::Form1>();
        title && screen != app::ScreenId::Form1 && title->Timer1->isActive())
        return fail(u"the title's timer still runs after the hand-over"_s);
    auto *results = made<screens::Form5>();
    if ((results != nullptr) != (screen == app::ScreenId::Form5))
        return fail(u"the results exist on %1: %2"_s.arg(nameOf(screen)).arg(results != nullptr));

    const screens::Verdicts &verdicts = m_run.quiz().verdicts();
    int points = 0;
    for (std::size_t index = 0; index < verdicts.size(); ++index) {
        const screens::Verdict verdict = verdicts.at(index);
        const app::ScreenId asked = questionOn(index);
        const bool passed = screen > asked;
        const bool written = verdict.points != 0;
        if (written != passed)
            return fail(u"question %1 is %2 but its verdict is %3"_s.arg(index + 1).arg(
                passed ? u"passed"_s : u"not passed"_s, wordingOf(verdict)));
        if (written && verdict.points != app::stepOf(asked).points)
            return fail(
                u"question %1 has the verdict \"%2\""_s.arg(index + 1).arg(wordingOf(verdict)));
        const screens::Verdict before = m_verdicts.at(index);
        if (before.points != 0 && wordingOf(verdict) != wordingOf(before))
            return fail(
                u"the verdict of question %1 changed from \"%2\" to \"%3\""_s.arg(index + 1).arg(
                    wordingOf(before), wordingOf(verdict)));
        if (written && before.points == 0) {
            const std::optional<bool> expected = m_rightIfJudgedNow.at(index);
            if (expected && *expected != verdict.right)
                return fail(
                    u"question %1 was judged %2 for an answer that is %3"_s.arg(index + 1).arg(
                        wordingOf(verdict), *expected ? u"right"_s : u"wrong"_s));
            judgedRight.at(index) = verdict.right;
        }
        if (verdict.right)
            points += verdict.points;
        m_verdicts.at(index) = verdict;
    }

    const int score = m_run.quiz().score();
    if (score > 9 || score != points)
        return fail(u"the score is %1 for verdicts worth %2 points"_s.arg(score).arg(points));

    if (results) {
        reachedResults = true;
        const std::array fields{results->Label4, results->Label5, results->Label6, results->Label10,
                                results->Label12};
        for (std::size_t index = 0; index < fields.size(); ++index) {
            if (fields.at(index)->text() != wordingOf(verdicts.at(index)))
                return fail(u"the results show \"%1\" for question %2, judged %3"_s.arg(
                    fields.at(index)->text(), QString::number(index + 1),
                    wordingOf(verdicts.at(index))));
        }
        const QString total = results->Label14->text();
        const QString shownGrade = results->Label8->text();
        if (total != QString::number(score)
            || shownGrade != QString::number(screens::gradeFor(static_cast<std::uint8_t>(score))))
            return fail(
                u"the results show total %1 and grade %2 for a score of %3"_s.arg(total, shownGrade)
                    .arg(score));
    }

    // What the question on show would be judged if its button were pressed now.
    m_rightIfJudgedNow.fill(std::nullopt);
    for (std::size_t index = 0; index < verdicts.size() && !ended; ++index) {
        if (questionOn(index) != screen)
            continue;
        QWidget *form = visible.first();
        if (index >= SingleChoiceQuestions.size()) {
            const QString typed = form->findChild<QLineEdit *>(u"Text1"_s)->text();
            m_rightIfJudgedNow.at(index) =
                std::ranges::count(AcceptedFormulas, QStringView(typed)) > 0;
        } else {
            bool right = false;
            for (int slot = 0; slot < 3; ++slot) {
                auto *option = form->findChild<QRadioButton *>(u"Option1(%1)"_s.arg(slot));
                if (option->isChecked())
                    right = option->text() == SingleChoiceQuestions.at(index).answers[0];
            }
            m_rightIfJudgedNow.at(index) = right;
        }
    }
    m_screen = screen;
    return {};
}

}  // namespace

class TestMonkey : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        // Real window systems deliver input and focus on their own time; the episodes
        // replay exactly only on the offscreen platform (the X server suite leaves it out).
        QVERIFY2(QGuiApplication::platformName() == u"offscreen"_s,
                 "the monkey runs on the offscreen platform: QT_QPA_PLATFORM=offscreen");
        harness::applyLookOnce();
    }
    void cleanup() { harness::verifyNoWindowLeft(); }

    void episodesKeepEveryRule();
};

void TestMonkey::episodesKeepEveryRule()
{
    bool replayOk = false;
    const quint64 replay = qEnvironmentVariable("REFS_QUIZ_MONKEY_SEED").toULongLong(&replayOk);
    bool countOk = false;
    int episodes = qEnvironmentVariableIntValue("REFS_QUIZ_MONKEY_EPISODES", &countOk);
    if (!countOk || episodes < 1)
        episodes = DefaultEpisodes;
    if (replayOk)
        episodes = 1;
    const quint64 first = replayOk ? replay : QRandomGenerator::global()->bounded(quint64{1} << 48);
    qInfo("monkey: %d episodes from seed %llu", episodes, first);

    QElapsedTimer clock;
    clock.start();
    int events = 0;
    int results = 0;
    int closes = 0;
    std::array<int, screens::QuestionCount> rightAnswers{};
    for (int index = 0; index < episodes; ++index) {
        Episode episode(first + static_cast<quint64>(index));
        const QString failure = episode.run();
        QVERIFY2(failure.isEmpty(), qPrintable(failure));
        events += episode.events;
        results += episode.reachedResults ? 1 : 0;
        closes += episode.closed ? 1 : 0;
        for (std::size_t question = 0; question < rightAnswers.size(); ++question)
            rightAnswers.at(question) += episode.judgedRight.at(question) ? 1 : 0;
    }
    qInfo("monkey: %d events in %lld ms; %d episodes reached the results, %d ended by a close; "
          "right answers per question %d %d %d %d %d",
          events, clock.elapsed(), results, closes, rightAnswers[0], rightAnswers[1],
          rightAnswers[2], rightAnswers[3], rightAnswers[4]);

    // A monkey that never got far would prove nothing. A right formula takes a paste of
    // exactly an accepted one and then the button: about one episode in two hundred.
    if (!replayOk && episodes >= 500) {
        QVERIFY2(results * 5 >= episodes, "too few episodes reached the results");
        QVERIFY2(closes * 5 >= episodes, "too few episodes ended by closing a window");
        for (std::size_t question = 0; question < rightAnswers.size(); ++question) {
            if (question < 4 || episodes >= 2000)
                QVERIFY2(rightAnswers.at(question) > 0, "some question was never answered right");
        }
    }
}

QTEST_MAIN(TestMonkey)
#include "test_monkey.moc"
