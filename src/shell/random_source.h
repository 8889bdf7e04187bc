// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

namespace shell {

// The runtime's random-number generator: seeded with a number, it yields values r
// with 0 <= r < 1 in single precision.
class RandomSource {
public:
    virtual ~RandomSource() = default;
    virtual void randomize(float seed) = 0;
    [[nodiscard]] virtual float next() = 0;
};

// A 24-bit linear congruential generator, the classic choice of forms runtimes:
// every value is a multiple of 2^-24, so r < 1 holds exactly in single precision.
class LinearCongruentialSource final : public RandomSource {
public:
    void randomize(float seed) override;
    [[nodiscard]] float next() override;

private:
    std::uint32_t m_state = 0x50000;
};

// The time of day as seconds since midnight, in single precision.
[[nodiscard]] float secondsSinceMidnight();

}  // namespace shell
