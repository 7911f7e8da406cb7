// A slow, independent reading of numeric fields, used as the oracle for parse_number.
#pragma once

#include <cstdint>
#include <string_view>

namespace vq::reference {

// The numeric field rules followed step by step with exact decimal-string arithmetic: the
// decimal value is kept as its digit string and rounded half to even by comparing the dropped
// digits with "5000...". Cost is linear in the field's length; exponents are compared as digit
// strings, so any exponent is fine. Allocates freely; for tests only.
int32_t parse_number(std::string_view field);

}  // namespace vq::reference
