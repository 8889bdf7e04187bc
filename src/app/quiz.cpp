// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/quiz.h"

#include "controls/look.h"
#include "screens/questions/question_screen.h"
#include "screens/results/grade.h"
#include "shell/runtime_error.h"

#include <utility>

namespace app {

Quiz::Quiz(std::unique_ptr<shell::RandomSource> random, QObject *parent)
    : QObject(parent)
    , m_random(std::move(random))
{}

// The screens are top-level windows: they go before the run, while the application exists.
Quiz::~Quiz() = default;

void Quiz::start(ScreenId at, shell::Score score)
{
    m_score = score;
    m_verdicts = {};
    m_leaving.reset();
    m_current.reset();
    show(at);
}

void Quiz::show(ScreenId screen)
{
    const Step &step = stepOf(screen);
    // The title is built at start-up with the one face it shows; the other faces wait for
    // the first screen after it.
    if (step.role != Role::Title)
        design::embedAllFaces();

    m_step = screen;
    m_current = step.make(*m_random);
    shell::Screen *made = m_current.get();
    switch (step.role) {
    case Role::Title:
    case Role::Instructions:
        connect(made, &shell::Screen::advance, this,
                [this, made] { shell::runHandler([&] { handOver(made); }); });
        break;
    case Role::Question:
        connect(qobject_cast<screens::QuestionScreen *>(made), &screens::QuestionScreen::answered,
                this, [this, made](bool right, const screens::Response &response) {
                    shell::runHandler([&] { record(made, right, response); });
                });
        break;
    case Role::Results: {
        const std::int16_t grade = screens::gradeFor(m_score.points());
        qobject_cast<screens::Form5 *>(made)->showResults(m_verdicts, m_score.points(), grade);
        emit resultsShown(m_score.points(), grade);
        break;
    }
    }
    made->showScreen();
}

void Quiz::record(const shell::Screen *from, bool right, const screens::Response &response)
{
    if (from != m_current.get())
        return;
    const Step &step = stepOf(m_step);
    // The points are added first: an overflow ends the run on this question.
    if (right)
        m_score.add(step.points);
    const std::size_t question = questionNumberOf(m_step);
    m_verdicts.at(question) = {right, step.points};
    emit questionAnswered(question, m_verdicts.at(question), response);
    handOver(from);
}

void Quiz::handOver(const shell::Screen *from)
{
    // A late signal from a screen already left asks for nothing.
    if (from != m_current.get())
        return;
    const std::optional<ScreenId> next = stepOf(m_step).next;
    if (!next)
        return;
    m_current->hideScreen();
    m_leaving = std::move(m_current);
    show(*next);
    QMetaObject::invokeMethod(
        this, [this] { m_leaving.reset(); }, Qt::QueuedConnection);
}

}  // namespace app
