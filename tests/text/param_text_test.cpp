#include "text/param_text.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "support/guarded_pages.h"

namespace vq {
namespace {

TEST(Field, EdgeCases) {
  struct row {
    std::string text;
    std::vector<std::string> fields;  // fields 1..n; field n+1 must be empty
  };
  const row rows[] = {
      {"a|b", {"a", "b", ""}},
      {"|x", {"", "x"}},
      {"a||b", {"a", "", "b"}},
      {"a|", {"a", ""}},
      {" a | b ", {" a ", " b "}},
      {"a,b|c", {"a,b", "c"}},
      {"", {"", "", "", "", ""}},
      {"x|y|z|w|v|u", {"x", "y", "z", "w", "v", "u"}},
      {"\"a|b\"|c", {"\"a", "b\"", "c"}},
      {"||||", {"", "", "", "", ""}},
      {"\xff|\x80\x7f", {"\xff", "\x80\x7f"}},
  };
  for (const row& r : rows) {
    SCOPED_TRACE(r.text);
    for (std::size_t n = 0; n < r.fields.size(); ++n) {
      EXPECT_EQ(field(r.text, static_cast<int>(n + 1)), r.fields[n]) << "field " << n + 1;
    }
    EXPECT_EQ(field(r.text, static_cast<int>(r.fields.size() + 5)), "");
    EXPECT_EQ(field(r.text, 0), "");
  }
}

TEST(Field, FieldsFollowTheTextNotAfterIt) {
  // The view ends before the trailing bytes: a separator beyond its end must not count.
  const std::string buffer = "ab|cd|ef";
  const std::string_view text(buffer.data(), 4);  // "ab|c"
  EXPECT_EQ(field(text, 2), "c");
  EXPECT_EQ(field(text, 3), "");
}

TEST(TakeText, StopsAtZeroByteOrLimit) {
  EXPECT_EQ(take_text(nullptr).size(), 0u);
  EXPECT_EQ(take_text(""), "");
  EXPECT_EQ(take_text("ab\0cd"), "ab");

  // No zero byte within the limit: exactly the first 2^24 bytes.
  std::string big(max_text_length + 100, 'q');
  EXPECT_EQ(take_text(big.c_str()).size(), max_text_length);
  big[max_text_length] = '\0';
  EXPECT_EQ(take_text(big.c_str()).size(), max_text_length);
  big[max_text_length - 1] = '\0';
  EXPECT_EQ(take_text(big.c_str()).size(), max_text_length - 1);
  big[7] = '\0';
  EXPECT_EQ(take_text(big.c_str()).size(), 7u);
}

TEST(TakeText, EveryLengthAndAlignment) {
  // A zero at each place of a buffer fenced by non-zero bytes, from every start offset.
  std::vector<char> buffer(200, 'x');
  for (std::size_t start = 0; start < 40; ++start) {
    for (std::size_t length = 0; start + length + 1 < buffer.size(); length += 3) {
      buffer[start + length] = '\0';
      EXPECT_EQ(take_text(buffer.data() + start).size(), length) << start << "+" << length;
      buffer[start + length] = 'x';
    }
  }
}

TEST(TakeText, NeverReadsPastTheZeroIntoTheNextPage) {
  // The zero is the last readable byte; the page after it faults on any access. Texts of every
  // length up to two pages, so the scan reaches the end through each of its strides.
  testing::guarded_pages pages(2);
  for (std::size_t length = 0; length < 2 * 4096; length += length < 300 ? 1 : 61) {
    char* const text = pages.end() - length - 1;
    std::memset(text, 'x', length);
    text[length] = '\0';
    ASSERT_EQ(take_text(text).size(), length);
  }
}

}  // namespace
}  // namespace vq
