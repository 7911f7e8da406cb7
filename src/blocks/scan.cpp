#include "blocks/scan.h"

#include <cpuid.h>

#include <atomic>

#include "blocks/scan_switch.h"
#include "blocks/scanners.h"

namespace vq {

namespace {

// XCR0's low word: which register state the operating system saves. XGETBV is an invalid
// instruction unless CPUID leaf 1 reports OSXSAVE; it stands alone, out of line, so that it
// can be seen to stand nowhere else (tools/check-isa allows it only in an xsave_ function).
// volatile: the compiler may not hoist it out of its caller's OSXSAVE test.
__attribute__((noinline)) unsigned xsave_xcr0() noexcept {
  unsigned low = 0, high = 0;
  __asm__ volatile("xgetbv" : "=a"(low), "=d"(high) : "c"(0));
  return low;
}

// Asks the processor (CPUID) and, for AVX2, the operating system (XGETBV, only where leaf 1
// reports OSXSAVE). __get_cpuid_max also covers a 32-bit processor without CPUID.
processor_report read_processor() noexcept {
  processor_report r{};
  r.max_leaf = __get_cpuid_max(0, nullptr);
  if (r.max_leaf < 1) return r;
  unsigned a = 0, b = 0;
  __cpuid(1, a, b, r.leaf1_ecx, r.leaf1_edx);
  if (r.max_leaf >= 7) {
    unsigned c = 0, d = 0;
    __cpuid_count(7, 0, a, r.leaf7_ebx, c, d);
  }
  if (r.leaf1_ecx & bit_OSXSAVE) r.xcr0_low = xsave_xcr0();
  return r;
}

const scanners* table_of(scan_path p) noexcept {
  switch (p) {
    case scan_path::avx2: return &avx2_scanners;
    case scan_path::sse2: return &sse2_scanners;
    case scan_path::portable: break;
  }
  return &portable_scanners;
}

// Each holds nullptr until first needed: what the processor supports (asking costs a cpuid,
// slow under a hypervisor, so it is asked once) and the scanners in use. A race between
// threads filling one in is harmless: they all store the same value.
std::atomic<unsigned char> best{0};  // 0, or 1 + the best scan_path
std::atomic<const scanners*> chosen{nullptr};

__attribute__((cold, noinline)) const scanners& choose() noexcept {
  const scanners* t = table_of(best_scan_path());
  chosen.store(t, std::memory_order_relaxed);
  return *t;
}

}  // namespace

scan_path scan_path_for(const processor_report& r) noexcept {
  if (r.max_leaf < 1 || !(r.leaf1_edx & bit_SSE2)) return scan_path::portable;
  // AVX2 needs more than the processor's word for it: the operating system must save the
  // upper halves of the YMM registers on a thread switch, or another thread's values leak
  // into ours. It says so by setting OSXSAVE and, in XCR0, the SSE and AVX state bits.
  // Every system the library runs on saves the XMM registers where the processor has SSE2.
  constexpr unsigned sse_and_ymm_state = 0x6;
  const bool avx2 = r.max_leaf >= 7 &&
                    (r.leaf1_ecx & (bit_OSXSAVE | bit_AVX)) == (bit_OSXSAVE | bit_AVX) &&
                    (r.xcr0_low & sse_and_ymm_state) == sse_and_ymm_state &&
                    (r.leaf7_ebx & bit_AVX2) != 0;
  return avx2 ? scan_path::avx2 : scan_path::sse2;
}

scan_path best_scan_path() noexcept {
  unsigned char c = best.load(std::memory_order_relaxed);
  if (c == 0) {
    c = static_cast<unsigned char>(1 + static_cast<unsigned>(scan_path_for(read_processor())));
    best.store(c, std::memory_order_relaxed);
  }
  return static_cast<scan_path>(c - 1);
}

const scanners& scanners_in_use() noexcept {
  const scanners* t = chosen.load(std::memory_order_relaxed);
  return t ? *t : choose();
}

scan_path scan_path_in_use() noexcept {
  const scanners& t = scanners_in_use();
  return &t == &avx2_scanners ? scan_path::avx2
         : &t == &sse2_scanners ? scan_path::sse2
                                : scan_path::portable;
}

bool use_scan_path(scan_path p) noexcept {
  // The paths are ordered: a processor runs every path up to its best one.
  if (p > best_scan_path()) return false;
  chosen.store(table_of(p), std::memory_order_relaxed);
  return true;
}

const char* find_byte(const char* begin, const char* end, char b) noexcept {
  return scanners_in_use().find_byte(begin, end, b);
}

const char* find_either(const char* begin, const char* end, char a, char b) noexcept {
  return scanners_in_use().find_either(begin, end, a, b);
}

const char* find_byte_last(const char* begin, const char* end, char b) noexcept {
  return scanners_in_use().find_byte_last(begin, end, b);
}

std::size_t common_prefix(const char* a, const char* b, std::size_t len) noexcept {
  return scanners_in_use().common_prefix(a, b, len);
}

std::size_t common_suffix(const char* a, const char* b, std::size_t len) noexcept {
  return scanners_in_use().common_suffix(a, b, len);
}

filter_outcome filter_first(const char* hay, std::size_t h, const char* needle,
                            std::size_t n) noexcept {
  return scanners_in_use().filter_first(hay, h, needle, n);
}

filter_outcome filter_last(const char* hay, std::size_t h, const char* needle,
                           std::size_t n) noexcept {
  return scanners_in_use().filter_last(hay, h, needle, n);
}

std::size_t strip_control_bytes(char* bytes, std::size_t length) noexcept {
  return scanners_in_use().strip_control_bytes(bytes, length);
}

}  // namespace vq
