// Lengths of the equal runs at either end of two byte ranges: the comparison step of every
// substring search, a block at a time (see scanners.h).
#pragma once

#include <cstddef>

namespace vq {

// Number of leading bytes on which a[0, len) and b[0, len) agree: the index of the first
// difference, or len. Reads only inside both ranges.
std::size_t common_prefix(const char* a, const char* b, std::size_t len) noexcept;

// Number of trailing bytes on which a[0, len) and b[0, len) agree.
std::size_t common_suffix(const char* a, const char* b, std::size_t len) noexcept;

}  // namespace vq
