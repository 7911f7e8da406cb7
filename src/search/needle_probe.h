// Which needle bytes a filtered search tests first: the ones least likely to occur in
// ordinary text, so that few hay positions survive to a full comparison.
#pragma once

#include <cstddef>

namespace vq {

// Offsets into the needle of the bytes tested at every candidate start: b and c are the first
// and last, a the rarest of those between; a two-byte needle has only a and b, with c == b.
// exact: every needle byte is among the probes (n <= 3), so a fitting probe is a match.
struct needle_probe {
  std::size_t a;
  std::size_t b;
  std::size_t c;
  bool exact;
};

// Requires n >= 2. Linear in n; no allocation.
needle_probe choose_probe(const char* needle, std::size_t n) noexcept;

}  // namespace vq
