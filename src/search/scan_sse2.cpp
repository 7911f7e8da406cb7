#include "search/scan_kernels.h"

#include "search/sse2.h"

#include <cstdint>

namespace vq {

namespace {

// Loads are of whole aligned 16-byte blocks: a block never straddles a page, so touching the
// bytes of a block that lie outside [begin, end) cannot fault. Those bytes are masked off
// before any decision, and the sanitizer is told not to object to reading them.

inline const char* block_of(const char* p) noexcept {
  return reinterpret_cast<const char*>(reinterpret_cast<std::uintptr_t>(p) &
                                       ~static_cast<std::uintptr_t>(15));
}

// The tests a scan makes of one aligned 16-byte block: lanes of 0xFF where a byte matches.
struct one_byte {
  __m128i v;
  __attribute__((no_sanitize_address)) __m128i operator()(const char* p) const noexcept {
    return _mm_cmpeq_epi8(_mm_load_si128(reinterpret_cast<const __m128i*>(p)), v);
  }
};

struct either_byte {
  __m128i a, b;
  __attribute__((no_sanitize_address)) __m128i operator()(const char* p) const noexcept {
    const __m128i x = _mm_load_si128(reinterpret_cast<const __m128i*>(p));
    return _mm_or_si128(_mm_cmpeq_epi8(x, a), _mm_cmpeq_epi8(x, b));
  }
};

// Bit i set when lane i of c is set.
inline unsigned bits(__m128i c) noexcept { return static_cast<unsigned>(_mm_movemask_epi8(c)); }

inline int highest_bit(unsigned m) noexcept { return 31 - __builtin_clz(m); }

// First byte in [begin, end) that eq matches, or end.
template <class Match>
__attribute__((always_inline, no_sanitize_address)) inline const char* first_match(
    const char* begin, const char* end, Match eq) noexcept {
  if (begin >= end) return end;
  const char* block = block_of(begin);
  const unsigned lead = static_cast<unsigned>(begin - block);
  unsigned m = bits(eq(block)) >> lead << lead;
  if (end - block <= 16) {
    // end is 1..16 bytes past block, so the shift stays below 32.
    m &= (1u << static_cast<unsigned>(end - block)) - 1u;
    return m ? block + __builtin_ctz(m) : end;
  }
  if (m) return block + __builtin_ctz(m);
  block += 16;
  // Eight blocks at a time while there is room: one combined test per 128 bytes; the block
  // with the hit is looked at by the loops below.
  while (end - block >= 128) {
    const __m128i c0 = eq(block), c1 = eq(block + 16);
    const __m128i c2 = eq(block + 32), c3 = eq(block + 48);
    const __m128i c4 = eq(block + 64), c5 = eq(block + 80);
    const __m128i c6 = eq(block + 96), c7 = eq(block + 112);
    const __m128i any = _mm_or_si128(_mm_or_si128(_mm_or_si128(c0, c1), _mm_or_si128(c2, c3)),
                                     _mm_or_si128(_mm_or_si128(c4, c5), _mm_or_si128(c6, c7)));
    if (bits(any)) break;
    block += 128;
  }
  // Four blocks at a time: one test of the combined compare per 64 bytes.
  while (end - block >= 64) {
    const __m128i c0 = eq(block), c1 = eq(block + 16);
    const __m128i c2 = eq(block + 32), c3 = eq(block + 48);
    const __m128i any = _mm_or_si128(_mm_or_si128(c0, c1), _mm_or_si128(c2, c3));
    if (bits(any)) {
      unsigned k = bits(c0);
      if (k) return block + __builtin_ctz(k);
      k = bits(c1);
      if (k) return block + 16 + __builtin_ctz(k);
      k = bits(c2);
      if (k) return block + 32 + __builtin_ctz(k);
      return block + 48 + __builtin_ctz(bits(c3));
    }
    block += 64;
  }
  while (end - block >= 16) {
    m = bits(eq(block));
    if (m) return block + __builtin_ctz(m);
    block += 16;
  }
  if (block == end) return end;
  m = bits(eq(block)) & ((1u << static_cast<unsigned>(end - block)) - 1u);
  return m ? block + __builtin_ctz(m) : end;
}

}  // namespace

__attribute__((no_sanitize_address)) const char* sse2_find_byte(const char* begin,
                                                                const char* end, char b) noexcept {
  return first_match(begin, end, one_byte{_mm_set1_epi8(b)});
}

__attribute__((no_sanitize_address)) const char* sse2_find_either(const char* begin,
                                                                  const char* end, char a,
                                                                  char b) noexcept {
  return first_match(begin, end, either_byte{_mm_set1_epi8(a), _mm_set1_epi8(b)});
}

__attribute__((no_sanitize_address)) const char* sse2_find_byte_last(const char* begin,
                                                                     const char* end,
                                                                     char b) noexcept {
  if (begin >= end) return end;
  const one_byte eq{_mm_set1_epi8(b)};
  const char* block = block_of(end - 1);
  // Keep bits 0..(end - 1 - block); at most 16 of them, so the shift stays below 32.
  unsigned m = bits(eq(block)) & ((2u << static_cast<unsigned>(end - 1 - block)) - 1u);
  if (begin >= block) {
    const unsigned lead = static_cast<unsigned>(begin - block);
    m = m >> lead << lead;
    return m ? block + highest_bit(m) : end;
  }
  if (m) return block + highest_bit(m);
  // Eight blocks at a time while there is room; the block with the hit is looked at below.
  while (block - begin >= 128) {
    const char* const lower = block - 128;
    const __m128i c0 = eq(lower), c1 = eq(lower + 16), c2 = eq(lower + 32), c3 = eq(lower + 48);
    const __m128i c4 = eq(lower + 64), c5 = eq(lower + 80), c6 = eq(lower + 96);
    const __m128i c7 = eq(lower + 112);
    const __m128i any = _mm_or_si128(_mm_or_si128(_mm_or_si128(c0, c1), _mm_or_si128(c2, c3)),
                                     _mm_or_si128(_mm_or_si128(c4, c5), _mm_or_si128(c6, c7)));
    if (bits(any)) break;
    block = lower;
  }
  while (block - begin >= 64) {
    block -= 64;
    const __m128i c0 = eq(block), c1 = eq(block + 16);
    const __m128i c2 = eq(block + 32), c3 = eq(block + 48);
    const __m128i any = _mm_or_si128(_mm_or_si128(c0, c1), _mm_or_si128(c2, c3));
    if (bits(any)) {
      unsigned k = bits(c3);
      if (k) return block + 48 + highest_bit(k);
      k = bits(c2);
      if (k) return block + 32 + highest_bit(k);
      k = bits(c1);
      if (k) return block + 16 + highest_bit(k);
      return block + highest_bit(bits(c0));
    }
  }
  while (block - begin >= 16) {
    block -= 16;
    m = bits(eq(block));
    if (m) return block + highest_bit(m);
  }
  if (block == begin) return end;
  // begin lies inside the block before this one.
  block -= 16;
  const unsigned lead = static_cast<unsigned>(begin - block);
  m = bits(eq(block)) >> lead << lead;
  return m ? block + highest_bit(m) : end;
}

}  // namespace vq

