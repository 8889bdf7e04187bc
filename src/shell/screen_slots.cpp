#include "shell/screen_slots.h"

#include "screens/intro/form1.h"
#include "screens/intro/form6.h"
#include "screens/questions/form2.h"
#include "screens/questions/form3.h"
#include "screens/questions/form4.h"
#include "screens/questions/form7.h"
#include "screens/questions/form8.h"
#include "screens/results/form5.h"
#include "shell/look.h"
#include "shell/module1.h"

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
            embedAllFaces();
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

Screen &instance(ScreenId id)
{
    switch (id) {
    case ScreenId::Form1: return Form1();
    case ScreenId::Form2: return Form2();
    case ScreenId::Form3: return Form3();
    case ScreenId::Form4: return Form4();
    case ScreenId::Form5: return Form5();
    case ScreenId::Form6: return Form6();
    case ScreenId::Form7: return Form7();
    case ScreenId::Form8: return Form8();
    }
    Q_UNREACHABLE();
    return Form1();
}

void handOver(Screen &current, ScreenId next)
{
    current.hideScreen();
    instance(next).showScreen();
}

void endRun()
{
    Form1.release();
    Form2.release();
    Form3.release();
    Form4.release();
    Form5.release();
    Form6.release();
    Form7.release();
    Form8.release();
    Module1::Score = 0;
}

}  // namespace shell
