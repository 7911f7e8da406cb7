// Byte scans over bounded ranges, the inner loop of every text operation.
#pragma once

#include <cstddef>

namespace vq {

// First byte equal to b in [begin, end), or end when there is none.
const char* find_byte(const char* begin, const char* end, char b) noexcept;

// Last byte equal to b in [begin, end), or end when there is none.
const char* find_byte_last(const char* begin, const char* end, char b) noexcept;

}  // namespace vq
