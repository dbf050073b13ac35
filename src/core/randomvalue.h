#pragma once

#include <cstdint>

// The random face's choice of a style: a value from 1 to strMax, each equally likely.
// The generator is seeded afresh from a high-resolution clock at every call, mixed with a
// call counter, so two calls in the same clock tick still draw independently.
std::int16_t RandomValue(const std::int16_t& strMax);

namespace RandomChoice {

// The mapping from a number 0 <= r < 1 to a style value: floor(r * strMax) + 1, which is
// 1 to strMax for strMax >= 1, and 1 for every strMax below 1. The product is taken in
// double, so it is exact.
std::int16_t valueFor(float r, std::int16_t strMax);

// One number 0 <= r < 1 in single precision, from a generator seeded with seed. All 2^24
// possible results are multiples of 2^-24, the largest 1 - 2^-24.
float numberFromSeed(std::uint64_t seed);

// The seed of the next call: the clock mixed with a counter that no two calls share.
std::uint64_t nextSeed();

} // namespace RandomChoice
