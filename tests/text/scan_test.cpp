#include "text/scan.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <cstring>

#if defined(__unix__)
#include <sys/mman.h>
#include <unistd.h>
#endif

namespace vq {
namespace {

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
TEST(Scan, AlignmentAndLengthSweep) {
  constexpr std::size_t max_len = 130;
  alignas(64) char buf[64 + 64 + max_len + 64];
  for (const byte_pair bp : pairs) {
    for (std::size_t gap = 0; gap < 2; ++gap) {
      for (std::size_t offset = 0; offset < 64; ++offset) {
        for (std::size_t len = 0; len <= max_len; ++len) {
          SCOPED_TRACE(testing::Message()
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

TEST(Scan, EmptyRangeIsAMiss) {
  const char* const none = nullptr;
  EXPECT_EQ(find_byte(none, none, 'a'), none);
  EXPECT_EQ(find_byte_last(none, none, 'a'), none);
  const char text[] = "aaaa";
  EXPECT_EQ(find_byte(text + 2, text + 2, 'a'), text + 2);
  EXPECT_EQ(find_byte_last(text + 2, text + 2, 'a'), text + 2);
}

// Ranges long enough for the 128- and 64-byte loops, with one hit at every place and the
// target byte all around the range.
TEST(Scan, LongRangesFindTheHitAnywhere) {
  constexpr std::size_t len = 700;
  alignas(16) static char buf[len + 64];
  for (std::size_t shift = 0; shift < 16; ++shift) {
    SCOPED_TRACE(testing::Message() << "shift " << shift);
    std::memset(buf, '#', sizeof buf);
    char* const begin = buf + 16 + shift;
    std::memset(begin, '.', len);
    ASSERT_EQ(find_byte(begin, begin + len, '#'), begin + len);
    ASSERT_EQ(find_byte_last(begin, begin + len, '#'), begin + len);
    for (std::size_t p = 0; p < len; ++p) {
      begin[p] = '#';
      ASSERT_EQ(find_byte(begin, begin + len, '#'), begin + p);
      ASSERT_EQ(find_byte_last(begin, begin + len, '#'), begin + p);
      begin[p] = '.';
    }
  }
}

#if defined(__unix__)
// A range flush against an unmapped page on either side: reading one block too far faults.
TEST(Scan, NeverTouchesTheNeighbouringPage) {
  const std::size_t page = static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
  void* map = mmap(nullptr, 3 * page, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  ASSERT_NE(map, MAP_FAILED);
  char* const mid = static_cast<char*>(map) + page;
  std::memset(mid, 'q', page);
  ASSERT_EQ(mprotect(map, page, PROT_NONE), 0);
  ASSERT_EQ(mprotect(mid + page, page, PROT_NONE), 0);
  for (std::size_t len = 0; len <= 70; ++len) {
    SCOPED_TRACE(testing::Message() << "len " << len);
    char* const tail = mid + page - len;
    EXPECT_EQ(find_byte(tail, mid + page, 'z'), mid + page);
    EXPECT_EQ(find_byte_last(tail, mid + page, 'z'), mid + page);
    EXPECT_EQ(find_byte(mid, mid + len, 'z'), mid + len);
    EXPECT_EQ(find_byte_last(mid, mid + len, 'z'), mid + len);
  }
  munmap(map, 3 * page);
}
#endif

}  // namespace
}  // namespace vq
