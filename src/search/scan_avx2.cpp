#include "search/scan_kernels.h"

#include <immintrin.h>

#include <cstdint>

namespace vq {

namespace {

// The SSE2 scanners' layout with 32-byte blocks. A block aligned to 32 never straddles a page,
// so touching the bytes of a block that lie outside [begin, end) cannot fault; they are masked
// off before any decision, and the sanitizer is told not to object to reading them. Every
// function that holds a 256-bit value carries the AVX2 target (clang refuses to inline AVX2
// intrinsics into anything else); the compiler clears the upper halves with vzeroupper on the
// way out, so SSE2 code running after a scan pays no transition penalty.

inline const char* block_of(const char* p) noexcept {
  return reinterpret_cast<const char*>(reinterpret_cast<std::uintptr_t>(p) &
                                       ~static_cast<std::uintptr_t>(31));
}

// The tests a scan makes of one aligned 32-byte block: lanes of 0xFF where a byte matches.
struct one_byte {
  __m256i v;
  __attribute__((target("avx2"), no_sanitize_address)) __m256i operator()(
      const char* p) const noexcept {
    return _mm256_cmpeq_epi8(_mm256_load_si256(reinterpret_cast<const __m256i*>(p)), v);
  }
};

struct either_byte {
  __m256i a, b;
  __attribute__((target("avx2"), no_sanitize_address)) __m256i operator()(
      const char* p) const noexcept {
    const __m256i x = _mm256_load_si256(reinterpret_cast<const __m256i*>(p));
    return _mm256_or_si256(_mm256_cmpeq_epi8(x, a), _mm256_cmpeq_epi8(x, b));
  }
};

// Bit i set when lane i of c is set.
__attribute__((target("avx2"))) inline std::uint32_t bits(__m256i c) noexcept {
  return static_cast<std::uint32_t>(_mm256_movemask_epi8(c));
}

// Bits 0..count-1, for count 1..32 (a plain 1 << 32 would be undefined).
inline std::uint32_t low_bits(std::ptrdiff_t count) noexcept {
  return ~std::uint32_t{0} >> (32 - count);
}

inline int lowest_bit(std::uint32_t m) noexcept { return __builtin_ctz(m); }
inline int highest_bit(std::uint32_t m) noexcept { return 31 - __builtin_clz(m); }

// First byte in [begin, end) that eq matches, or end.
template <class Match>
__attribute__((target("avx2"), always_inline, no_sanitize_address)) inline const char*
first_match(const char* begin, const char* end, Match eq) noexcept {
  if (begin >= end) return end;
  const char* block = block_of(begin);
  const unsigned lead = static_cast<unsigned>(begin - block);  // 0..31
  std::uint32_t m = bits(eq(block)) >> lead << lead;
  if (end - block <= 32) {
    m &= low_bits(end - block);
    return m ? block + lowest_bit(m) : end;
  }
  if (m) return block + lowest_bit(m);
  block += 32;
  // Four blocks at a time while there is room: one combined test per 128 bytes.
  while (end - block >= 128) {
    const __m256i c0 = eq(block), c1 = eq(block + 32);
    const __m256i c2 = eq(block + 64), c3 = eq(block + 96);
    if (bits(_mm256_or_si256(_mm256_or_si256(c0, c1), _mm256_or_si256(c2, c3)))) {
      if ((m = bits(c0))) return block + lowest_bit(m);
      if ((m = bits(c1))) return block + 32 + lowest_bit(m);
      if ((m = bits(c2))) return block + 64 + lowest_bit(m);
      return block + 96 + lowest_bit(bits(c3));
    }
    block += 128;
  }
  while (end - block >= 32) {
    if ((m = bits(eq(block)))) return block + lowest_bit(m);
    block += 32;
  }
  if (block == end) return end;
  m = bits(eq(block)) & low_bits(end - block);
  return m ? block + lowest_bit(m) : end;
}

}  // namespace

__attribute__((target("avx2"), no_sanitize_address)) const char* avx2_find_byte(
    const char* begin, const char* end, char b) noexcept {
  return first_match(begin, end, one_byte{_mm256_set1_epi8(b)});
}

__attribute__((target("avx2"), no_sanitize_address)) const char* avx2_find_either(
    const char* begin, const char* end, char a, char b) noexcept {
  return first_match(begin, end, either_byte{_mm256_set1_epi8(a), _mm256_set1_epi8(b)});
}

__attribute__((target("avx2"), no_sanitize_address)) const char* avx2_find_byte_last(
    const char* begin, const char* end, char b) noexcept {
  if (begin >= end) return end;
  const one_byte eq{_mm256_set1_epi8(b)};
  const char* block = block_of(end - 1);
  std::uint32_t m = bits(eq(block)) & low_bits(end - block);  // end is 1..32 bytes past block
  if (begin >= block) {
    const unsigned lead = static_cast<unsigned>(begin - block);
    m = m >> lead << lead;
    return m ? block + highest_bit(m) : end;
  }
  if (m) return block + highest_bit(m);
  while (block - begin >= 128) {
    block -= 128;
    const __m256i c0 = eq(block), c1 = eq(block + 32);
    const __m256i c2 = eq(block + 64), c3 = eq(block + 96);
    if (bits(_mm256_or_si256(_mm256_or_si256(c0, c1), _mm256_or_si256(c2, c3)))) {
      if ((m = bits(c3))) return block + 96 + highest_bit(m);
      if ((m = bits(c2))) return block + 64 + highest_bit(m);
      if ((m = bits(c1))) return block + 32 + highest_bit(m);
      return block + highest_bit(bits(c0));
    }
  }
  while (block - begin >= 32) {
    block -= 32;
    if ((m = bits(eq(block)))) return block + highest_bit(m);
  }
  if (block == begin) return end;
  // begin lies inside the block before this one.
  block -= 32;
  const unsigned lead = static_cast<unsigned>(begin - block);
  m = bits(eq(block)) >> lead << lead;
  return m ? block + highest_bit(m) : end;
}

}  // namespace vq

