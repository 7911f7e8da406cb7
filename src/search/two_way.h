// Crochemore–Perrin two-way substring search: worst case linear in hay + needle, constant
// extra space, in both directions. The fallback of the filtered search in find.cpp.
#pragma once

#include <cstddef>

#include "blocks/not_found.h"

namespace vq {

// 0-based start of the leftmost occurrence of needle[0, n) in hay[0, h), or not_found.
// Requires 1 <= n <= h. At most about 2h + 2n byte comparisons; no allocation, no copy.
std::size_t two_way_first(const char* hay, std::size_t h, const char* needle,
                          std::size_t n) noexcept;

// 0-based start of the rightmost occurrence of needle[0, n) in hay[0, h), or not_found.
// Requires 1 <= n <= h. The same algorithm run on both texts read back to front, through
// index mapping rather than a reversed copy.
std::size_t two_way_last(const char* hay, std::size_t h, const char* needle,
                         std::size_t n) noexcept;

}  // namespace vq
