#include "actions/search_differential.h"

#include <string_view>

#include "actions/search.h"
#include "actions/search_reference.h"

namespace vq::reference {

namespace {

class generator {
 public:
  uint32_t next() {
    state_ ^= state_ << 13;
    state_ ^= state_ >> 17;
    state_ ^= state_ << 5;
    return state_;
  }

  std::string text(std::string_view alphabet, std::size_t length) {
    std::string s(length, '\0');
    for (char& c : s) c = alphabet[next() % alphabet.size()];
    return s;
  }

 private:
  uint32_t state_ = 2463534242u;
};

void compare(differential_result& r, const std::string& source, const std::string& needle,
             int32_t start) {
  ++r.compared;
  const int32_t got = position_search(source, needle, start);
  const int32_t expected = reference::position_search(source, needle, start);
  if (got != expected && r.failed++ == 0) r.first = {source, needle, start, got, expected};
}

void compare_all_starts(differential_result& r, const std::string& source,
                        const std::string& needle) {
  const int32_t l = static_cast<int32_t>(source.size());
  for (int32_t s : {INT32_MIN, INT32_MIN + 1, INT32_MAX, INT32_MAX - 1}) {
    compare(r, source, needle, s);
  }
  for (int32_t s = -l - 3; s <= l + 3; ++s) compare(r, source, needle, s);
}

void random_texts(differential_result& r, generator& g) {
  using namespace std::string_view_literals;
  const std::string_view alphabets[] = {"ab"sv, "abc"sv, "a\0\x80\xff"sv};
  const char* const shaped[] = {"", "aaab", "baaa", "abab", "abcabd", "aabaab"};
  for (std::string_view alphabet : alphabets) {
    for (int round = 0; round < 300; ++round) {
      const std::string source = g.text(alphabet, g.next() % (round < 200 ? 40 : 200));
      for (const char* needle : shaped) compare_all_starts(r, source, needle);
      for (int k = 0; k < 4; ++k) compare_all_starts(r, source, g.text(alphabet, g.next() % 9));
      for (int k = 0; k < 4 && !source.empty(); ++k) {
        compare_all_starts(r, source, source.substr(g.next() % source.size(), 1 + g.next() % 9));
      }
    }
  }
}

// Near-copies of the needle make the filter give up; the planted copy must still be found.
void long_periodic_texts(differential_result& r) {
  std::string hay;
  while (hay.size() < 200000) hay += "bbaaabb";
  const std::string needles[] = {"bbbaabb", std::string(40, 'a'), "bbaaabbbbaaabbb"};
  for (const std::string& needle : needles) {
    std::string planted = hay;
    planted.replace(123457, needle.size(), needle);
    const int32_t l = static_cast<int32_t>(planted.size());
    for (int32_t s : {1, 2, 100000, 123458, -1, -2, -100000, l, -l}) {
      compare(r, planted, needle, s);
    }
  }
}

}  // namespace

differential_result run_search_differential() {
  differential_result r;
  generator g;
  random_texts(r, g);
  long_periodic_texts(r);
  return r;
}

}  // namespace vq::reference
