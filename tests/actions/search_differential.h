// The search compared with its plain reference over many generated cases: random texts from
// small alphabets and from bytes such as 0x00, 0x80 and 0xFF, needles cut from them or shaped
// to be periodic, every start on both sides of both ends and the 32-bit extremes, and long
// periodic texts where the fast search hands over to its fallback. Run by the unit tests,
// natively and under Wine.
#pragma once

#include <cstdint>
#include <string>

namespace vq::reference {

struct mismatch {
  std::string source;
  std::string needle;
  int32_t start = 0;
  int32_t got = 0;
  int32_t expected = 0;
};

struct differential_result {
  long compared = 0;
  long failed = 0;
  mismatch first;  // the first failure, if any
};

// Deterministic: its own generator, so every platform sees the same cases.
differential_result run_search_differential();

}  // namespace vq::reference
