// A deliberately plain position search, written straight from the action's definition:
// scan for one end byte of the needle, then compare the rest. Quadratic in the worst case;
// the oracle for tests and the fuzz target, never for production.
#pragma once

#include <cstdint>
#include <string_view>

namespace vq::reference {

// Same contract as vq::position_search.
int32_t position_search(std::string_view source, std::string_view needle, int32_t start) noexcept;

}  // namespace vq::reference
