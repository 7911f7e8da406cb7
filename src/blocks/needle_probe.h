// Which needle bytes a filtered search tests first: the ones least likely to occur in
// ordinary text, so that few hay positions survive to a full comparison.
#pragma once

#include <cstddef>

namespace vq {

// Offsets into the needle of the bytes tested at every candidate start: first and last are
// its ends, rarest the rarest byte between them. A two-byte needle has only two probes: rarest
// is its rarer byte, and first and last are both the other one.
// exact: every needle byte is among the probes (n <= 3), so a fitting probe is a match.
struct needle_probe {
  std::size_t rarest;
  std::size_t first;
  std::size_t last;
  bool exact;
};

// Requires n >= 2. Linear in n; no allocation.
needle_probe choose_probe(const char* needle, std::size_t n) noexcept;

}  // namespace vq
