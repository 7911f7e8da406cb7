#include "actions/search.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "actions/search_reference.h"

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
    SCOPED_TRACE(testing::Message() << r.from_pos << " '" << std::string(r.direction) << "'");
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
      {"abcb", "b", INT32_MAX, "LR", 0},
      {"abcb", "b", INT32_MAX, "RL", 0},
      {"abcb", "b", INT32_MIN, "LR", 0},
      {"abcb", "b", INT32_MIN, "RL", 0},
      {"abcb", "", INT32_MIN, "RL", 0},
      {"abcb", "", INT32_MAX, "LR", 0},
  };
  for (const search_row& r : rows) {
    SCOPED_TRACE(testing::Message()
                 << "'" << std::string(r.needle) << "' in '" << std::string(r.source) << "' from "
                 << r.from_pos << " '" << std::string(r.direction) << "'");
    const int32_t s = effective_start(r.from_pos, r.direction);
    EXPECT_EQ(position_search(r.source, r.needle, s), r.expected);
    EXPECT_EQ(reference::position_search(r.source, r.needle, s), r.expected);
  }
}

// Bytes are compared as they are: no sign trouble with high bytes, no end at a zero byte.
TEST(PositionSearch, AnyByteValue) {
  using namespace std::string_view_literals;
  const search_row rows[] = {
      {"a\0b\0c"sv, "\0c"sv, 1, "LR", 4},
      {"a\0b\0c"sv, "\0"sv, 1, "RL", 4},
      {"\x80\xff\x7f\xff"sv, "\xff"sv, 1, "LR", 2},
      {"\x80\xff\x7f\xff"sv, "\xff"sv, 1, "RL", 4},
      {"\x80\xff\x7f\xff"sv, "\x7f\xff"sv, 2, "RL", 0},
  };
  for (const search_row& r : rows) {
    SCOPED_TRACE(testing::Message() << "row from " << r.from_pos << " " << r.expected);
    EXPECT_EQ(position_search(r.source, r.needle, effective_start(r.from_pos, r.direction)),
              r.expected);
  }
}

std::string random_text(std::mt19937& rng, std::string_view alphabet, std::size_t length) {
  std::uniform_int_distribution<std::size_t> pick(0, alphabet.size() - 1);
  std::string s(length, '\0');
  for (char& c : s) c = alphabet[pick(rng)];
  return s;
}

// Every start, on both sides of both ends and at the 32-bit extremes.
std::vector<int32_t> starts_for(std::size_t length) {
  const int32_t l = static_cast<int32_t>(length);
  std::vector<int32_t> starts = {INT32_MIN, INT32_MIN + 1, INT32_MAX, INT32_MAX - 1};
  for (int32_t s = -l - 3; s <= l + 3; ++s) starts.push_back(s);
  return starts;
}

std::vector<std::string> needles_for(std::mt19937& rng, const std::string& source,
                                     std::string_view alphabet) {
  std::vector<std::string> needles = {"", "aaab", "baaa", "abab", "abcabd", "aabaab"};
  std::uniform_int_distribution<std::size_t> len(1, 9);
  for (int i = 0; i < 4; ++i) needles.push_back(random_text(rng, alphabet, len(rng)));
  for (int i = 0; i < 4 && !source.empty(); ++i) {
    std::uniform_int_distribution<std::size_t> at(0, source.size() - 1);
    const std::size_t from = at(rng);
    needles.push_back(source.substr(from, len(rng)));
  }
  return needles;
}

TEST(PositionSearch, AgreesWithReference) {
  using namespace std::string_view_literals;
  const std::string_view alphabets[] = {"ab"sv, "abc"sv, "a\0\x80\xff"sv};
  std::mt19937 rng(20240611);
  for (std::string_view alphabet : alphabets) {
    for (int round = 0; round < 150; ++round) {
      std::uniform_int_distribution<std::size_t> len(0, round < 100 ? 24 : 90);
      const std::string source = random_text(rng, alphabet, len(rng));
      for (const std::string& needle : needles_for(rng, source, alphabet)) {
        SCOPED_TRACE(testing::Message() << "needle '" << needle << "' in '" << source << "'");
        for (int32_t s : starts_for(source.size())) {
          ASSERT_EQ(position_search(source, needle, s),
                    reference::position_search(source, needle, s))
              << "start " << s;
        }
      }
    }
  }
}

}  // namespace
}  // namespace vq
