#include "text/number.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "text/number_cases.h"
#include "text/number_generator.h"
#include "text/number_reference.h"

namespace vq {
namespace {

// Control bytes escaped and long fields shortened, so a failing row can be read.
std::string shown(std::string_view field) {
  std::string s;
  for (char c : field.substr(0, 60)) {
    char buffer[8];
    const bool plain = c >= 0x20 && c < 0x7F;
    std::snprintf(buffer, sizeof buffer, plain ? "%c" : "\\x%02X",
                  plain ? c : static_cast<unsigned char>(c));
    s += buffer;
  }
  if (field.size() > 60) s += "... (" + std::to_string(field.size()) + " bytes)";
  return "\"" + s + "\"";
}

template <class Rows>
void expect_rows(const Rows& rows) {
  for (const auto& row : rows) {
    SCOPED_TRACE(shown(row.field));
    EXPECT_EQ(parse_number(row.field), row.expected);
    EXPECT_EQ(reference::parse_number(row.field), row.expected) << "the reference disagrees";
  }
}

TEST(ParseNumber, DocumentedRows) { expect_rows(number_cases::documented); }
TEST(ParseNumber, DecimalBoundaries) { expect_rows(number_cases::decimal_boundaries); }
TEST(ParseNumber, RadixBoundaries) { expect_rows(number_cases::radix_boundaries); }

TEST(ParseNumber, AgreesWithReferenceOnRandomFields) {
  std::mt19937_64 rng(20240611);
  int failures = 0;
  for (int k = 0; k < 200000 && failures < 10; ++k) {
    const std::string field = testing::random_number_field(rng);
    const int32_t expected = reference::parse_number(field);
    const int32_t got = parse_number(field);
    if (got != expected) ++failures;
    EXPECT_EQ(got, expected) << shown(field);
  }
}

// Fields of 2^24 bytes: counts of digits and zeros far past any 16-bit or 18-digit limit must
// still cancel exactly against the exponent.
TEST(ParseNumber, SixteenMebibyteFields) {
  const std::size_t n = std::size_t{1} << 24;
  const std::string zeros(n, '0');
  const std::string count = std::to_string(n);
  std::string digits;
  for (std::size_t k = 0; k < n; ++k) digits += static_cast<char>('1' + k % 9);
  const struct {
    std::string field;
    int32_t expected;
  } rows[] = {
      {"1" + zeros, 0},
      {"1" + zeros + "e-" + count, 1},
      {"1" + zeros + ".5e-" + count, 1},
      {"0." + zeros + "25e" + std::to_string(n + 2), 25},
      {"0." + zeros + "25e" + std::to_string(n + 1), 2},  // tie after 2^24 leading zeros
      {"0." + zeros + "35e" + std::to_string(n + 1), 4},
      {"-0." + zeros + "5e" + std::to_string(n + 1), -5},
      {"2.5" + zeros + "1", 2},  // the 1 is far past the 18th digit: still a tie
      {"3.5" + zeros + "1", 4},
      {digits, 0},
      {digits + "e-" + std::to_string(n - 10), 1234567891},  // 123456789123456789e-8
      {"1e" + zeros + "3", 1000},
      {"1e" + std::string(n, '9'), 0},
      {"1e-" + std::string(n, '9'), 0},
      {std::string(n, ' ') + "7", 7},
      {std::string(n, '\t') + "\n \r7", 0},  // the carriage return is not skipped
      {"&H" + zeros + "FFFF", 65535},        // leading zeros: not the 16-bit reading
      {"&H" + std::string(n, 'F'), 0},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(shown(row.field));
    EXPECT_EQ(parse_number(row.field), row.expected);
  }
}

// The printf "% d" form is the number text by definition; sentinels catch a stray write.
TEST(FormatNumber, MatchesPrintfAndRoundTrips) {
  std::vector<int32_t> values = {
      0, 1, -1, 9, 10, -10, 99, 100, INT32_MAX, INT32_MIN, INT32_MIN + 1, INT32_MAX - 1};
  for (int64_t p = 1; p <= 1000000000; p *= 10) {
    const auto q = static_cast<int32_t>(p);
    values.insert(values.end(), {q - 1, q, q + 1, -q + 1, -q, -q - 1});
  }
  std::mt19937 rng(7);
  for (int k = 0; k < 100000; ++k) values.push_back(static_cast<int32_t>(rng()));
  for (int32_t v : values) {
    SCOPED_TRACE(v);
    char expected[16];
    const int expected_length = std::snprintf(expected, sizeof expected, "% d", v);
    char buffer[number_text_capacity + 2];
    std::memset(buffer, '#', sizeof buffer);
    const std::size_t length = format_number(v, buffer + 1);
    ASSERT_EQ(std::string_view(buffer + 1, length),
              std::string_view(expected, static_cast<std::size_t>(expected_length)));
    EXPECT_EQ(buffer[0], '#');
    EXPECT_EQ(std::string_view(buffer + 1 + length, sizeof buffer - 1 - length),
              std::string(sizeof buffer - 1 - length, '#'));
    EXPECT_EQ(parse_number(std::string_view(buffer + 1, length)), v);
  }
}

// Every int32_t, for a long run (--gtest_also_run_disabled_tests); minutes, not seconds.
TEST(FormatNumber, DISABLED_EveryValueMatchesPrintf) {
  for (int64_t v = INT32_MIN; v <= INT32_MAX; ++v) {
    char expected[16];
    char text[number_text_capacity];
    const auto value = static_cast<int32_t>(v);
    const int expected_length = std::snprintf(expected, sizeof expected, "% d", value);
    const std::size_t length = format_number(value, text);
    ASSERT_EQ(std::string_view(text, length),
              std::string_view(expected, static_cast<std::size_t>(expected_length)));
    ASSERT_EQ(parse_number(std::string_view(text, length)), value);
  }
}

}  // namespace
}  // namespace vq
