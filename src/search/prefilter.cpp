#include "search/prefilter.h"

#include <cstdint>

#include "search/compare.h"
#include "search/needle_probe.h"
#include "search/not_found.h"
#include "search/scan.h"
#include "search/scan_path.h"

#include <immintrin.h>

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

struct search {
  const char* hay;
  const char* needle;
  std::size_t n;
  std::size_t last;  // last possible start: h - n
  needle_probe pr;
  budget spent;
};

// Whether the probe bytes fit at start j (the scalar form of the block test).
inline bool probe_fits(const search& s, std::size_t j) noexcept {
  const needle_probe& pr = s.pr;
  return s.hay[j + pr.rarest] == s.needle[pr.rarest] &&
         s.hay[j + pr.first] == s.needle[pr.first] && s.hay[j + pr.last] == s.needle[pr.last];
}

// Verdict on the candidate start cand: 1 match, 0 keep going, -1 give up.
int verdict(search& s, std::size_t cand, std::size_t progress) noexcept {
  if (s.pr.exact) return 1;
  const std::size_t len = common_prefix(s.hay + cand, s.needle, s.n);
  if (len == s.n) return 1;
  return s.spent.exhausted(len, progress) ? -1 : 0;
}

// Verifies the candidates base + i for the bits i of m, lowest first. True when the search is
// decided, with the outcome in out. Kept out of line so that the scan loop keeps its
// registers.
__attribute__((noinline)) bool settle_first(search& s, std::size_t base, std::uint32_t m,
                                            filter_outcome& out) noexcept {
  for (; m != 0; m &= m - 1) {
    const std::size_t cand = base + static_cast<std::size_t>(__builtin_ctz(m));
    const int v = verdict(s, cand, cand);
    if (v != 0) {
      out = v > 0 ? filter_outcome{cand, false} : filter_outcome{cand + 1, true};
      return true;
    }
  }
  return false;
}

// As settle_first, highest bit first; a give-up leaves the starts below the candidate open.
__attribute__((noinline)) bool settle_last(search& s, std::size_t base, std::uint32_t m,
                                           filter_outcome& out) noexcept {
  while (m != 0) {
    const int k = 31 - __builtin_clz(m);
    m ^= std::uint32_t{1} << k;
    const std::size_t cand = base + static_cast<std::size_t>(k);
    const int v = verdict(s, cand, s.last - cand);
    if (v != 0) {
      out = filter_outcome{cand, v < 0};
      return true;
    }
  }
  return false;
}

// Bit i set when every probe byte fits at start p + i. Loads are unaligned and in bounds:
// only starts whose whole needle lies inside the hay are asked for.
template <bool Three>
struct block_test {
  __m128i v_rarest, v_first, v_last;
  std::size_t rarest, first, last;

  explicit block_test(const search& s) noexcept
      : v_rarest(_mm_set1_epi8(s.needle[s.pr.rarest])),
        v_first(_mm_set1_epi8(s.needle[s.pr.first])),
        v_last(_mm_set1_epi8(s.needle[s.pr.last])),
        rarest(s.pr.rarest),
        first(s.pr.first),
        last(s.pr.last) {}

  std::uint32_t operator()(const char* p) const noexcept {
    const auto eq = [p](std::size_t off, __m128i v) {
      return _mm_cmpeq_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p + off)), v);
    };
    __m128i m = _mm_and_si128(eq(rarest, v_rarest), eq(first, v_first));
    if constexpr (Three) m = _mm_and_si128(m, eq(last, v_last));
    return static_cast<std::uint32_t>(_mm_movemask_epi8(m));
  }
};

// Thirty-two starts per step, tested in two blocks.
template <bool Three>
filter_outcome scan_first(search& s) noexcept {
  const block_test<Three> fits(s);
  filter_outcome out{not_found, false};
  std::size_t j = 0;
  for (; j + 31 <= s.last; j += 32) {
    const std::uint32_t m = fits(s.hay + j) | fits(s.hay + j + 16) << 16;
    if (__builtin_expect(m != 0, 0) && settle_first(s, j, m, out)) return out;
  }
  for (; j <= s.last; ++j) {
    if (probe_fits(s, j) && settle_first(s, j, 1, out)) return out;
  }
  return out;
}

