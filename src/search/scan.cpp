#include "search/scan.h"

#include <atomic>

#include "search/scan_kernels.h"
#include "search/scan_switch.h"

#include <cpuid.h>

namespace vq {

namespace {

// AVX2 needs more than the processor's word for it: the operating system must save the upper
// halves of the YMM registers on a thread switch, or another thread's values leak into ours.
// It says so by setting OSXSAVE and, in XCR0, the SSE and AVX state bits. A processor too old
// for leaf 7 has no AVX2; __get_cpuid_max also covers a 32-bit processor without cpuid.
bool processor_runs_avx2() noexcept {
  if (__get_cpuid_max(0, nullptr) < 7) return false;
  unsigned a = 0, b = 0, c = 0, d = 0;
  __cpuid(1, a, b, c, d);
  if ((c & (bit_OSXSAVE | bit_AVX)) != (bit_OSXSAVE | bit_AVX)) return false;
  unsigned xcr0_low = 0, xcr0_high = 0;
  __asm__("xgetbv" : "=a"(xcr0_low), "=d"(xcr0_high) : "c"(0));
  constexpr unsigned sse_and_ymm_state = 0x6;
  if ((xcr0_low & sse_and_ymm_state) != sse_and_ymm_state) return false;
  __cpuid_count(7, 0, a, b, c, d);
  return (b & bit_AVX2) != 0;
}

// Each holds 0 until first needed, then 1 + a scan_path: what the processor supports (asking
// costs a cpuid, slow under a hypervisor, so it is asked once) and the scanners in use. A race
// between threads filling one in is harmless: they all store the same value.
std::atomic<unsigned char> best{0};
std::atomic<unsigned char> chosen{0};

inline unsigned char code(scan_path p) noexcept {
  return static_cast<unsigned char>(1 + static_cast<unsigned char>(p));
}

inline scan_path path(unsigned char c) noexcept { return static_cast<scan_path>(c - 1); }

__attribute__((cold, noinline)) scan_path choose() noexcept {
  const scan_path p = best_scan_path();
  chosen.store(code(p), std::memory_order_relaxed);
  return p;
}

inline scan_path in_use() noexcept {
  const unsigned char c = chosen.load(std::memory_order_relaxed);
  return c == 0 ? choose() : path(c);
}

}  // namespace

scan_path best_scan_path() noexcept {
  unsigned char c = best.load(std::memory_order_relaxed);
  if (c == 0) {
    c = code(processor_runs_avx2() ? scan_path::avx2 : scan_path::sse2);
    best.store(c, std::memory_order_relaxed);
  }
  return path(c);
}

scan_path scan_path_in_use() noexcept { return in_use(); }

bool use_scan_path(scan_path p) noexcept {
  // Two paths: the best one is avx2 exactly when the processor runs it.
  if (p == scan_path::avx2 && best_scan_path() != scan_path::avx2) return false;
  chosen.store(code(p), std::memory_order_relaxed);
  return true;
}

const char* find_byte(const char* begin, const char* end, char b) noexcept {
  if (in_use() == scan_path::avx2) return avx2_find_byte(begin, end, b);
  return sse2_find_byte(begin, end, b);
}

const char* find_either(const char* begin, const char* end, char a, char b) noexcept {
  if (in_use() == scan_path::avx2) return avx2_find_either(begin, end, a, b);
  return sse2_find_either(begin, end, a, b);
}

const char* find_byte_last(const char* begin, const char* end, char b) noexcept {
  if (in_use() == scan_path::avx2) return avx2_find_byte_last(begin, end, b);
  return sse2_find_byte_last(begin, end, b);
}

}  // namespace vq
