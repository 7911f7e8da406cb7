// Sixteen bytes in an XMM register. Every member carries the SSE2 target, so the build
// assumes nothing of the processor: only scanners picked after a check for SSE2 run these.
// A mask has one bit per lane.
#pragma once

#include <emmintrin.h>

#include <cstddef>
#include <cstdint>

#define VQ_SSE2 __attribute__((target("sse2"), always_inline))

namespace vq {

struct sse2_block {
  using vec = __m128i;
  using mask = std::uint32_t;
  static constexpr std::size_t width = 16;
  static constexpr unsigned lane_bits = 1;
  static constexpr mask all_lanes = 0xFFFF;

  // 16-aligned: never crosses a page.
  VQ_SSE2 __attribute__((no_sanitize_address)) static vec load(const char* p) noexcept {
    return _mm_load_si128(reinterpret_cast<const __m128i*>(p));
  }
  VQ_SSE2 static vec loadu(const char* p) noexcept {
    return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
  }
  VQ_SSE2 static void storeu(char* p, vec v) noexcept {
    _mm_storeu_si128(reinterpret_cast<__m128i*>(p), v);
  }
  VQ_SSE2 static vec splat(char c) noexcept { return _mm_set1_epi8(c); }
  VQ_SSE2 static vec eq(vec a, vec b) noexcept { return _mm_cmpeq_epi8(a, b); }
  VQ_SSE2 static vec either(vec a, vec b) noexcept { return _mm_or_si128(a, b); }
  VQ_SSE2 static vec both(vec a, vec b) noexcept { return _mm_and_si128(a, b); }
  // Unsigned: a byte is below 32 exactly when min(byte, 31) is the byte itself.
  VQ_SSE2 static vec control(vec v) noexcept {
    return _mm_cmpeq_epi8(_mm_min_epu8(v, _mm_set1_epi8(31)), v);
  }
  VQ_SSE2 static mask bits(vec c) noexcept { return static_cast<mask>(_mm_movemask_epi8(c)); }
};

}  // namespace vq

#undef VQ_SSE2
