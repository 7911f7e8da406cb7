#include "text/number.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <utility>

// Integer arithmetic only: a field's exact value is an unsigned 64-bit mantissa of at most 18
// decimal digits (below 10^18 < 2^63) times a power of ten, and rounding it to an integer
// needs one division by a power of ten at most. No floating point, so no double rounding and
// no dependence on the x87 precision mode the host may have set.

namespace vq {
namespace {

using u64 = std::uint64_t;
using i64 = std::int64_t;

constexpr int max_kept_digits = 18;
constexpr u64 two_to_63 = u64{1} << 63;

// Saturation bounds for the decimal exponent. A count of bytes (digits beyond the 18th, zeros
// and digits after the point) is clamped to byte_count_cap, which no field held in memory can
// reach; the exponent's own value is clamped to exponent_cap, which is larger still. So a
// clamped exponent always dominates the counts, its sign survives, and the sum stays far
// inside 64 bits.
constexpr i64 byte_count_cap = i64{1} << 58;
constexpr u64 exponent_cap = u64{1} << 60;  // 10 * cap + 9 still fits in 64 bits

constexpr auto power_of_ten = [] {
  std::array<u64, max_kept_digits + 1> t{};
  u64 p = 1;
  for (u64& entry : t) entry = std::exchange(p, p * 10);
  return t;
}();

// Largest m for which m * 10^k stays below 2^63; checked without a division on the hot path.
constexpr auto max_scalable = [] {
  std::array<u64, max_kept_digits + 1> t{};
  for (std::size_t k = 0; k < t.size(); ++k) t[k] = (two_to_63 - 1) / power_of_ten[k];
  return t;
}();

// Below 10 exactly for "0" to "9"; every other byte wraps to a large value.
inline unsigned decimal_digit(char c) noexcept { return static_cast<unsigned char>(c) - 48u; }

inline u64 load8(const char* p) noexcept {
  u64 w;
  std::memcpy(&w, p, sizeof w);
  return w;
}

// True when all eight bytes of w are "0" to "9": each high nibble must be 3, and adding 6 must
// not carry a ":" to "?" into the next nibble. A carry out of a byte only happens from a byte
// of 0xFA or more, which already fails on its own high nibble.
inline bool eight_digits(u64 w) noexcept {
  constexpr u64 high = 0xF0F0F0F0F0F0F0F0ULL;
  return ((w & high) | (((w + 0x0606060606060606ULL) & high) >> 4)) == 0x3333333333333333ULL;
}

// Value of eight digit bytes, the first byte most significant: pairs, then quads, then all.
inline u64 eight_digits_value(u64 w) noexcept {
  static_assert(std::endian::native == std::endian::little, "digit lanes assume little-endian");
  w -= 0x3030303030303030ULL;
  w = ((w * 10) + (w >> 8)) & 0x00FF00FF00FF00FFULL;               // 4 x 16-bit: d0d1 ...
  w = ((w * (1 + (100ULL << 16))) >> 16) & 0x0000FFFF0000FFFFULL;  // 2 x 32-bit: d0..d3 ...
  return (w * (1 + (10000ULL << 32))) >> 32;                       // d0..d7
}

// The scanners below are inline on purpose: a short field is mostly call overhead.

// First byte at or after p that is not a decimal digit (or end).
inline const char* skip_digits(const char* p, const char* end) noexcept {
  while (end - p >= 8 && eight_digits(load8(p))) p += 8;
  while (p != end && decimal_digit(*p) < 10) ++p;
  return p;
}

// First byte at or after p that is not "0" (or end).
inline const char* skip_zeros(const char* p, const char* end) noexcept {
  while (end - p >= 8 && load8(p) == 0x3030303030303030ULL) p += 8;
  while (p != end && *p == '0') ++p;
  return p;
}

// 0x80 in every byte of w that is not zero, 0 elsewhere; exact (no borrow between bytes).
inline u64 nonzero_bytes(u64 w) noexcept {
  constexpr u64 low7 = 0x7F7F7F7F7F7F7F7FULL;
  return (((w & low7) + low7) | w) & ~low7;
}

// First byte at or after p that is not a blank, tab or line feed (or end). A carriage return
// is deliberately not skipped: "\r5" is 0.
inline const char* skip_blanks(const char* p, const char* end) noexcept {
  constexpr u64 ones = 0x0101010101010101ULL;
  while (end - p >= 8) {
    const u64 w = load8(p);
    if (nonzero_bytes(w ^ (ones * ' ')) & nonzero_bytes(w ^ (ones * '\t')) &
        nonzero_bytes(w ^ (ones * '\n')))
      break;
    p += 8;
  }
  while (p != end && (*p == ' ' || *p == '\t' || *p == '\n')) ++p;
  return p;
}

// Appends at most limit digits from p to m; returns where reading stopped.
inline const char* read_digits(const char* p, const char* end, int limit, u64& m) noexcept {
  while (limit >= 8 && end - p >= 8) {
    const u64 w = load8(p);
    if (!eight_digits(w)) break;
    m = m * 100000000 + eight_digits_value(w);
    p += 8;
    limit -= 8;
  }
  const char* stop = p + std::min<std::ptrdiff_t>(limit, end - p);
  for (unsigned d; p != stop && (d = decimal_digit(*p)) < 10; ++p) m = m * 10 + d;
  return p;
}

inline i64 clamp_count(std::ptrdiff_t n) noexcept { return std::min<i64>(n, byte_count_cap); }

// Low 32 bits of the integer nearest to +-m * 10^exp10 (1 <= m < 10^18), ties to even; 0 when
// that integer is 2^63 or more in magnitude.
int32_t round_and_wrap(u64 m, i64 exp10, bool negative) noexcept {
  u64 magnitude;
  if (exp10 >= 0) {
    // With m >= 1, exp10 >= 19 is at least 10^19. Otherwise the product reaches 2^63 or more
    // exactly when m exceeds the table's bound. +2^63 is out of range; -2^63 is in range but its
    // low 32 bits are 0 all the same, so one test serves both signs.
    if (exp10 > max_kept_digits || m > max_scalable[static_cast<std::size_t>(exp10)]) return 0;
    magnitude = m * power_of_ten[static_cast<std::size_t>(exp10)];
  } else {
    // m < 10^18, so below 10^-18 the value is under 0.1 and rounds to 0.
    if (exp10 < -max_kept_digits) return 0;
    const u64 divisor = power_of_ten[static_cast<std::size_t>(-exp10)];
    magnitude = m / divisor;
    const u64 twice_rest = (m % divisor) * 2;  // < 2 * 10^18, no overflow
    // Round half to even: up when past the half, or exactly at it with an odd quotient.
    magnitude += (twice_rest > divisor) | ((twice_rest == divisor) & (magnitude & 1));
  }
  // Wrap modulo 2^32: negate in unsigned arithmetic so -2^31 needs no special case.
  const auto low = static_cast<std::uint32_t>(magnitude);
  return static_cast<int32_t>(negative ? 0u - low : low);
}

// Decimal form, from the optional sign on.
int32_t parse_decimal(const char* p, const char* end) noexcept {
  bool negative = false;
  if (p != end && (*p == '+' || *p == '-')) negative = *p++ == '-';

  // Leading zeros are not significant digits; after them m == 0 until a digit 1-9 is read.
  p = skip_zeros(p, end);
  u64 m = 0;
  const char* kept_from = p;
  p = read_digits(p, end, max_kept_digits, m);
  int kept = static_cast<int>(p - kept_from);
  // Integer digits beyond the 18th read as zeros: each one still multiplies by ten.
  const char* beyond = p;
  p = skip_digits(p, end);
  i64 exp10 = clamp_count(p - beyond);

  if (p != end && *p == '.') {
    const char* fraction = ++p;
    if (m == 0) p = skip_zeros(p, end);  // zeros right after the point only scale
    p = read_digits(p, end, max_kept_digits - kept, m);
    exp10 -= clamp_count(p - fraction);
    p = skip_digits(p, end);  // fraction digits beyond the 18th add nothing
  }
  if (m == 0) return 0;  // covers "no digit at all", whatever follows

  if (p != end && ((*p | 0x20) == 'e' || (*p | 0x20) == 'd')) {
    ++p;
    bool exponent_negative = false;
    if (p != end && (*p == '+' || *p == '-')) exponent_negative = *p++ == '-';
    p = skip_zeros(p, end);
    // Digits after saturation cannot change the result, and nothing follows the exponent.
    u64 e = 0;
    for (unsigned d; e < exponent_cap && p != end && (d = decimal_digit(*p)) < 10; ++p)
      e = e * 10 + d;
    const i64 clamped = static_cast<i64>(std::min(e, exponent_cap));
    exp10 += exponent_negative ? -clamped : clamped;
  }
  return round_and_wrap(m, exp10, negative);
}

// Digit value of each byte for the radix form ("0"-"9", "A"-"F", "a"-"f"), else 0xFF.
constexpr auto radix_digit_value = [] {
  std::array<unsigned char, 256> t{};
  t.fill(0xFF);
  for (unsigned char c = 0; c < 16; ++c) {
    t[c < 10 ? '0' + c : 'A' + c - 10] = c;
    t[c < 10 ? '0' + c : 'a' + c - 10] = c;
  }
  return t;
}();

// Radix form, from the byte after "&".
int32_t parse_radix(const char* p, const char* end) noexcept {
  unsigned bits = 3;  // bare "&": octal, and the byte after it is already a digit
  if (p != end) {
    const char letter = static_cast<char>(*p | 0x20);
    if (letter == 'h') {
      bits = 4;
      ++p;
    } else if (letter == 'o' || letter == 'q') {
      ++p;
    } else if (letter == 'b') {
      bits = 1;
      ++p;
    }
  }
  const unsigned base = 1u << bits;
  const bool leading_zero = p != end && *p == '0';
  p = skip_zeros(p, end);

  // Every base is a power of two, so "needs more than 64 bits" is "top bits occupied before
  // the shift". Leading zeros never trip it.
  u64 v = 0;
  for (unsigned d; p != end && (d = radix_digit_value[static_cast<unsigned char>(*p)]) < base;
       ++p) {
    if (v >> (64 - bits)) return 0;
    v = (v << bits) | d;
  }

  // Only the first suffix byte matters: "%" (or none) keeps the 16-bit reading below, "&" and
  // "?" drop it. The 2^63 limit of "?" is the general one.
  const char suffix = p != end ? *p : '\0';
  const bool sixteen_bit = suffix != '&' && suffix != '?' && !leading_zero;
  // 0x8000-0xFFFF written without a leading zero is a 16-bit signed number: &HFFFF is -1.
  if (sixteen_bit && v >= 0x8000 && v <= 0xFFFF) return static_cast<int32_t>(v) - 65536;
  return v >= two_to_63 ? 0 : static_cast<int32_t>(static_cast<std::uint32_t>(v));
}

}  // namespace

int32_t parse_number(std::string_view field) noexcept {
  const char* p = field.data();
  const char* end = p + field.size();
  p = skip_blanks(p, end);
  if (p != end && *p == '&') return parse_radix(p + 1, end);
  return parse_decimal(p, end);
}

std::size_t format_number(int32_t value, char* out) noexcept {
  // Take the magnitude in unsigned arithmetic so that -2^31 has one.
  std::uint32_t magnitude = static_cast<std::uint32_t>(value);
  if (value < 0) magnitude = 0u - magnitude;
  char digits[10];  // 4294967295 at most
  char* first = digits + sizeof digits;
  do {
    *--first = static_cast<char>('0' + magnitude % 10);
    magnitude /= 10;
  } while (magnitude != 0);
  const auto count = static_cast<std::size_t>(digits + sizeof digits - first);
  out[0] = value < 0 ? '-' : ' ';
  std::memcpy(out + 1, first, count);
  return count + 1;
}

}  // namespace vq
