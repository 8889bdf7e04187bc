// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/run_order.h"

#include "screens/intro/form1.h"
#include "screens/intro/form6.h"
#include "screens/questions/form2.h"
#include "screens/questions/form3.h"
#include "screens/questions/form4.h"
#include "screens/questions/form7.h"
#include "screens/questions/form8.h"
#include "screens/results/form5.h"

#include <algorithm>
#include <cstddef>
#include <numeric>
#include <type_traits>

namespace app {

namespace {

template <class Form>
std::unique_ptr<shell::Screen> make([[maybe_unused]] shell::RandomSource &random)
{
    if constexpr (std::is_constructible_v<Form, shell::RandomSource &>)
        return std::make_unique<Form>(random);
    else
        return std::make_unique<Form>();
}

}  // namespace

// clang-format off
constexpr std::array<Step, 8> RunOrder{{
    {ScreenId::Form1, Role::Title,        0, ScreenId::Form6,  &make<screens::Form1>},
    {ScreenId::Form6, Role::Instructions, 0, ScreenId::Form2,  &make<screens::Form6>},
    {ScreenId::Form2, Role::Question,     1, ScreenId::Form7,  &make<screens::Form2>},
    {ScreenId::Form7, Role::Question,     1, ScreenId::Form3,  &make<screens::Form7>},
    {ScreenId::Form3, Role::Question,     2, ScreenId::Form8,  &make<screens::Form3>},
    {ScreenId::Form8, Role::Question,     2, ScreenId::Form4,  &make<screens::Form8>},
    {ScreenId::Form4, Role::Question,     3, ScreenId::Form5,  &make<screens::Form4>},
    {ScreenId::Form5, Role::Results,      0, std::nullopt,     &make<screens::Form5>},
}};
// clang-format on

static_assert(std::count_if(RunOrder.begin(), RunOrder.end(),
                            [](const Step &step) { return step.role == Role::Question; })
              == screens::QuestionCount);

// Each screen is one step, and each step leads to the one below it.
static_assert([] {
    for (std::size_t at = 0; at < RunOrder.size(); ++at) {
        if (static_cast<std::size_t>(RunOrder.at(at).screen) != at)
            return false;
        if (at + 1 < RunOrder.size() && RunOrder.at(at).next != RunOrder.at(at + 1).screen)
            return false;
    }
    return !RunOrder.back().next;
}());

const Step &stepOf(ScreenId screen)
{
    return RunOrder.at(static_cast<std::size_t>(screen));
}

std::uint8_t mostPoints()
{
    return static_cast<std::uint8_t>(
        std::accumulate(RunOrder.begin(), RunOrder.end(), 0,
                        [](int sum, const Step &step) { return sum + step.points; }));
}

std::size_t questionNumberOf(ScreenId screen)
{
    return static_cast<std::size_t>(
        std::count_if(RunOrder.begin(), &stepOf(screen),
                      [](const Step &step) { return step.role == Role::Question; }));
}

}  // namespace app
