#pragma once

#include <cstdint>

// The random face's choice of a style: a value from 1 to strMax, each equally likely, drawn
// from Qt's system-seeded generator; 1 for every strMax below 1.
std::int16_t RandomValue(const std::int16_t& strMax);
