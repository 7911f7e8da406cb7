// Byte scans over bounded ranges, the inner loop of every text operation. They read whole
// aligned blocks (a machine word, 16 bytes with SSE2 or 32 with AVX2, as the processor allows,
// chosen at run time: see scan_path.h), and only blocks that hold at least one byte of [begin, end). A
// block may include bytes just outside the range but never crosses into another page, so a
// caller may scan up to the last byte of a page followed by an unmapped one; the bytes outside
// never affect the result.
#pragma once

#include <cstddef>

namespace vq {

// First byte equal to b in [begin, end), or end when there is none.
const char* find_byte(const char* begin, const char* end, char b) noexcept;

// First byte equal to a or to b in [begin, end), or end when there is none.
const char* find_either(const char* begin, const char* end, char a, char b) noexcept;

// Last byte equal to b in [begin, end), or end when there is none.
const char* find_byte_last(const char* begin, const char* end, char b) noexcept;

}  // namespace vq
