// The XP branch of the programs' GetTickCount64: the 32-bit count extended past its wrap.
#include "platform/win32/tick_count_xp.h"

#include <gtest/gtest.h>

namespace vq {
namespace {

TEST(TickCountXp, ExtendsTheCountPastEachWrap) {
  constexpr std::uint64_t wrap = std::uint64_t{1} << 32;
  const struct {
    std::uint64_t last;
    std::uint32_t now;
    std::uint64_t expected;
  } rows[] = {
      {0, 5, 5},
      {0xFFFFFFF0, 0xFFFFFFF0, 0xFFFFFFF0},     // no time passed
      {0xFFFFFFF0, 0xFFFFFFFF, 0xFFFFFFFF},
      {0xFFFFFFF0, 0x10, wrap + 0x10},           // the wrap: plus 2^32
      {wrap + 0x10, 0x20, wrap + 0x20},          // and it stays
      {wrap + 0xFFFFFFFF, 0, 2 * wrap},          // a second wrap, to the very first tick
      {5 * wrap + 7, 7, 5 * wrap + 7},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(::testing::Message() << std::hex << "last " << r.last << " now " << r.now);
    EXPECT_EQ(extended_tick_count(r.last, r.now), r.expected);
  }
}

}  // namespace
}  // namespace vq
