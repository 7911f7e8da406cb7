// The candidate loops of the substring prefilter (filter_first, filter_last: scan.h), written
// once over a block type B and instantiated beside the byte scanners, under the same
// VQ_BLOCK_TARGET (block_scans.h).
#pragma once

#include <cstddef>
#include <cstdint>

#include "blocks/block_scans.h"
#include "blocks/needle_probe.h"
#include "blocks/not_found.h"
#include "blocks/scan.h"

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

struct filter_search {
  const char* hay;
  const char* needle;
  std::size_t n;
  std::size_t last;  // last possible start: h - n
  needle_probe pr;
  budget spent;
};

// Whether the probe bytes fit at start j (the scalar form of the block test).
inline bool probe_fits(const filter_search& s, std::size_t j) noexcept {
  const needle_probe& pr = s.pr;
  return s.hay[j + pr.rarest] == s.needle[pr.rarest] &&
         s.hay[j + pr.first] == s.needle[pr.first] && s.hay[j + pr.last] == s.needle[pr.last];
}

// Verdict on the candidate start cand: 1 match, 0 keep going, -1 give up.
template <class B>
VQ_BLOCK_TARGET inline int verdict(filter_search& s, std::size_t cand,
                                   std::size_t progress) noexcept {
  if (s.pr.exact) return 1;
  const std::size_t len = block_common_prefix<B>(s.hay + cand, s.needle, s.n);
  if (len == s.n) return 1;
  return s.spent.exhausted(len, progress) ? -1 : 0;
}

// Verifies the candidates base + lane for the lanes of m, lowest first. True when the search
// is decided, with the outcome in out. Kept out of line so that the scan loop keeps its
// registers.
template <class B>
VQ_BLOCK_TARGET __attribute__((noinline)) bool settle_first(filter_search& s, std::size_t base,
                                                            typename B::mask m,
                                                            filter_outcome& out) noexcept {
  for (; m != 0; m &= m - 1) {
    const std::size_t cand = base + lowest_lane<B>(m);
    const int v = verdict<B>(s, cand, cand);
    if (v != 0) {
      out = v > 0 ? filter_outcome{cand, false} : filter_outcome{cand + 1, true};
      return true;
    }
  }
  return false;
}

// As settle_first, highest lane first; a give-up leaves the starts below the candidate open.
template <class B>
VQ_BLOCK_TARGET __attribute__((noinline)) bool settle_last(filter_search& s, std::size_t base,
                                                           typename B::mask m,
                                                           filter_outcome& out) noexcept {
  while (m != 0) {
    const int top = std::bit_width(m) - 1;
    m ^= typename B::mask{1} << top;
    const std::size_t cand = base + static_cast<std::size_t>(top) / B::lane_bits;
    const int v = verdict<B>(s, cand, s.last - cand);
    if (v != 0) {
      out = filter_outcome{cand, v < 0};
      return true;
    }
  }
  return false;
}

// Lanes flagged at the starts p + lane where every probe byte fits. Loads are unaligned and in
// bounds: only starts whose whole needle lies inside the hay are asked for.
template <class B, bool Three>
struct block_test {
  typename B::vec v_rarest, v_first, v_last;
  std::size_t rarest, first, last;

  VQ_BLOCK_TARGET explicit block_test(const filter_search& s) noexcept
      : v_rarest(B::splat(s.needle[s.pr.rarest])),
        v_first(B::splat(s.needle[s.pr.first])),
        v_last(B::splat(s.needle[s.pr.last])),
        rarest(s.pr.rarest),
        first(s.pr.first),
        last(s.pr.last) {}

  VQ_BLOCK_TARGET typename B::mask operator()(const char* p) const noexcept {
    auto m = B::both(B::eq(B::loadu(p + rarest), v_rarest), B::eq(B::loadu(p + first), v_first));
    if constexpr (Three) m = B::both(m, B::eq(B::loadu(p + last), v_last));
    return B::bits(m);
  }
};

// Two blocks of starts per step; each block with a fitting start is settled in turn.
template <class B, bool Three>
VQ_BLOCK_TARGET filter_outcome scan_first(filter_search& s) noexcept {
  constexpr std::size_t w = B::width;
  const block_test<B, Three> fits(s);
  filter_outcome out{not_found, false};
  std::size_t j = 0;
  for (; j + 2 * w - 1 <= s.last; j += 2 * w) {
    const auto m0 = fits(s.hay + j);
    const auto m1 = fits(s.hay + j + w);
    if (__builtin_expect((m0 | m1) != 0, 0)) {
      if (m0 && settle_first<B>(s, j, m0, out)) return out;
      if (m1 && settle_first<B>(s, j + w, m1, out)) return out;
    }
  }
  for (; j <= s.last; ++j) {
    if (probe_fits(s, j) && settle_first<B>(s, j, 1, out)) return out;
  }
  return out;
}

template <class B, bool Three>
VQ_BLOCK_TARGET filter_outcome scan_last(filter_search& s) noexcept {
  constexpr std::size_t w = B::width;
  const block_test<B, Three> fits(s);
  filter_outcome out{not_found, false};
  std::size_t j = s.last + 1;  // starts below j are still open
  for (; j >= 2 * w; j -= 2 * w) {
    const auto m1 = fits(s.hay + j - w);
    const auto m0 = fits(s.hay + j - 2 * w);
    if (__builtin_expect((m0 | m1) != 0, 0)) {
      if (m1 && settle_last<B>(s, j - w, m1, out)) return out;
      if (m0 && settle_last<B>(s, j - 2 * w, m0, out)) return out;
    }
  }
  while (j > 0) {
    --j;
    if (probe_fits(s, j) && settle_last<B>(s, j, 1, out)) return out;
  }
  return out;
}

template <class B>
VQ_BLOCK_TARGET filter_outcome block_filter_first(const char* hay, std::size_t h,
                                                  const char* needle, std::size_t n) noexcept {
  filter_search s{hay, needle, n, h - n, choose_probe(needle, n), budget{}};
  return s.pr.last != s.pr.first ? scan_first<B, true>(s) : scan_first<B, false>(s);
}

template <class B>
VQ_BLOCK_TARGET filter_outcome block_filter_last(const char* hay, std::size_t h,
                                                 const char* needle, std::size_t n) noexcept {
  filter_search s{hay, needle, n, h - n, choose_probe(needle, n), budget{}};
  return s.pr.last != s.pr.first ? scan_last<B, true>(s) : scan_last<B, false>(s);
}

}  // namespace
}  // namespace vq
