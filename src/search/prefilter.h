// Candidate filtering for substring search: a few needle bytes are tested at many hay
// positions at once, and only positions where all of them fit are verified in full. Gives up
// as soon as verification costs more than the scan saves, so that the caller's linear
// fallback bounds the worst case.
#pragma once

#include <cstddef>

namespace vq {

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

}  // namespace vq
