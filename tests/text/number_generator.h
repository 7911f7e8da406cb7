// Random numeric fields that follow the grammar closely enough to reach the interesting
// corners: the 18-digit cut, halfway ties, 2^31/2^32/2^63, the 16-bit reading, 64-bit radix
// values and exponents that overflow a machine word.
#pragma once

#include <cstdint>
#include <random>
#include <string>

namespace vq::testing {

// One field, usually a well-formed number with some damage, sometimes noise.
std::string random_number_field(std::mt19937_64& rng);

}  // namespace vq::testing
