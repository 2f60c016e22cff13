#pragma once
#include <cstdint>

namespace deskpanel {

// Random numbers 0..32767, the range the meter simulation's formulas are written for.
class RandomSource {
public:
    static constexpr int Max = 32767;

    virtual ~RandomSource() = default;
    virtual int next() = 0;
};

// A small linear congruential generator: the same seed gives the same sequence on
// every platform, so a run of the simulation can be repeated.
class SeededRandomSource : public RandomSource {
public:
    explicit SeededRandomSource(std::uint32_t seed = 1) : m_state(seed) {}

    void seed(std::uint32_t seed) { m_state = seed; }
    int next() override
    {
        m_state = m_state * 1103515245u + 12345u;
        return static_cast<int>((m_state >> 16) & 0x7FFF);
    }

private:
    std::uint32_t m_state;
};

} // namespace deskpanel
