#include "text/prefilter.h"

#include <cstdint>

#include "text/find.h"
#include "text/needle_probe.h"
#include "text/scan.h"

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace vq {

namespace {

// Bytes compared while verifying candidates that turned out not to match, against the
// distance covered. Each failed candidate also pays a fixed overhead, so a flood of cheap
// false positives gives up too. 64-bit so that the product cannot wrap on a 32-bit build.
class budget {
 public:
  // Records a failed verification that matched `matched` bytes, `progress` bytes into the
  // scan; true when the filter should hand over to the linear fallback.
  bool exhausted(std::size_t matched, std::size_t progress) noexcept {
    spent_ += matched + per_candidate;
    return spent_ > allowance + ratio * static_cast<std::uint64_t>(progress);
  }

 private:
  static constexpr std::uint64_t per_candidate = 32;
  static constexpr std::uint64_t allowance = 4096;
  static constexpr std::uint64_t ratio = 8;
  std::uint64_t spent_ = 0;
};

// Whether the probe bytes fit at start j (the scalar form of the block test).
inline bool probe_fits(const char* hay, std::size_t j, const char* needle,
                       const needle_probe& pr) noexcept {
  return hay[j + pr.a] == needle[pr.a] && hay[j + pr.b] == needle[pr.b] &&
         hay[j + pr.c] == needle[pr.c];
}

#ifdef __SSE2__

// Bit i set when every probe byte fits at start p + i. Loads are unaligned and in bounds:
// the caller only asks for starts whose whole needle lies inside the hay.
inline unsigned block_fits(const char* p, const needle_probe& pr, __m128i va, __m128i vb,
                           __m128i vc) noexcept {
  const auto load = [p](std::size_t off) {
    return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + off));
  };
  __m128i m = _mm_and_si128(_mm_cmpeq_epi8(load(pr.a), va), _mm_cmpeq_epi8(load(pr.b), vb));
  if (pr.c != pr.b) m = _mm_and_si128(m, _mm_cmpeq_epi8(load(pr.c), vc));
  return static_cast<unsigned>(_mm_movemask_epi8(m));
}

inline int highest_bit(unsigned m) noexcept { return 31 - __builtin_clz(m); }

#endif

// Number of leading bytes on which a[0, n) and b[0, n) agree.
std::size_t match_length(const char* a, const char* b, std::size_t n) noexcept {
  std::size_t i = 0;
#ifdef __SSE2__
  for (; n - i >= 16; i += 16) {
    const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(a + i));
    const __m128i y = _mm_loadu_si128(reinterpret_cast<const __m128i*>(b + i));
    const unsigned diff = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(x, y))) ^ 0xFFFFu;
    if (diff != 0) return i + static_cast<std::size_t>(__builtin_ctz(diff));
  }
#endif
  while (i < n && a[i] == b[i]) ++i;
  return i;
}

// Verdict on one candidate: 1 match, 0 keep going, -1 give up.
inline int verdict(const char* hay, std::size_t cand, const char* needle, std::size_t n,
                   const needle_probe& pr, budget& spent, std::size_t progress) noexcept {
  if (pr.exact) return 1;
  const std::size_t len = match_length(hay + cand, needle, n);
  if (len == n) return 1;
  return spent.exhausted(len, progress) ? -1 : 0;
}

}  // namespace

filter_outcome filter_first(const char* hay, std::size_t h, const char* needle,
                            std::size_t n) noexcept {
  const needle_probe pr = choose_probe(needle, n);
  const std::size_t last = h - n;
  budget spent;
  std::size_t j = 0;
#ifdef __SSE2__
  const __m128i va = _mm_set1_epi8(needle[pr.a]);
  const __m128i vb = _mm_set1_epi8(needle[pr.b]);
  const __m128i vc = _mm_set1_epi8(needle[pr.c]);
  for (; j + 31 <= last; j += 32) {
    const unsigned lo = block_fits(hay + j, pr, va, vb, vc);
    const unsigned hi = block_fits(hay + j + 16, pr, va, vb, vc);
    for (unsigned m = lo | hi << 16; m != 0; m &= m - 1) {
      const std::size_t cand = j + static_cast<std::size_t>(__builtin_ctz(m));
      const int v = verdict(hay, cand, needle, n, pr, spent, cand);
      if (v != 0) return v > 0 ? filter_outcome{cand, false} : filter_outcome{cand + 1, true};
    }
  }
  for (; j <= last; ++j) {
    if (!probe_fits(hay, j, needle, pr)) continue;
    const int v = verdict(hay, j, needle, n, pr, spent, j);
    if (v != 0) return v > 0 ? filter_outcome{j, false} : filter_outcome{j + 1, true};
  }
#else
  // The rarest probe byte is found by the byte scanner; the others are checked where it stops.
  const char* const stop = hay + last + pr.a + 1;
  while (j <= last) {
    const char* p = find_byte(hay + j + pr.a, stop, needle[pr.a]);
    if (p == stop) break;
    j = static_cast<std::size_t>(p - hay) - pr.a;
    if (probe_fits(hay, j, needle, pr)) {
      const int v = verdict(hay, j, needle, n, pr, spent, j);
      if (v != 0) return v > 0 ? filter_outcome{j, false} : filter_outcome{j + 1, true};
    }
    ++j;
  }
#endif
  return {not_found, false};
}

filter_outcome filter_last(const char* hay, std::size_t h, const char* needle,
                           std::size_t n) noexcept {
  const needle_probe pr = choose_probe(needle, n);
  const std::size_t last = h - n;
  budget spent;
  std::size_t j = last + 1;  // starts below j are still open
#ifdef __SSE2__
  const __m128i va = _mm_set1_epi8(needle[pr.a]);
  const __m128i vb = _mm_set1_epi8(needle[pr.b]);
  const __m128i vc = _mm_set1_epi8(needle[pr.c]);
  for (; j >= 32; j -= 32) {
    const std::size_t base = j - 32;
    const unsigned lo = block_fits(hay + base, pr, va, vb, vc);
    const unsigned hi = block_fits(hay + base + 16, pr, va, vb, vc);
    for (unsigned m = lo | hi << 16; m != 0;) {
      const int k = highest_bit(m);
      m ^= 1u << k;
      const std::size_t cand = base + static_cast<std::size_t>(k);
      const int v = verdict(hay, cand, needle, n, pr, spent, last - cand);
      if (v != 0) return v > 0 ? filter_outcome{cand, false} : filter_outcome{cand, true};
    }
  }
  while (j > 0) {
    --j;
    if (!probe_fits(hay, j, needle, pr)) continue;
    const int v = verdict(hay, j, needle, n, pr, spent, last - j);
    if (v != 0) return v > 0 ? filter_outcome{j, false} : filter_outcome{j, true};
  }
#else
  while (j > 0) {
    const char* const stop = hay + j + pr.a;
    const char* p = find_byte_last(hay + pr.a, stop, needle[pr.a]);
    if (p == stop) break;
    j = static_cast<std::size_t>(p - hay) - pr.a;
    if (probe_fits(hay, j, needle, pr)) {
      const int v = verdict(hay, j, needle, n, pr, spent, last - j);
      if (v != 0) return v > 0 ? filter_outcome{j, false} : filter_outcome{j, true};
    }
  }
#endif
  return {not_found, false};
}

}  // namespace vq
