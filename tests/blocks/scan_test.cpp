#include "blocks/scan.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <cstring>

#include "support/guarded_pages.h"
#include "support/scan_paths.h"
#include "blocks/scan_switch.h"

namespace vq {
namespace {

// Every test below runs once per scanner pair.
using Scan = testing::scan_paths_fixture;
INSTANTIATE_TEST_SUITE_P(Paths, Scan, ::testing::ValuesIn(testing::every_scan_path),
                         testing::scan_path_name);

// The switch the tests rely on: without it every run would exercise the same scanners.
TEST(ScanDispatch, TheChosenPathIsTheOneInUse) {
  const scan_path best = best_scan_path();
  for (const scan_path p : testing::every_scan_path) {
    SCOPED_TRACE(scan_path_text(p));
    const scan_path before = scan_path_in_use();
    EXPECT_EQ(use_scan_path(p), p <= best);
    EXPECT_EQ(scan_path_in_use(), p <= best ? p : before);
  }
  ASSERT_TRUE(use_scan_path(best));
  EXPECT_EQ(scan_path_in_use(), best);
}

// The choice from CPUID and XGETBV: SSE2 from leaf 1's EDX, AVX2 only with the OS saving the
// YMM state. A processor without CPUID (max leaf 0) runs the portable scanners.
TEST(ScanDispatch, ThePathFollowsWhatTheProcessorAndOsReport) {
  constexpr unsigned sse2 = 1u << 26, osxsave = 1u << 27, avx = 1u << 28, avx2 = 1u << 5;
  const struct {
    processor_report r;
    scan_path expected;
  } rows[] = {
      {{0, 0, 0, 0, 0}, scan_path::portable},
      {{0, osxsave | avx, sse2, avx2, 6}, scan_path::portable},  // no CPUID: the rest is noise
      {{1, 0, 1u << 25, 0, 0}, scan_path::portable},            // SSE without SSE2
      {{1, 0, sse2, 0, 0}, scan_path::sse2},
      {{7, osxsave | avx, 0, avx2, 6}, scan_path::portable},    // no SSE2 bit, whatever else
      {{6, osxsave | avx, sse2, avx2, 6}, scan_path::sse2},     // no leaf 7
      {{7, avx, sse2, avx2, 6}, scan_path::sse2},               // the OS keeps no YMM state
      {{7, osxsave | avx, sse2, avx2, 2}, scan_path::sse2},     // XCR0 without the AVX bit
      {{7, osxsave | avx, sse2, avx2, 4}, scan_path::sse2},     // XCR0 without the SSE bit
      {{7, osxsave, sse2, avx2, 6}, scan_path::sse2},           // AVX2 without AVX
      {{7, osxsave | avx, sse2, 0, 7}, scan_path::sse2},
      {{7, osxsave | avx, sse2, avx2, 7}, scan_path::avx2},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(::testing::Message() << "leaf " << row.r.max_leaf << " ecx " << row.r.leaf1_ecx
                                      << " edx " << row.r.leaf1_edx << " xcr0 " << row.r.xcr0_low);
    EXPECT_EQ(scan_path_for(row.r), row.expected);
  }
}

struct byte_pair {
  char target;
  char filler;
};

// High bytes and zero as targets catch signed compares and text-style early stops.
constexpr byte_pair pairs[] = {{'x', 'y'}, {'\0', '\xff'}, {'\x80', '\x7f'}, {'\xff', '\0'}};

// Every start offset modulo 64 and every length up to 130, with the target byte at each place
// inside the range, alone or with a second one at either end. Everything outside the range is
// the target byte too, so a scanner that looks past either end reports it; with a gap of one
// filler byte on each side, a stray report cannot happen to equal end.
TEST_P(Scan, AlignmentAndLengthSweep) {
  constexpr std::size_t max_len = 130;
  alignas(64) char buf[64 + 64 + max_len + 64];
  for (const byte_pair bp : pairs) {
    for (std::size_t gap = 0; gap < 2; ++gap) {
      for (std::size_t offset = 0; offset < 64; ++offset) {
        for (std::size_t len = 0; len <= max_len; ++len) {
          SCOPED_TRACE(::testing::Message()
                       << "target " << int(static_cast<unsigned char>(bp.target)) << " gap " << gap
                       << " offset " << offset << " len " << len);
          std::memset(buf, bp.target, sizeof buf);
          char* const begin = buf + 64 + offset;
          char* const end = begin + len;
          std::memset(begin - gap, bp.filler, len + 2 * gap);
          ASSERT_EQ(find_byte(begin, end, bp.target), end);
          ASSERT_EQ(find_byte_last(begin, end, bp.target), end);
          for (std::size_t p = 0; p < len; ++p) {
            begin[p] = bp.target;
            ASSERT_EQ(find_byte(begin, end, bp.target), begin + p) << "at " << p;
            ASSERT_EQ(find_byte_last(begin, end, bp.target), begin + p) << "at " << p;
            begin[len - 1] = bp.target;
            ASSERT_EQ(find_byte(begin, end, bp.target), begin + p) << "and last, at " << p;
            begin[len - 1] = p == len - 1 ? bp.target : bp.filler;
            begin[0] = bp.target;
            ASSERT_EQ(find_byte_last(begin, end, bp.target), begin + p) << "and first, at " << p;
            begin[0] = p == 0 ? bp.target : bp.filler;
            begin[p] = bp.filler;
          }
        }
      }
    }
  }
}

TEST_P(Scan, EmptyRangeIsAMiss) {
  const char* const none = nullptr;
  EXPECT_EQ(find_byte(none, none, 'a'), none);
  EXPECT_EQ(find_byte_last(none, none, 'a'), none);
  const char text[] = "aaaa";
  EXPECT_EQ(find_byte(text + 2, text + 2, 'a'), text + 2);
  EXPECT_EQ(find_byte_last(text + 2, text + 2, 'a'), text + 2);
}

// Ranges long enough for the loops over 128 bytes and more, with one hit at every place and
// the target byte all around the range; every start modulo the widest block. find_either runs
// the same loops as find_byte with a test for two bytes, either of which must stop it.
TEST_P(Scan, LongRangesFindTheHitAnywhere) {
  constexpr std::size_t len = 700;
  alignas(64) static char buf[len + 128];
  for (std::size_t shift = 0; shift < 64; ++shift) {
    SCOPED_TRACE(::testing::Message() << "shift " << shift);
    std::memset(buf, '#', sizeof buf);
    char* const begin = buf + 16 + shift;
    std::memset(begin, '.', len);
    ASSERT_EQ(find_byte(begin, begin + len, '#'), begin + len);
    ASSERT_EQ(find_byte_last(begin, begin + len, '#'), begin + len);
    ASSERT_EQ(find_either(begin, begin + len, '#', '#'), begin + len);
    for (std::size_t p = 0; p < len; ++p) {
      begin[p] = '#';
      ASSERT_EQ(find_byte(begin, begin + len, '#'), begin + p);
      ASSERT_EQ(find_byte_last(begin, begin + len, '#'), begin + p);
      ASSERT_EQ(find_either(begin, begin + len, '\0', '#'), begin + p);
      begin[p] = '\0';
      ASSERT_EQ(find_either(begin, begin + len, '\0', '#'), begin + p);
      begin[len - 1] = '#';
      ASSERT_EQ(find_either(begin, begin + len, '#', '\0'), begin + p);
      begin[len - 1] = '.';
      begin[p] = '.';
    }
  }
}

// A range flush against a page that faults on any access, on either side: reading one block
// too far crashes the test. Lengths reach past every loop of both scanner pairs; the fault
// pages at both parities, as where the system maps them is chance.
TEST_P(Scan, NeverTouchesTheNeighbouringPage) {
  for (const auto parity : {testing::page_parity::even, testing::page_parity::odd}) {
    SCOPED_TRACE(parity == testing::page_parity::odd ? "odd" : "even");
    testing::guarded_pages pages(1, parity);
    char* const first = pages.begin();
    char* const last = pages.end();
    std::memset(first, 'q', static_cast<std::size_t>(last - first));
    for (std::size_t len = 0; len <= 300; ++len) {
      SCOPED_TRACE(::testing::Message() << "len " << len);
      char* const tail = last - len;
      EXPECT_EQ(find_byte(tail, last, 'z'), last);
      EXPECT_EQ(find_either(tail, last, 'z', '\0'), last);
      EXPECT_EQ(find_byte_last(tail, last, 'z'), last);
      EXPECT_EQ(find_byte(first, first + len, 'z'), first + len);
      EXPECT_EQ(find_byte_last(first, first + len, 'z'), first + len);
      if (len == 0) continue;
      // A hit on the byte next to the fault, found from the far side of the range.
      last[-1] = 'z';
      EXPECT_EQ(find_byte(tail, last, 'z'), last - 1);
      last[-1] = 'q';
      first[0] = 'z';
      EXPECT_EQ(find_byte_last(first, first + len, 'z'), first);
      first[0] = 'q';
    }
  }
}

}  // namespace
}  // namespace vq
