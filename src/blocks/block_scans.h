// The byte scanners, written once over a block type B (block_portable.h, block_sse2.h,
// block_avx2.h) and instantiated once per type by scanners_<type>.cpp, which defines
// VQ_BLOCK_TARGET first: the target attribute of B's instruction set, empty for the portable
// block. Every function that touches B's vectors carries it, so B's instructions stay inside
// functions named by B (tools/check-isa); the mask arithmetic is plain integer code.
// Internal linkage: each instantiating file keeps its own copy, compiled for its own target.
#pragma once

#ifndef VQ_BLOCK_TARGET
#error "define VQ_BLOCK_TARGET before including block_scans.h"
#endif

#include <bit>
#include <cstddef>
#include <cstdint>

// For scans that load whole aligned blocks: the bytes of a block outside [begin, end) are
// read but never decide anything, and an aligned block never straddles a page, so the read
// cannot fault; the sanitizer is told not to object.
#define VQ_WHOLE_BLOCKS VQ_BLOCK_TARGET __attribute__((no_sanitize_address))

namespace vq {
namespace {

// Lane arithmetic on masks (see each block type for the layout).
template <class B>
constexpr std::size_t lowest_lane(typename B::mask m) noexcept {
  return static_cast<std::size_t>(std::countr_zero(m)) / B::lane_bits;
}

template <class B>
constexpr std::size_t highest_lane(typename B::mask m) noexcept {
  return static_cast<std::size_t>(std::bit_width(m) - 1) / B::lane_bits;
}

// m without its lanes below k, for k in [0, width).
template <class B>
constexpr typename B::mask from_lane(typename B::mask m, std::size_t k) noexcept {
  const unsigned shift = static_cast<unsigned>(k) * B::lane_bits;
  return m >> shift << shift;
}

// m without its lanes from k up, for k in [1, width]: the shift stays below the mask's width.
template <class B>
constexpr typename B::mask below_lane(typename B::mask m, std::size_t k) noexcept {
  constexpr unsigned mask_bits = sizeof(typename B::mask) * 8;
  return m & (~typename B::mask{0} >> (mask_bits - static_cast<unsigned>(k) * B::lane_bits));
}

template <class B>
constexpr bool lane_set(typename B::mask m, std::size_t k) noexcept {
  constexpr typename B::mask one_lane = B::lane_bits == 1 ? 1 : 0xFF;
  return (m >> (static_cast<unsigned>(k) * B::lane_bits) & one_lane) != 0;
}

template <class B>
inline const char* block_of(const char* p) noexcept {
  return reinterpret_cast<const char*>(reinterpret_cast<std::uintptr_t>(p) &
                                       ~static_cast<std::uintptr_t>(B::width - 1));
}

// The tests a scan makes of one aligned block: lanes flagged where a byte matches.
template <class B>
struct one_byte {
  typename B::vec v;
  VQ_WHOLE_BLOCKS typename B::vec operator()(const char* p) const noexcept {
    return B::eq(B::load(p), v);
  }
};

template <class B>
struct either_byte {
  typename B::vec a, b;
  VQ_WHOLE_BLOCKS typename B::vec operator()(const char* p) const noexcept {
    const typename B::vec x = B::load(p);
    return B::either(B::eq(x, a), B::eq(x, b));
  }
};

// Whether eq flags a byte in any of the eight aligned blocks from p.
template <class B, class Match>
VQ_WHOLE_BLOCKS __attribute__((always_inline)) inline bool any_in_eight(const char* p,
                                                                       Match eq) noexcept {
  constexpr std::size_t w = B::width;
  const auto c0 = eq(p), c1 = eq(p + w), c2 = eq(p + 2 * w), c3 = eq(p + 3 * w);
  const auto c4 = eq(p + 4 * w), c5 = eq(p + 5 * w), c6 = eq(p + 6 * w), c7 = eq(p + 7 * w);
  return B::bits(B::either(B::either(B::either(c0, c1), B::either(c2, c3)),
                           B::either(B::either(c4, c5), B::either(c6, c7)))) != 0;
}

// First byte in [begin, end) that eq flags, or end.
template <class B, class Match>
VQ_WHOLE_BLOCKS __attribute__((always_inline)) inline const char* first_match(
    const char* begin, const char* end, Match eq) noexcept {
  constexpr std::size_t w = B::width;
  if (begin >= end) return end;
  const char* block = block_of<B>(begin);
  auto m = from_lane<B>(B::bits(eq(block)), static_cast<std::size_t>(begin - block));
  if (end - block <= static_cast<std::ptrdiff_t>(w)) {
    m = below_lane<B>(m, static_cast<std::size_t>(end - block));
    return m ? block + lowest_lane<B>(m) : end;
  }
  if (m) return block + lowest_lane<B>(m);
  block += w;
  // Eight blocks at a time while there is room: one combined test for all of them; the group
  // with the hit is looked at by the loops below.
  while (end - block >= static_cast<std::ptrdiff_t>(8 * w) && !any_in_eight<B>(block, eq)) {
    block += 8 * w;
  }
  // Four blocks at a time: one test of the combined compare, then the block with the hit.
  while (end - block >= static_cast<std::ptrdiff_t>(4 * w)) {
    const auto c0 = eq(block), c1 = eq(block + w), c2 = eq(block + 2 * w);
    const auto c3 = eq(block + 3 * w);
    if (B::bits(B::either(B::either(c0, c1), B::either(c2, c3)))) {
      if ((m = B::bits(c0))) return block + lowest_lane<B>(m);
      if ((m = B::bits(c1))) return block + w + lowest_lane<B>(m);
      if ((m = B::bits(c2))) return block + 2 * w + lowest_lane<B>(m);
      return block + 3 * w + lowest_lane<B>(B::bits(c3));
    }
    block += 4 * w;
  }
  while (end - block >= static_cast<std::ptrdiff_t>(w)) {
    if ((m = B::bits(eq(block)))) return block + lowest_lane<B>(m);
    block += w;
  }
  if (block == end) return end;
  m = below_lane<B>(B::bits(eq(block)), static_cast<std::size_t>(end - block));
  return m ? block + lowest_lane<B>(m) : end;
}

// Last byte in [begin, end) that eq flags, or end.
template <class B, class Match>
VQ_WHOLE_BLOCKS __attribute__((always_inline)) inline const char* last_match(
    const char* begin, const char* end, Match eq) noexcept {
  constexpr std::size_t w = B::width;
  if (begin >= end) return end;
  const char* block = block_of<B>(end - 1);
  auto m = below_lane<B>(B::bits(eq(block)), static_cast<std::size_t>(end - block));
  if (begin >= block) {
    m = from_lane<B>(m, static_cast<std::size_t>(begin - block));
    return m ? block + highest_lane<B>(m) : end;
  }
  if (m) return block + highest_lane<B>(m);
  while (block - begin >= static_cast<std::ptrdiff_t>(8 * w) &&
         !any_in_eight<B>(block - 8 * w, eq)) {
    block -= 8 * w;
  }
  while (block - begin >= static_cast<std::ptrdiff_t>(4 * w)) {
    block -= 4 * w;
    const auto c0 = eq(block), c1 = eq(block + w), c2 = eq(block + 2 * w);
    const auto c3 = eq(block + 3 * w);
    if (B::bits(B::either(B::either(c0, c1), B::either(c2, c3)))) {
      if ((m = B::bits(c3))) return block + 3 * w + highest_lane<B>(m);
      if ((m = B::bits(c2))) return block + 2 * w + highest_lane<B>(m);
      if ((m = B::bits(c1))) return block + w + highest_lane<B>(m);
      return block + highest_lane<B>(B::bits(c0));
    }
  }
  while (block - begin >= static_cast<std::ptrdiff_t>(w)) {
    block -= w;
    if ((m = B::bits(eq(block)))) return block + highest_lane<B>(m);
  }
  if (block == begin) return end;
  // begin lies inside the block before this one.
  block -= w;
  m = from_lane<B>(B::bits(eq(block)), static_cast<std::size_t>(begin - block));
  return m ? block + highest_lane<B>(m) : end;
}

template <class B>
VQ_WHOLE_BLOCKS const char* block_find_byte(const char* begin, const char* end,
                                            char b) noexcept {
  return first_match<B>(begin, end, one_byte<B>{B::splat(b)});
}

template <class B>
VQ_WHOLE_BLOCKS const char* block_find_either(const char* begin, const char* end, char a,
                                              char b) noexcept {
  return first_match<B>(begin, end, either_byte<B>{B::splat(a), B::splat(b)});
}

template <class B>
VQ_WHOLE_BLOCKS const char* block_find_byte_last(const char* begin, const char* end,
                                                 char b) noexcept {
  return last_match<B>(begin, end, one_byte<B>{B::splat(b)});
}

// Lanes where a[0, width) and b[0, width) differ.
template <class B>
VQ_BLOCK_TARGET inline typename B::mask differ(const char* a, const char* b) noexcept {
  return B::all_lanes ^ B::bits(B::eq(B::loadu(a), B::loadu(b)));
}

// Number of leading bytes on which a[0, len) and b[0, len) agree.
template <class B>
VQ_BLOCK_TARGET inline std::size_t block_common_prefix(const char* a, const char* b,
                                                       std::size_t len) noexcept {
  constexpr std::size_t w = B::width;
  // Most calls end on the first byte; that one costs no block setup.
  if (len == 0 || a[0] != b[0]) return 0;
  std::size_t i = 0;
  for (; len - i >= w; i += w) {
    const auto d = differ<B>(a + i, b + i);
    if (d != 0) return i + lowest_lane<B>(d);
  }
  while (i < len && a[i] == b[i]) ++i;
  return i;
}

// Number of trailing bytes on which a[0, len) and b[0, len) agree.
template <class B>
VQ_BLOCK_TARGET inline std::size_t block_common_suffix(const char* a, const char* b,
                                                       std::size_t len) noexcept {
  constexpr std::size_t w = B::width;
  if (len == 0 || a[len - 1] != b[len - 1]) return 0;
  std::size_t i = len;  // a[i, len) and b[i, len) agree
  for (; i >= w; i -= w) {
    const auto d = differ<B>(a + i - w, b + i - w);
    if (d != 0) return len - (i - w) - (highest_lane<B>(d) + 1);
  }
  while (i > 0 && a[i - 1] == b[i - 1]) --i;
  return len - i;
}

// Removes every byte below 32 in place, keeping the others in order; returns the new length.
// A block with no control byte moves down whole, a block of control bytes only is dropped
// whole, a mixed one goes byte by byte. Writes never pass the block being read: kept <= i.
template <class B>
VQ_BLOCK_TARGET std::size_t block_strip_control_bytes(char* bytes, std::size_t length) noexcept {
  constexpr std::size_t w = B::width;
  std::size_t kept = 0;
  std::size_t i = 0;
  for (; i + w <= length; i += w) {
    const typename B::vec block = B::loadu(bytes + i);
    const auto control = B::bits(B::control(block));
    if (control == 0) {
      B::storeu(bytes + kept, block);
      kept += w;
    } else if (control != B::all_lanes) {
      alignas(w) char lane[w];
      B::storeu(lane, block);
      for (std::size_t k = 0; k < w; ++k) {
        bytes[kept] = lane[k];
        kept += lane_set<B>(control, k) ? 0 : 1;
      }
    }
  }
  for (; i < length; ++i) {
    const auto c = static_cast<unsigned char>(bytes[i]);
    bytes[kept] = static_cast<char>(c);
    kept += c >= 32;
  }
  return kept;
}

}  // namespace
}  // namespace vq

#undef VQ_WHOLE_BLOCKS
