// Which byte scanners find_byte, find_either and find_byte_last run, and with them the
// candidate loop of the search prefilter. The choice is made once, on the first scan, from
// what the processor and the operating system support, and kept. Internal to the library:
// nothing here is exported.
#pragma once

#include "search/sse2.h"

namespace vq {

// SSE2 code is the baseline, and AVX2 code is compiled beside it for processors that have it.
// That code is built with a per-function target attribute, never with a global flag, so
// nothing outside it uses AVX2 instructions.
enum class scan_path : unsigned char {
  sse2,  // 16-byte blocks: what every build may assume
  avx2,  // 32-byte blocks
};

// The scanners in use now: at first avx2 when the processor has AVX2 and the operating system
// saves the full 256-bit registers on a thread switch, sse2 otherwise.
scan_path scan_path_in_use() noexcept;

}  // namespace vq