template <bool Three>
filter_outcome scan_last(search& s) noexcept {
  const block_test<Three> fits(s);
  filter_outcome out{not_found, false};
  std::size_t j = s.last + 1;  // starts below j are still open
  for (; j >= 32; j -= 32) {
    const std::uint32_t m = fits(s.hay + j - 32) | fits(s.hay + j - 16) << 16;
    if (__builtin_expect(m != 0, 0) && settle_last(s, j - 32, m, out)) return out;
  }
  while (j > 0) {
    --j;
    if (probe_fits(s, j) && settle_last(s, j, 1, out)) return out;
  }
  return out;
}

// The same loops with thirty-two starts in each 32-byte test and two tests a step, where the
// processor has AVX2 (see scan_path.h). Everything holding a 256-bit value carries the
// AVX2 target; the compiler clears the upper halves (vzeroupper) before each call out to
// settle_* and on return, so the SSE2 code there pays no transition.
template <bool Three>
struct wide_block_test {
  __m256i v_rarest, v_first, v_last;
  std::size_t rarest, first, last;

  __attribute__((target("avx2"))) explicit wide_block_test(const search& s) noexcept
      : v_rarest(_mm256_set1_epi8(s.needle[s.pr.rarest])),
        v_first(_mm256_set1_epi8(s.needle[s.pr.first])),
        v_last(_mm256_set1_epi8(s.needle[s.pr.last])),
        rarest(s.pr.rarest),
        first(s.pr.first),
        last(s.pr.last) {}

  __attribute__((target("avx2"))) static __m256i eq(const char* p, __m256i v) noexcept {
    return _mm256_cmpeq_epi8(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(p)), v);
  }

  __attribute__((target("avx2"))) std::uint32_t operator()(const char* p) const noexcept {
    __m256i m = _mm256_and_si256(eq(p + rarest, v_rarest), eq(p + first, v_first));
    if constexpr (Three) m = _mm256_and_si256(m, eq(p + last, v_last));
    return static_cast<std::uint32_t>(_mm256_movemask_epi8(m));
  }
};

template <bool Three>
__attribute__((target("avx2"))) filter_outcome wide_scan_first(search& s) noexcept {
  const wide_block_test<Three> fits(s);
  filter_outcome out{not_found, false};
  std::size_t j = 0;
  for (; j + 63 <= s.last; j += 64) {
    const std::uint32_t m0 = fits(s.hay + j);
    const std::uint32_t m1 = fits(s.hay + j + 32);
    if (__builtin_expect((m0 | m1) != 0, 0)) {
      if (m0 && settle_first(s, j, m0, out)) return out;
      if (m1 && settle_first(s, j + 32, m1, out)) return out;
    }
  }
  for (; j <= s.last; ++j) {
    if (probe_fits(s, j) && settle_first(s, j, 1, out)) return out;
  }
  return out;
}

template <bool Three>
__attribute__((target("avx2"))) filter_outcome wide_scan_last(search& s) noexcept {
  const wide_block_test<Three> fits(s);
  filter_outcome out{not_found, false};
  std::size_t j = s.last + 1;  // starts below j are still open
  for (; j >= 64; j -= 64) {
    const std::uint32_t m1 = fits(s.hay + j - 32);
    const std::uint32_t m0 = fits(s.hay + j - 64);
    if (__builtin_expect((m0 | m1) != 0, 0)) {
      if (m1 && settle_last(s, j - 32, m1, out)) return out;
      if (m0 && settle_last(s, j - 64, m0, out)) return out;
    }
  }
  while (j > 0) {
    --j;
    if (probe_fits(s, j) && settle_last(s, j, 1, out)) return out;
  }
  return out;
}

filter_outcome run_first(search& s) noexcept {
  const bool three = s.pr.last != s.pr.first;
  if (scan_path_in_use() == scan_path::avx2) {
    return three ? wide_scan_first<true>(s) : wide_scan_first<false>(s);
  }
  return three ? scan_first<true>(s) : scan_first<false>(s);
}

filter_outcome run_last(search& s) noexcept {
  const bool three = s.pr.last != s.pr.first;
  if (scan_path_in_use() == scan_path::avx2) {
    return three ? wide_scan_last<true>(s) : wide_scan_last<false>(s);
  }
  return three ? scan_last<true>(s) : scan_last<false>(s);
}

}  // namespace

filter_outcome filter_first(const char* hay, std::size_t h, const char* needle,
                            std::size_t n) noexcept {
  search s{hay, needle, n, h - n, choose_probe(needle, n), budget{}};
  return run_first(s);
}

filter_outcome filter_last(const char* hay, std::size_t h, const char* needle,
                           std::size_t n) noexcept {
  search s{hay, needle, n, h - n, choose_probe(needle, n), budget{}};
  return run_last(s);
}

}  // namespace vq
