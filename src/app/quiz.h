// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/run_order.h"
#include "screens/questions/question_screen.h"
#include "screens/results/form5.h"
#include "shell/random_source.h"
#include "shell/score.h"
#include "shell/screen.h"

#include <QObject>

#include <memory>

namespace app {

// One run of the quiz, from the title to the results: it owns the score, the verdicts, the
// generator the questions draw from and the screen on show. Screens know nothing of each
// other; each says when it is done, and the run hands over to the next step. A screen is
// made when it is about to be shown and goes once the next one is up.
class Quiz final : public QObject {
    Q_OBJECT

public:
    explicit Quiz(std::unique_ptr<shell::RandomSource> random =
                      std::make_unique<shell::LinearCongruentialSource>(),
                  QObject *parent = nullptr);
    ~Quiz() override;

    // Shows the first screen. A run may also start at a later step, with the points
    // gathered before it.
    void start(ScreenId at = ScreenId::Form1, shell::Score score = {});

    // The screen on show, or none before the start.
    [[nodiscard]] shell::Screen *screen() const noexcept { return m_current.get(); }
    [[nodiscard]] ScreenId step() const noexcept { return m_step; }
    [[nodiscard]] std::uint8_t score() const noexcept { return m_score.points(); }
    [[nodiscard]] const screens::Verdicts &verdicts() const noexcept { return m_verdicts; }

signals:
    // A question has been judged: its number along the run from 0, its verdict and what the
    // student gave. Emitted before the next screen is made.
    void questionAnswered(std::size_t question, screens::Verdict verdict,
                          const screens::Response &response);
    // The results are about to be shown.
    void resultsShown(std::uint8_t total, std::int16_t grade);

private:
    void show(ScreenId screen);
    void handOver(const shell::Screen *from);
    void record(const shell::Screen *from, bool right, const screens::Response &response);

    std::unique_ptr<shell::RandomSource> m_random;
    shell::Score m_score;
    screens::Verdicts m_verdicts{};
    ScreenId m_step = ScreenId::Form1;
    std::unique_ptr<shell::Screen> m_current;
    // The screen just left, until the event loop is back: its own handler may still be on
    // the stack when the next screen is up.
    std::unique_ptr<shell::Screen> m_leaving;
};

}  // namespace app
