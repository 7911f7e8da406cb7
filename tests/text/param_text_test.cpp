#include "text/param_text.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "support/guarded_pages.h"

namespace vq {
namespace {

TEST(SplitFields, EdgeCases) {
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
      {"x|y|z|w|v|u", {"x", "y", "z", "w", "v"}},
      {"\"a|b\"|c", {"\"a", "b\"", "c"}},
      {"||||", {"", "", "", "", ""}},
      {"\xff|\x80\x7f", {"\xff", "\x80\x7f"}},
      {std::string("ab|c\0d|ef", 9), {"ab", "c", ""}},
  };
  for (const row& r : rows) {
    SCOPED_TRACE(r.text);
    // Splitting off fewer fields must give the same ones, and nothing after them; a count past
    // max_fields splits off max_fields.
    for (int count = 1; count <= max_fields + 1; ++count) {
      const param_fields f = split_fields(r.text.c_str(), count);
      for (int n = 1; n <= max_fields + 1; ++n) {
        const std::size_t i = static_cast<std::size_t>(n - 1);
        const std::string expected = n <= count && i < r.fields.size() ? r.fields[i] : "";
        EXPECT_EQ(f.field(n), expected) << "field " << n << " of " << count;
      }
      EXPECT_EQ(f.field(0), "");
    }
  }
  EXPECT_EQ(split_fields(nullptr, 5).field(1).data(), nullptr);
}

TEST(SplitFields, StopsAtZeroByteOrLimit) {
  const auto first = [](const std::string& text) { return split_fields(text.c_str(), 2); };
  // Spelled out rather than max_text_length, so that a wrong constant cannot pass.
  constexpr std::size_t limit = 16777216;
  // No zero byte within the limit: exactly the first 2^24 bytes.
  std::string big(limit + 100, 'q');
  EXPECT_EQ(first(big).field(1).size(), limit);
  big[limit] = '|';  // just past the limit: not a separator
  EXPECT_EQ(first(big).field(1).size(), limit);
  EXPECT_EQ(first(big).field(2).size(), 0u);
  big[limit - 1] = '|';  // the last byte inside: field 2 is empty
  EXPECT_EQ(first(big).field(1).size(), limit - 1);
  EXPECT_EQ(first(big).field(2).size(), 0u);
  big[limit - 3] = '|';
  EXPECT_EQ(first(big).field(2), "q");
  big[limit - 1] = '\0';
  EXPECT_EQ(first(big).field(2), "q");
  big[7] = '\0';
  EXPECT_EQ(first(big).field(1).size(), 7u);
}

TEST(SplitFields, EveryLengthAndAlignment) {
  // A zero, or a separator, at each place of a buffer fenced by other bytes, from every start.
  std::vector<char> buffer(200, 'x');
  buffer.back() = '\0';
  for (std::size_t start = 0; start < 40; ++start) {
    for (std::size_t length = 0; start + length + 1 < buffer.size(); length += 3) {
      for (const char end : {'\0', '|'}) {
        buffer[start + length] = end;
        const param_fields f = split_fields(buffer.data() + start, 2);
        EXPECT_EQ(f.field(1).size(), length) << start << "+" << length;
        EXPECT_EQ(f.field(2).size(), end == '|' ? buffer.size() - start - length - 2 : 0);
        buffer[start + length] = 'x';
      }
    }
  }
}

TEST(SplitFields, NeverReadsPastTheTextIntoTheNextPage) {
  // The page after the text faults on any access. Texts of every length up to two pages, so
  // the scan reaches the end through each of its strides: ended by a zero, or by the last
  // separator the split needs, with no zero after it at all. The fault page at both parities,
  // so a scan stepping by a wrong page size overruns in every run.
  for (const auto parity : {testing::page_parity::even, testing::page_parity::odd}) {
    SCOPED_TRACE(parity == testing::page_parity::odd ? "odd" : "even");
    testing::guarded_pages pages(2, parity);
    for (std::size_t length = 0; length < 2 * 4096; length += length < 300 ? 1 : 61) {
      char* const text = pages.end() - length - 1;
      std::memset(text, 'x', length);
      text[length] = '\0';
      ASSERT_EQ(split_fields(text, 5).field(1).size(), length);
      text[length] = '|';
      ASSERT_EQ(split_fields(text, 1).field(1).size(), length);
      if (length > 0) {
        text[0] = '|';
        ASSERT_EQ(split_fields(text, 2).field(2).size(), length - 1);
      }
    }
  }
}

TEST(SplitFields, ALimitPastTheTopOfTheAddressSpaceDoesNotWrap) {
  // Only a text ending near the top of the address space reaches this guard: a 32-bit process
  // with large addresses can hold one, a 64-bit one cannot. The last address is the one place
  // a native test can stand for it: no byte lies before the top there, so a correct split reads
  // nothing, while a limit wrapped round to a low address would give 2^24 bytes (or a fault).
  const auto* const top = reinterpret_cast<const char*>(UINTPTR_MAX);
  const param_fields f = split_fields(top, 2);
  EXPECT_EQ(f.field(1).size(), 0u);
  EXPECT_EQ(f.field(2).size(), 0u);
}

}  // namespace
}  // namespace vq
