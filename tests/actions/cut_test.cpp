#include "actions/cut.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

namespace vq {
namespace {

struct cut_row {
  std::string text;
  int32_t n;
  std::string left;
  std::string right;
};

TEST(Cut, CountRule) {
  const cut_row rows[] = {
      {"abcde", 0, "", ""},
      {"abcde", 1, "a", "e"},
      {"abcde", 2, "ab", "de"},
      {"abcde", 4, "abcd", "bcde"},
      {"abcde", 5, "abcde", "abcde"},
      {"abcde", 6, "abcde", "abcde"},
      {"abcde", -1, "abcd", "bcde"},
      {"abcde", -2, "abc", "cde"},
      {"abcde", -4, "a", "e"},
      {"abcde", -5, "", ""},
      {"abcde", -6, "abcde", "abcde"},
      {"abcde", INT32_MAX, "abcde", "abcde"},
      {"abcde", INT32_MIN, "abcde", "abcde"},
      {"", 0, "", ""},
      {"", 3, "", ""},
      {"", -1, "", ""},
      {"", INT32_MIN, "", ""},
      {"a", 1, "a", "a"},
      {"a", 2, "a", "a"},
      {"a", 0, "", ""},
      {"a", -1, "", ""},
      {"a", -2, "a", "a"},
      {"\x80\xff" "a", 2, "\x80\xff", "\xff" "a"},
      {"\x80\xff" "a", -1, "\x80\xff", "\xff" "a"},
  };
  for (const cut_row& r : rows) {
    SCOPED_TRACE("\"" + r.text + "\" n=" + std::to_string(r.n));
    EXPECT_EQ(left_part(r.text, r.n), r.left);
    EXPECT_EQ(right_part(r.text, r.n), r.right);
  }
}

TEST(Cut, MaximalText) {
  // A 2^24-byte source with counts at and around its length from both sides.
  const std::string text(16777216, 'z');
  const int32_t length = 16777216;
  EXPECT_EQ(kept_count(length - 1, text.size()), text.size() - 1);
  EXPECT_EQ(kept_count(length, text.size()), text.size());
  EXPECT_EQ(kept_count(-length, text.size()), 0u);
  EXPECT_EQ(kept_count(-length - 1, text.size()), text.size());
  EXPECT_EQ(kept_count(-length + 1, text.size()), 1u);
}

}  // namespace
}  // namespace vq
