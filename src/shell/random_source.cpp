// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/random_source.h"

#include <QTime>

#include <bit>
#include <utility>

namespace shell {

namespace {

constexpr std::uint32_t StateMask = 0xFFFFFF;
constexpr std::uint32_t Multiplier = 1140671485;
constexpr std::uint32_t Increment = 12820163;

RandomSource *&currentSource()
{
    static LinearCongruentialSource standard;
    static RandomSource *current = &standard;
    return current;
}

}  // namespace

void LinearCongruentialSource::randomize(float seed)
{
    // Fold the seed's bits into the middle of the state, so that seeds a second
    // apart start different sequences.
    const auto bits = std::bit_cast<std::uint32_t>(seed);
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

RandomSource &randomSource()
{
    return *currentSource();
}

ScopedRandomSource::ScopedRandomSource(RandomSource &replacement)
    : m_previous(std::exchange(currentSource(), &replacement))
{}

ScopedRandomSource::~ScopedRandomSource()
{
    currentSource() = m_previous;
}

}  // namespace shell
