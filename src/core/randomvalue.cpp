#include "randomvalue.h"

#include <atomic>
#include <chrono>
#include <cmath>

namespace RandomChoice {

namespace {

// SplitMix64's output function: a bijection that spreads every input bit over the whole
// result, so seeds that differ in one bit give unrelated numbers.
constexpr std::uint64_t mix(std::uint64_t z)
{
    z += 0x9E3779B97F4A7C15ULL;
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
}

} // namespace

std::int16_t valueFor(float r, std::int16_t strMax)
{
    if (strMax < 1) {
        return 1;
    }
    const double product = static_cast<double>(r) * static_cast<double>(strMax);
    const auto index = static_cast<std::int16_t>(std::floor(product));
    // r < 1 keeps the index below strMax; the guard keeps a caller's r of 1 in range too.
    return static_cast<std::int16_t>(index >= strMax ? strMax : index + 1);
}

float numberFromSeed(std::uint64_t seed)
{
    // The top 24 bits, scaled by 2^-24: exact in single precision and always below 1.
    return static_cast<float>(mix(seed) >> 40) * 0x1p-24F;
}

std::uint64_t nextSeed()
{
    static std::atomic<std::uint64_t> calls{0};
    const auto ticks = std::chrono::steady_clock::now().time_since_epoch().count();
    const std::uint64_t call = calls.fetch_add(1, std::memory_order_relaxed);
    return static_cast<std::uint64_t>(ticks) ^ mix(call);
}

} // namespace RandomChoice

std::int16_t RandomValue(const std::int16_t& strMax)
{
    return RandomChoice::valueFor(RandomChoice::numberFromSeed(RandomChoice::nextSeed()), strMax);
}
