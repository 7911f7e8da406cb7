#include "search/compare.h"

#include "search/sse2.h"

namespace vq {

namespace {

// Bit i set where byte i of a[0, 16) differs from byte i of b[0, 16).
inline unsigned differ16(const char* a, const char* b) noexcept {
  const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(a));
  const __m128i y = _mm_loadu_si128(reinterpret_cast<const __m128i*>(b));
  return static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(x, y))) ^ 0xFFFFu;
}

}  // namespace

std::size_t common_prefix(const char* a, const char* b, std::size_t len) noexcept {
  std::size_t i = 0;
  // Most calls end on the first byte; that one costs no vector setup.
  if (len == 0 || a[0] != b[0]) return 0;
  for (; len - i >= 16; i += 16) {
    const unsigned d = differ16(a + i, b + i);
    if (d != 0) return i + static_cast<std::size_t>(__builtin_ctz(d));
  }
  while (i < len && a[i] == b[i]) ++i;
  return i;
}

std::size_t common_suffix(const char* a, const char* b, std::size_t len) noexcept {
  std::size_t i = len;  // a[i, len) and b[i, len) agree
  if (len == 0 || a[len - 1] != b[len - 1]) return 0;
  for (; i >= 16; i -= 16) {
    const unsigned d = differ16(a + i - 16, b + i - 16);
    if (d != 0) return len - (i - 16) - static_cast<std::size_t>(32 - __builtin_clz(d));
  }
  while (i > 0 && a[i - 1] == b[i - 1]) --i;
  return len - i;
}

}  // namespace vq
