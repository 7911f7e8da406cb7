// One machine word of bytes, tested with integer arithmetic alone: the block type of the
// scanners that every processor runs, those without SSE2 included. A lane is a byte, and a
// mask flags a lane by setting bits inside that lane's own byte (bit 8 * lane + 7 in the
// masks built here), so lane arithmetic divides bit positions by lane_bits.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace vq {

struct portable_block {
  using vec = std::uintptr_t;
  using mask = std::uintptr_t;
  static constexpr std::size_t width = sizeof(vec);
  static constexpr unsigned lane_bits = 8;
  static constexpr vec low_bytes = ~vec{0} / 0xFF;  // 0x0101...01
  static constexpr mask all_lanes = low_bytes * 0x80;

  // width-aligned: never crosses a page.
  __attribute__((always_inline, no_sanitize_address)) static vec load(const char* p) noexcept {
    vec v;
    std::memcpy(&v, __builtin_assume_aligned(p, width), width);
    return v;
  }
  __attribute__((always_inline)) static vec loadu(const char* p) noexcept {
    vec v;
    std::memcpy(&v, p, width);
    return v;
  }
  __attribute__((always_inline)) static void storeu(char* p, vec v) noexcept {
    std::memcpy(p, &v, width);
  }
  static constexpr vec splat(char c) noexcept { return low_bytes * static_cast<unsigned char>(c); }

  // 0x80 in each byte of v that is zero, 0 in the others. Exact for every lane: no sum carries
  // out of its byte, so a zero byte cannot flag its neighbour, as the shorter borrow trick can.
  static constexpr vec zero_lanes(vec v) noexcept {
    constexpr vec low7 = low_bytes * 0x7F;
    return ~(((v & low7) + low7) | v | low7);
  }
  static constexpr vec eq(vec a, vec b) noexcept { return zero_lanes(a ^ b); }
  static constexpr vec either(vec a, vec b) noexcept { return a | b; }
  static constexpr vec both(vec a, vec b) noexcept { return a & b; }
  // Bytes below 32 are those whose top three bits are all clear.
  static constexpr vec control(vec v) noexcept { return zero_lanes(v & low_bytes * 0xE0); }
  static constexpr mask bits(vec c) noexcept { return c; }
};

}  // namespace vq
