// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/random_source.h"

#include <QTime>

#include <cstring>

namespace shell {

namespace {

constexpr std::uint32_t StateMask = 0xFFFFFF;
constexpr std::uint32_t Multiplier = 1140671485;
constexpr std::uint32_t Increment = 12820163;

}  // namespace

void LinearCongruentialSource::randomize(float seed)
{
    // Fold the seed's bits into the middle of the state, so that seeds a second
    // apart start different sequences.
    std::uint32_t bits = 0;
    static_assert(sizeof bits == sizeof seed);
    std::memcpy(&bits, &seed, sizeof bits);
    const std::uint32_t folded = ((bits >> 16) ^ bits) & 0xFFFF;
    m_state = (m_state & 0xFF) | (folded << 8);
}

float LinearCongruentialSource::next()
{
    m_state = (m_state * Multiplier + Increment) & StateMask;
    return static_cast<float>(m_state) / static_cast<float>(StateMask + 1);
}

float secondsSinceMidnight()
{
    return static_cast<float>(QTime::currentTime().msecsSinceStartOfDay()) / 1000.0F;
}

}  // namespace shell
