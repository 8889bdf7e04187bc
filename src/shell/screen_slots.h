// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>

#include <memory>

namespace screens {
class Form1;
class Form2;
class Form3;
class Form4;
class Form5;
class Form6;
class Form7;
class Form8;
}  // namespace screens

namespace shell {
Q_NAMESPACE

class Screen;

// One global slot per screen. Getting the instance fills an empty slot with the
// screen's single instance, created and loaded hidden; nothing empties a slot while
// the quiz runs.
template <class Form>
class ScreenSlot {
public:
    ScreenSlot() = default;
    ~ScreenSlot();
    ScreenSlot(const ScreenSlot &) = delete;
    ScreenSlot &operator=(const ScreenSlot &) = delete;

    [[nodiscard]] Form &operator()();
    [[nodiscard]] bool isFilled() const noexcept { return m_form != nullptr; }

    // Destroys the instance: only at the end of a run, while the application still exists.
    void release();

private:
    std::unique_ptr<Form> m_form;
};

// The slots live with the application, which alone knows every screen.
extern ScreenSlot<screens::Form1> Form1;
extern ScreenSlot<screens::Form2> Form2;
extern ScreenSlot<screens::Form3> Form3;
extern ScreenSlot<screens::Form4> Form4;
extern ScreenSlot<screens::Form5> Form5;
extern ScreenSlot<screens::Form6> Form6;
extern ScreenSlot<screens::Form7> Form7;
extern ScreenSlot<screens::Form8> Form8;

// Names a screen in data tables (which screen comes next, for instance). Its meta-enum
// is the list of screens that code walking all of them (tests, the gallery) reads.
enum class ScreenId { Form1, Form2, Form3, Form4, Form5, Form6, Form7, Form8 };
Q_ENUM_NS(ScreenId)

// The instance of the screen, through its slot.
[[nodiscard]] Screen &instance(ScreenId id);

// The hand-over between screens: hide the screen being left, then get the next
// screen's instance and show it.
void handOver(Screen &current, ScreenId next);

// Ends the run: destroys every screen and sets Score back to 0, so that a new run
// (the next test, say) starts from nothing.
void endRun();

}  // namespace shell
