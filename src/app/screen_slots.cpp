// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/screen_slots.h"

#include "controls/look.h"
#include "screens/intro/form1.h"
#include "screens/intro/form6.h"
#include "screens/questions/form2.h"
#include "screens/questions/form3.h"
#include "screens/questions/form4.h"
#include "screens/questions/form7.h"
#include "screens/questions/form8.h"
#include "screens/results/form5.h"
#include "shell/module1.h"

#include <array>
#include <type_traits>

namespace shell {

template <class Form>
ScreenSlot<Form>::~ScreenSlot() = default;

template <class Form>
Form &ScreenSlot<Form>::operator()()
{
    if (!m_form) {
        // The title is built at start-up with the one face it shows; the other faces
        // wait for the first screen after it.
        if constexpr (!std::is_same_v<Form, screens::Form1>)
            design::embedAllFaces();
        m_form = std::make_unique<Form>();
        m_form->load();
    }
    return *m_form;
}

template <class Form>
void ScreenSlot<Form>::release()
{
    m_form.reset();
}

template class ScreenSlot<screens::Form1>;
template class ScreenSlot<screens::Form2>;
template class ScreenSlot<screens::Form3>;
template class ScreenSlot<screens::Form4>;
template class ScreenSlot<screens::Form5>;
template class ScreenSlot<screens::Form6>;
template class ScreenSlot<screens::Form7>;
template class ScreenSlot<screens::Form8>;

ScreenSlot<screens::Form1> Form1;
ScreenSlot<screens::Form2> Form2;
ScreenSlot<screens::Form3> Form3;
ScreenSlot<screens::Form4> Form4;
ScreenSlot<screens::Form5> Form5;
ScreenSlot<screens::Form6> Form6;
ScreenSlot<screens::Form7> Form7;
ScreenSlot<screens::Form8> Form8;

namespace {

struct SlotEntry {
    Screen &(*instance)();
    void (*release)();
};

template <auto &slot>
constexpr SlotEntry entry{[]() -> Screen & { return slot(); }, [] { slot.release(); }};

// Indexed by ScreenId: the one place that ties a screen's number to its slot.
constexpr std::array Slots{
    entry<Form1>, entry<Form2>, entry<Form3>, entry<Form4>,
    entry<Form5>, entry<Form6>, entry<Form7>, entry<Form8>,
};
static_assert(static_cast<std::size_t>(ScreenId::Form8) + 1 == Slots.size());

}  // namespace

Screen &instance(ScreenId id)
{
    return Slots.at(static_cast<std::size_t>(id)).instance();
}

void endRun()
{
    for (const SlotEntry &slot : Slots)
        slot.release();
    Module1::Score = 0;
}

}  // namespace shell
