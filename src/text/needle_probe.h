// Which needle bytes a filtered search tests first: the ones least likely to occur in
// ordinary text, so that few hay positions survive to a full comparison.
#pragma once

#include <cstddef>

namespace vq {

// Offsets into the needle of the bytes tested at every candidate start. a is the rarest;
// b is the rarest among the others with a different value, if any. c equals b except for
// three-byte needles, where a, b and c are the three offsets. exact: every needle byte is
// among the probes (n <= 3), so a fitting probe is a match.
struct needle_probe {
  std::size_t a;
  std::size_t b;
  std::size_t c;
  bool exact;
};

// Requires n >= 2. Linear in n; no allocation.
needle_probe choose_probe(const char* needle, std::size_t n) noexcept;

}  // namespace vq
