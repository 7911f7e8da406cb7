// Byte scans over bounded ranges, the inner loop of every text operation. With SSE2 they read
// whole aligned 16-byte blocks, which may include bytes just outside [begin, end) but never
// cross into another page; such bytes never affect the result.
#pragma once

#include <cstddef>

namespace vq {

// First byte equal to b in [begin, end), or end when there is none.
const char* find_byte(const char* begin, const char* end, char b) noexcept;

// Last byte equal to b in [begin, end), or end when there is none.
const char* find_byte_last(const char* begin, const char* end, char b) noexcept;

}  // namespace vq
