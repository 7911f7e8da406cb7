// Which byte scanners find_byte and find_byte_last run, and with them the candidate loop of
// the search prefilter. The choice is made once, on the first
// scan, from what the processor and the operating system support, and kept; tests and
// benchmarks may switch to another one to run the same cases through each. Internal to the
// library: nothing here is exported.
#pragma once

// x86 with SSE2 assumed (every 64-bit build, and the 32-bit DLL through -msse2): SSE2 code is
// the baseline, and AVX2 code is compiled beside it for processors that have it. That code is
// built with a per-function target attribute, never with a global flag, so nothing outside it
// uses AVX2 instructions.
#if defined(__SSE2__) && (defined(__x86_64__) || defined(__i386__))
#define VQ_SCAN_AVX2 1
#else
#define VQ_SCAN_AVX2 0
#endif

namespace vq {

enum class scan_path : unsigned char {
  sse2,  // 16-byte blocks: what every build may assume (plain byte loops where there is no SSE2)
  avx2,  // 32-byte blocks
};

// The scanners the first scan picks: avx2 when the processor has AVX2 and the operating system
// saves the full 256-bit registers on a thread switch, sse2 otherwise.
scan_path best_scan_path() noexcept;

// The scanners in use now.
scan_path scan_path_in_use() noexcept;

// Makes p the scanners in use, for every thread; false, with nothing changed, when this
// processor or this build cannot run them. A scan already under way finishes with the ones it
// started with.
bool use_scan_path(scan_path p) noexcept;

}  // namespace vq
