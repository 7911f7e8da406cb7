#include "text/scan_kernels.h"

#ifdef __SSE2__

#include <emmintrin.h>

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

// Bit i set when byte i of the aligned block at p equals the byte in every lane of v.
__attribute__((no_sanitize_address)) inline unsigned hits(const char* p, __m128i v) noexcept {
  const __m128i x = _mm_load_si128(reinterpret_cast<const __m128i*>(p));
  return static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(x, v)));
}

__attribute__((no_sanitize_address)) inline __m128i eq(const char* p, __m128i v) noexcept {
  return _mm_cmpeq_epi8(_mm_load_si128(reinterpret_cast<const __m128i*>(p)), v);
}

inline int highest_bit(unsigned m) noexcept { return 31 - __builtin_clz(m); }

}  // namespace

__attribute__((no_sanitize_address)) const char* sse2_find_byte(const char* begin,
                                                                const char* end, char b) noexcept {
  if (begin >= end) return end;
  const __m128i v = _mm_set1_epi8(b);
  const char* block = block_of(begin);
  const unsigned lead = static_cast<unsigned>(begin - block);
  unsigned m = hits(block, v) >> lead << lead;
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
    const __m128i c0 = eq(block, v), c1 = eq(block + 16, v);
    const __m128i c2 = eq(block + 32, v), c3 = eq(block + 48, v);
    const __m128i c4 = eq(block + 64, v), c5 = eq(block + 80, v);
    const __m128i c6 = eq(block + 96, v), c7 = eq(block + 112, v);
    const __m128i any = _mm_or_si128(_mm_or_si128(_mm_or_si128(c0, c1), _mm_or_si128(c2, c3)),
                                     _mm_or_si128(_mm_or_si128(c4, c5), _mm_or_si128(c6, c7)));
    if (_mm_movemask_epi8(any)) break;
    block += 128;
  }
  // Four blocks at a time: one test of the combined compare per 64 bytes.
  while (end - block >= 64) {
    const __m128i c0 = eq(block, v), c1 = eq(block + 16, v);
    const __m128i c2 = eq(block + 32, v), c3 = eq(block + 48, v);
    const __m128i any = _mm_or_si128(_mm_or_si128(c0, c1), _mm_or_si128(c2, c3));
    if (_mm_movemask_epi8(any)) {
      unsigned k = static_cast<unsigned>(_mm_movemask_epi8(c0));
      if (k) return block + __builtin_ctz(k);
      k = static_cast<unsigned>(_mm_movemask_epi8(c1));
      if (k) return block + 16 + __builtin_ctz(k);
      k = static_cast<unsigned>(_mm_movemask_epi8(c2));
      if (k) return block + 32 + __builtin_ctz(k);
      return block + 48 + __builtin_ctz(static_cast<unsigned>(_mm_movemask_epi8(c3)));
    }
    block += 64;
  }
  while (end - block >= 16) {
    m = hits(block, v);
    if (m) return block + __builtin_ctz(m);
    block += 16;
  }
  if (block == end) return end;
  m = hits(block, v) & ((1u << static_cast<unsigned>(end - block)) - 1u);
  return m ? block + __builtin_ctz(m) : end;
}

__attribute__((no_sanitize_address)) const char* sse2_find_byte_last(const char* begin,
                                                                     const char* end,
                                                                     char b) noexcept {
  if (begin >= end) return end;
  const __m128i v = _mm_set1_epi8(b);
  const char* block = block_of(end - 1);
  // Keep bits 0..(end - 1 - block); at most 16 of them, so the shift stays below 32.
  unsigned m = hits(block, v) & ((2u << static_cast<unsigned>(end - 1 - block)) - 1u);
  if (begin >= block) {
    const unsigned lead = static_cast<unsigned>(begin - block);
    m = m >> lead << lead;
    return m ? block + highest_bit(m) : end;
  }
  if (m) return block + highest_bit(m);
  // Eight blocks at a time while there is room; the block with the hit is looked at below.
  while (block - begin >= 128) {
    const char* const lower = block - 128;
    const __m128i c0 = eq(lower, v), c1 = eq(lower + 16, v), c2 = eq(lower + 32, v), c3 = eq(lower + 48, v);
    const __m128i c4 = eq(lower + 64, v), c5 = eq(lower + 80, v), c6 = eq(lower + 96, v);
    const __m128i c7 = eq(lower + 112, v);
    const __m128i any = _mm_or_si128(_mm_or_si128(_mm_or_si128(c0, c1), _mm_or_si128(c2, c3)),
                                     _mm_or_si128(_mm_or_si128(c4, c5), _mm_or_si128(c6, c7)));
    if (_mm_movemask_epi8(any)) break;
    block = lower;
  }
  while (block - begin >= 64) {
    block -= 64;
    const __m128i c0 = eq(block, v), c1 = eq(block + 16, v);
    const __m128i c2 = eq(block + 32, v), c3 = eq(block + 48, v);
    const __m128i any = _mm_or_si128(_mm_or_si128(c0, c1), _mm_or_si128(c2, c3));
    if (_mm_movemask_epi8(any)) {
      unsigned k = static_cast<unsigned>(_mm_movemask_epi8(c3));
      if (k) return block + 48 + highest_bit(k);
      k = static_cast<unsigned>(_mm_movemask_epi8(c2));
      if (k) return block + 32 + highest_bit(k);
      k = static_cast<unsigned>(_mm_movemask_epi8(c1));
      if (k) return block + 16 + highest_bit(k);
      return block + highest_bit(static_cast<unsigned>(_mm_movemask_epi8(c0)));
    }
  }
  while (block - begin >= 16) {
    block -= 16;
    m = hits(block, v);
    if (m) return block + highest_bit(m);
  }
  if (block == begin) return end;
  // begin lies inside the block before this one.
  block -= 16;
  const unsigned lead = static_cast<unsigned>(begin - block);
  m = hits(block, v) >> lead << lead;
  return m ? block + highest_bit(m) : end;
}

}  // namespace vq

#endif
