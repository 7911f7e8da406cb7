// The public face of every loop over blocks of bytes: the byte scans, the comparisons, the
// substring prefilter and control-byte stripping. Each runs a block at a time (a machine word,
// 16 bytes with SSE2 or 32 with AVX2, as the processor allows, chosen at run time: see
// scan_path.h), written once over a block type (block_scans.h, block_filter.h).
//
// The scans read whole aligned blocks, and only blocks that hold at least one byte of
// [begin, end). A block may include bytes just outside the range but never crosses into
// another page, so a caller may scan up to the last byte of a page followed by an unmapped
// one; the bytes outside never affect the result.
#pragma once

#include <cstddef>

namespace vq {

// First byte equal to b in [begin, end), or end when there is none.
const char* find_byte(const char* begin, const char* end, char b) noexcept;

// First byte equal to a or to b in [begin, end), or end when there is none.
const char* find_either(const char* begin, const char* end, char a, char b) noexcept;

// Last byte equal to b in [begin, end), or end when there is none.
const char* find_byte_last(const char* begin, const char* end, char b) noexcept;

// Lengths of the equal runs at either end of two byte ranges, the comparison step of every
// substring search. Number of leading bytes on which a[0, len) and b[0, len) agree: the index
// of the first difference, or len. Reads only inside both ranges.
std::size_t common_prefix(const char* a, const char* b, std::size_t len) noexcept;

// Number of trailing bytes on which a[0, len) and b[0, len) agree.
std::size_t common_suffix(const char* a, const char* b, std::size_t len) noexcept;

// Candidate filtering for substring search: a few needle bytes are tested at many hay
// positions at once, and only positions where all of them fit are verified in full. Gives up
// as soon as verification costs more than the scan saves, so that the caller's linear
// fallback bounds the worst case.
//
// Result of a filtered search. When gave_up is false, index is the answer: a match start or
// not_found. When gave_up is true the filter stopped early and index says where the answer
// still lies: forward, among starts >= index; backward, among starts < index.
struct filter_outcome {
  std::size_t index;
  bool gave_up;
};

// Leftmost start of needle[0, n) in hay[0, h). Requires 2 <= n <= h.
// Work before giving up is linear in h + n; reads only inside both texts.
filter_outcome filter_first(const char* hay, std::size_t h, const char* needle,
                            std::size_t n) noexcept;

// Rightmost start of needle[0, n) in hay[0, h). Requires 2 <= n <= h.
filter_outcome filter_last(const char* hay, std::size_t h, const char* needle,
                           std::size_t n) noexcept;

// Control-byte stripping, the file read action's "ALL" mode: removes every byte below 32 in
// place, keeping the others in order; returns the new length. bytes may be null when length
// is 0.
std::size_t strip_control_bytes(char* bytes, std::size_t length) noexcept;

}  // namespace vq
