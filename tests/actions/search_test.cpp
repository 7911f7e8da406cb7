#include "actions/search.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <string>
#include <string_view>

#include "actions/search_differential.h"
#include "actions/search_reference.h"
#include "support/scan_paths.h"

namespace vq {
namespace {

TEST(EffectiveStart, NegatesOnlyForExactlyRL) {
  using namespace std::string_view_literals;
  struct row {
    int32_t from_pos;
    std::string_view direction;
    int32_t expected;
  };
  const row rows[] = {
      {5, "RL"sv, -5},
      {-5, "RL"sv, 5},
      {0, "RL"sv, 0},
      {5, "LR"sv, 5},
      {5, ""sv, 5},
      {5, "rl"sv, 5},
      {5, "Rl"sv, 5},
      {5, "rL"sv, 5},
      {5, "R"sv, 5},
      {5, "RL "sv, 5},
      {5, " RL"sv, 5},
      {5, "RLRL"sv, 5},
      {5, "RL\0"sv, 5},  // length-exact: a trailing zero byte is a third byte
      {-5, "LR"sv, -5},
      {INT32_MAX, "RL"sv, -INT32_MAX},
      {-INT32_MAX, "RL"sv, INT32_MAX},
      {INT32_MIN, "RL"sv, INT32_MIN},  // wraps onto itself
      {INT32_MIN, "LR"sv, INT32_MIN},
  };
  for (const row& r : rows) {
    SCOPED_TRACE(::testing::Message() << r.from_pos << " '" << std::string(r.direction) << "'");
    EXPECT_EQ(effective_start(r.from_pos, r.direction), r.expected);
  }
}

struct search_row {
  std::string_view source;
  std::string_view needle;
  int32_t from_pos;
  std::string_view direction;
  int32_t expected;
};

// The action's documented examples, run through both the real search and the reference.
TEST(PositionSearch, DocumentedExamples) {
  const search_row rows[] = {
      {"abcb", "b", 1, "LR", 2},
      {"abcb", "b", 2, "LR", 2},
      {"abcb", "b", 3, "LR", 4},
      {"abcb", "b", 4, "LR", 4},
      {"abcb", "b", 5, "LR", 0},
      {"abcb", "b", 0, "LR", 0},
      {"abcb", "b", 0, "RL", 0},
      {"abcb", "b", 1, "RL", 4},
      {"abcb", "b", 2, "RL", 2},
      {"abcb", "b", 3, "RL", 2},
      {"abcb", "b", 4, "RL", 0},
      {"abcb", "b", 5, "RL", 0},
      {"abcb", "b", -1, "LR", 4},
      {"abcb", "b", -3, "RL", 4},
      {"abcb", "b", 1, "rl", 2},
      {"abcb", "b", 1, "RL ", 2},
      {"abcabc", "bc", 1, "LR", 2},
      {"abcabc", "bc", 3, "LR", 5},
      {"abcabc", "bc", 5, "LR", 5},
      {"abcabc", "bc", 6, "LR", 0},
      {"abcabc", "bc", 1, "RL", 5},
      {"abcabc", "bc", 2, "RL", 2},
      {"abcabc", "bc", 5, "RL", 0},
      {"aaaa", "aa", 1, "LR", 1},
      {"aaaa", "aa", 2, "LR", 2},
      {"aaaa", "aa", 3, "LR", 3},
      {"aaaa", "aa", 4, "LR", 0},
      {"aaaa", "aa", 1, "RL", 3},
      {"aaaa", "aa", 2, "RL", 2},
      {"aaaa", "aa", 3, "RL", 1},
      {"aaaa", "aa", 4, "RL", 0},
      {"abcb", "", 1, "LR", 1},
      {"abcb", "", 4, "LR", 4},
      {"abcb", "", 5, "LR", 0},
      {"abcb", "", 1, "RL", 4},
      {"abcb", "", 4, "RL", 1},
      {"abcb", "", 5, "RL", 0},
      {"abcb", "", 0, "LR", 0},
      {"", "", 1, "LR", 0},
      {"", "", 1, "RL", 0},
      {"", "a", 1, "LR", 0},
      {"", "a", -1, "LR", 0},
      {"abc", "abcd", 1, "LR", 0},
      {"abc", "abcd", 1, "RL", 0},
      {"abc", "abc", 1, "LR", 1},
      {"abc", "abc", 1, "RL", 1},
      {"Hello", "h", 1, "LR", 0},
      {"Hello", "H", 1, "LR", 1},
      {"Hello", "l", 1, "RL", 4},
      {"Hello", "lo", 2, "RL", 0},
      // The first and the last start: the source's last byte found from its first position,
      // and its first byte from its last.
      {"ab", "b", 1, "LR", 2},
      {"ab", "a", 1, "RL", 1},
      {"abcb", "b", INT32_MAX, "LR", 0},
      {"abcb", "b", INT32_MAX, "RL", 0},
      {"abcb", "b", INT32_MIN, "LR", 0},
      {"abcb", "b", INT32_MIN, "RL", 0},
      {"abcb", "", INT32_MIN, "RL", 0},
      {"abcb", "", INT32_MAX, "LR", 0},
  };
  for (const search_row& r : rows) {
    SCOPED_TRACE(::testing::Message()
                 << "'" << std::string(r.needle) << "' in '" << std::string(r.source) << "' from "
                 << r.from_pos << " '" << std::string(r.direction) << "'");
    const int32_t s = effective_start(r.from_pos, r.direction);
    EXPECT_EQ(position_search(r.source, r.needle, s), r.expected);
    EXPECT_EQ(reference::position_search(r.source, r.needle, s), r.expected);
  }
}

// Many generated cases, both directions, every start: see search_differential.h. Once through
// each scanner table the processor can run.
TEST(PositionSearch, AgreesWithReference) {
  testing::for_each_scan_path([] {
    const reference::differential_result r = reference::run_search_differential();
    EXPECT_GT(r.compared, 500000);
    EXPECT_EQ(r.failed, 0) << "first: needle '" << r.first.needle << "' in '" << r.first.source
                           << "' from " << r.first.start << " gave " << r.first.got
                           << ", expected " << r.first.expected;
  });
}

}  // namespace
}  // namespace vq
