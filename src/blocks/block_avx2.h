// Thirty-two bytes in a YMM register, for processors with AVX2 whose operating system saves
// the full registers (see scan.cpp). Every member carries the AVX2 target, as does every
// scanner built on it; the compiler clears the upper halves (vzeroupper) on the way out, so
// code running after a scan pays no transition penalty. A mask has one bit per lane.
#pragma once

#include <immintrin.h>

#include <cstddef>
#include <cstdint>

#define VQ_AVX2 __attribute__((target("avx2"), always_inline))

namespace vq {

struct avx2_block {
  using vec = __m256i;
  using mask = std::uint32_t;
  static constexpr std::size_t width = 32;
  static constexpr unsigned lane_bits = 1;
  static constexpr mask all_lanes = 0xFFFFFFFF;

  // 32-aligned: never crosses a page.
  VQ_AVX2 __attribute__((no_sanitize_address)) static vec load(const char* p) noexcept {
    return _mm256_load_si256(reinterpret_cast<const __m256i*>(p));
  }
  VQ_AVX2 static vec loadu(const char* p) noexcept {
    return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p));
  }
  VQ_AVX2 static void storeu(char* p, vec v) noexcept {
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(p), v);
  }
  VQ_AVX2 static vec splat(char c) noexcept { return _mm256_set1_epi8(c); }
  VQ_AVX2 static vec eq(vec a, vec b) noexcept { return _mm256_cmpeq_epi8(a, b); }
  VQ_AVX2 static vec either(vec a, vec b) noexcept { return _mm256_or_si256(a, b); }
  VQ_AVX2 static vec both(vec a, vec b) noexcept { return _mm256_and_si256(a, b); }
  VQ_AVX2 static vec control(vec v) noexcept {
    return _mm256_cmpeq_epi8(_mm256_min_epu8(v, _mm256_set1_epi8(31)), v);
  }
  VQ_AVX2 static mask bits(vec c) noexcept { return static_cast<mask>(_mm256_movemask_epi8(c)); }
};

}  // namespace vq

#undef VQ_AVX2
