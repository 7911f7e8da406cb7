#include "search/find.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <cstring>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "support/guarded_pages.h"
#include "support/scan_paths.h"
#include "blocks/scan.h"
#include "search/two_way.h"

namespace vq {
namespace {

using namespace std::string_view_literals;

constexpr std::size_t nf = not_found;

// Most tests run once per byte scanner pair: the prefilter's candidate loop follows the choice.
using Find = testing::scan_paths_fixture;
INSTANTIATE_TEST_SUITE_P(Paths, Find, ::testing::ValuesIn(testing::every_scan_path),
                         testing::scan_path_name);

struct find_row {
  std::string_view hay;
  std::string_view needle;
  std::size_t first;
  std::size_t last;
};

TEST_P(Find, Table) {
  const find_row rows[] = {
      {""sv, ""sv, 0, 0},
      {"abc"sv, ""sv, 0, 3},
      {""sv, "a"sv, nf, nf},
      {"ab"sv, "abc"sv, nf, nf},
      {"abc"sv, "abc"sv, 0, 0},
      {"abcb"sv, "b"sv, 1, 3},
      {"aaaa"sv, "aa"sv, 0, 2},
      {"aaaaa"sv, "aaa"sv, 0, 2},
      {"abababab"sv, "abab"sv, 0, 4},
      {"xabcabcy"sv, "abcy"sv, 4, 4},
      {"xabcabcy"sv, "xabc"sv, 0, 0},
      {"the cat sat on the mat"sv, "the"sv, 0, 15},
      {"the cat sat on the mat"sv, "at "sv, 5, 9},
      {"a\0b\0a\0b"sv, "\0a\0"sv, 3, 3},
      {"\xff\x80\xff\x80\xff"sv, "\x80\xff"sv, 1, 3},
      {"\x7f\x80\x81\x80\x7f"sv, "\x80\x7f"sv, 3, 3},
      {"aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaab"sv, "aaaaaaaaab"sv, 31, 31},
      {"baaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa"sv, "baaaaaaaaa"sv, 0, 0},
      {"aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa"sv, "aaaaaaaaab"sv, nf, nf},
  };
  for (const find_row& r : rows) {
    SCOPED_TRACE(::testing::Message()
                 << "'" << std::string(r.needle) << "' in '" << std::string(r.hay) << "'");
    EXPECT_EQ(find_first(r.hay, r.needle), r.first);
    EXPECT_EQ(find_last(r.hay, r.needle), r.last);
  }
}

std::string random_text(std::mt19937& rng, std::string_view alphabet, std::size_t length) {
  std::uniform_int_distribution<std::size_t> pick(0, alphabet.size() - 1);
  std::string s(length, '\0');
  for (char& c : s) c = alphabet[pick(rng)];
  return s;
}

std::string repeat(std::string_view unit, std::size_t times) {
  std::string s;
  for (std::size_t i = 0; i < times; ++i) s += unit;
  return s;
}

// Needles that stress periodicity and the choice of probe bytes.
std::vector<std::string> shaped_needles() {
  return {repeat("a", 7) + "b",
          "b" + repeat("a", 7),
          repeat("ab", 5),
          repeat("ab", 5) + "a",
          repeat("aab", 4),
          "abaabaaab",
          repeat("a", 20),
          repeat("abc", 3) + "abd",
          "aa",
          "ab",
          "aba",
          "bbb"};
}

// The standard library's searches are the oracle. The hay sits at every alignment in a
// larger buffer, so the block loops start and end everywhere.
void expect_like_std(std::string_view hay, std::string_view needle) {
  ASSERT_EQ(find_first(hay, needle), hay.find(needle)) << "first";
  ASSERT_EQ(find_last(hay, needle), hay.rfind(needle)) << "last";
  if (!needle.empty() && needle.size() <= hay.size()) {
    ASSERT_EQ(two_way_first(hay.data(), hay.size(), needle.data(), needle.size()), hay.find(needle))
        << "two-way first";
    ASSERT_EQ(two_way_last(hay.data(), hay.size(), needle.data(), needle.size()), hay.rfind(needle))
        << "two-way last";
  }
}

TEST_P(Find, AgreesWithStdOnRandomTexts) {
  const std::string_view alphabets[] = {"ab"sv, "abc"sv, "a\0\x80\xff"sv, "etaoin sh"sv};
  std::mt19937 rng(7);
  for (std::string_view alphabet : alphabets) {
    for (int round = 0; round < 300; ++round) {
      std::uniform_int_distribution<std::size_t> len(0, round % 3 == 0 ? 400 : 70);
      std::string buffer = random_text(rng, alphabet, len(rng) + 16);
      const std::size_t shift = static_cast<std::size_t>(round) % 16;
      const std::string_view hay = std::string_view(buffer).substr(shift);
      std::vector<std::string> needles = shaped_needles();
      std::uniform_int_distribution<std::size_t> nlen(1, 24);
      for (int i = 0; i < 6; ++i) needles.push_back(random_text(rng, alphabet, nlen(rng)));
      for (int i = 0; i < 6 && !hay.empty(); ++i) {
        std::uniform_int_distribution<std::size_t> at(0, hay.size() - 1);
        needles.emplace_back(hay.substr(at(rng), nlen(rng)));
      }
      for (const std::string& needle : needles) {
        SCOPED_TRACE(::testing::Message() << "'" << needle << "' in '" << std::string(hay) << "'");
        expect_like_std(hay, needle);
      }
    }
  }
}

// A needle planted at every place in a hay of its near-copies: the hand-over lands at every
// distance from it, including right beside it (checked: the boundary start is the match), so
// a start lost or searched twice at the hand-over shows.
TEST_P(Find, NoStartIsLostAtTheHandOver) {
  const std::string needle = "bbbaabb";
  const std::string noise = repeat("bbaaabb", 220);
  int beside = 0;
  for (std::size_t at = 0; at + needle.size() <= noise.size(); ++at) {
    std::string hay = noise;
    hay.replace(at, needle.size(), needle);
    SCOPED_TRACE(::testing::Message() << "needle at " << at);
    expect_like_std(hay, needle);
    const filter_outcome f = filter_last(hay.data(), hay.size(), needle.data(), needle.size());
    beside += f.gave_up && f.index > 0 && hay.rfind(needle) == f.index - 1;
  }
  EXPECT_GT(beside, 0);
}

// Forward, the first open start after a give-up is itself the match: found there, not one on;
// also when the hay ends with that match, so the one start left is the last one.
TEST_P(Find, ForwardHandOverResumesAtTheFirstOpenStart) {
  const std::string needle = "bbaaabbbaaaa";
  std::string hay = repeat("bbaaabb", 3000);
  hay.replace(553, needle.size(), needle);
  for (const std::size_t length : {hay.size(), 553 + needle.size()}) {
    const std::string_view cut(hay.data(), length);
    SCOPED_TRACE(::testing::Message() << "hay length " << length);
    const filter_outcome f = filter_first(cut.data(), cut.size(), needle.data(), needle.size());
    ASSERT_TRUE(f.gave_up);
    ASSERT_EQ(f.index, 553u);
    expect_like_std(cut, needle);
  }
}

// The hay flush against a page that faults on any access, on either side: a candidate loop
// that tests one start too many reads past the hay and crashes. Hays made of the needle itself
// keep candidates coming up to the very last start.
TEST_P(Find, NeverReadsOutsideTheHay) {
  testing::guarded_pages pages;
  const std::string needles[] = {"ab", "aba", "abcd", repeat("a", 40) + "b"};
  for (const std::string& needle : needles) {
    const std::string fill = repeat(needle, 400 / needle.size() + 1);
    for (std::size_t len = 0; len <= 300; ++len) {
      SCOPED_TRACE(::testing::Message() << "needle " << needle << ", hay length " << len);
      char* const tail = pages.end() - len;
      std::memcpy(tail, fill.data() + fill.size() - len, len);
      expect_like_std(std::string_view(tail, len), needle);
      std::memcpy(pages.begin(), fill.data(), len);
      expect_like_std(std::string_view(pages.begin(), len), needle);
    }
  }
}

// Backward, the filter gives up at the very first start, where the hay is the needle's length
// and differs from it late: nothing is left open, and nothing before the hay (a faulting page)
// may be read.
TEST_P(Find, BackwardGiveUpAtTheFirstStartLeavesNothingOpen) {
  testing::guarded_pages pages(2);
  const std::string needle = "x" + repeat("a", 4998) + "z";
  std::memcpy(pages.begin(), needle.data(), needle.size());
  pages.begin()[4990] = 'b';
  const std::string_view hay(pages.begin(), needle.size());
  const filter_outcome f = filter_last(hay.data(), hay.size(), needle.data(), needle.size());
  ASSERT_TRUE(f.gave_up);
  ASSERT_EQ(f.index, 0u);
  expect_like_std(hay, needle);
}

// A periodic hay and a needle of the same period with one defect: the probes fit at nearly
// every start and verification fails late, so the filter hands over, and the planted copies
// sit at random distances from where it does.
TEST_P(Find, DefectivePeriodicNeedles) {
  std::mt19937 rng(99);
  int gave_up = 0;
  for (int round = 0; round < 400; ++round) {
    std::uniform_int_distribution<std::size_t> unit_len(1, 3);
    std::uniform_int_distribution<std::size_t> nlen(6, 40);
    std::string unit = random_text(rng, "ab", unit_len(rng));
    if (unit.find('a') == std::string::npos) unit[0] = 'a';
    std::string needle = repeat(unit, 40).substr(0, nlen(rng));
    std::uniform_int_distribution<std::size_t> defect(1, needle.size() - 2);
    needle[defect(rng)] ^= 3;  // 'a' <-> 'b'
    std::string hay = repeat(unit, 1500 / unit.size());
    std::uniform_int_distribution<std::size_t> at(0, hay.size() - needle.size());
    for (int copies = round % 3; copies > 0; --copies) hay.replace(at(rng), needle.size(), needle);
    SCOPED_TRACE(::testing::Message() << "'" << needle << "' in '" << hay << "'");
    expect_like_std(hay, needle);
    gave_up += filter_first(hay.data(), hay.size(), needle.data(), needle.size()).gave_up;
    gave_up += filter_last(hay.data(), hay.size(), needle.data(), needle.size()).gave_up;
  }
  EXPECT_GT(gave_up, 200);
}

// Inputs that make naive or badly mirrored searches quadratic. On 16 MiB, a quadratic path
// would run for minutes; linear ones take milliseconds.
TEST(Find, AdversarialInputsStayLinear) {
  constexpr std::size_t big = std::size_t{1} << 24;
  const std::string as(big, 'a');
  const std::string abs = repeat("ab", big / 2);
  struct row {
    const std::string* hay;
    std::string needle;
    std::size_t first;
    std::size_t last;
  };
  const row rows[] = {
      {&as, repeat("a", 1000) + "b", nf, nf},
      {&as, "b" + repeat("a", 1000), nf, nf},
      {&as, repeat("a", 500) + "b" + repeat("a", 499), nf, nf},
      {&abs, repeat("ab", 500) + "b", nf, nf},
      {&abs, "b" + repeat("ab", 500), 1, big - 1001},
      {&abs, repeat("ab", 250) + "a" + repeat("ab", 250), nf, nf},
      {&abs, repeat("ab", 600), 0, big - 1200},
  };
  for (const row& r : rows) {
    SCOPED_TRACE(::testing::Message()
                 << "row of needle " << r.needle.substr(0, 3) << ".. " << r.needle.size());
    EXPECT_EQ(find_first(*r.hay, r.needle), r.first);
    EXPECT_EQ(find_last(*r.hay, r.needle), r.last);
  }
}

}  // namespace
}  // namespace vq
