// The differential check of the search against its plain reference, as a plain program for
// the 32-bit Windows build (run under Wine): random texts over small alphabets, every start,
// both directions, plus long adversarial texts. Prints "N passed, N failed".
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

#include "actions/search.h"
#include "actions/search_reference.h"
#include "text/find.h"
#include "text/scan.h"

namespace {

int passed = 0;
int failed = 0;

void check(bool ok, const char* what, std::string_view source, std::string_view needle,
           int32_t start) {
  if (ok) {
    ++passed;
    return;
  }
  if (++failed <= 10) {
    std::printf("FAIL %s: needle of %u in source of %u, start %ld\n", what,
                static_cast<unsigned>(needle.size()), static_cast<unsigned>(source.size()),
                static_cast<long>(start));
  }
}

// Small deterministic generator: the same texts on every platform.
uint32_t state = 2463534242u;
uint32_t next() {
  state ^= state << 13;
  state ^= state >> 17;
  state ^= state << 5;
  return state;
}

std::string random_text(std::string_view alphabet, std::size_t length) {
  std::string s(length, '\0');
  for (char& c : s) c = alphabet[next() % alphabet.size()];
  return s;
}

void compare_all_starts(const std::string& source, const std::string& needle) {
  const int32_t l = static_cast<int32_t>(source.size());
  const int32_t extremes[] = {INT32_MIN, INT32_MIN + 1, INT32_MAX, 0};
  for (int32_t s : extremes) {
    check(vq::position_search(source, needle, s) ==
              vq::reference::position_search(source, needle, s),
          "extreme start", source, needle, s);
  }
  for (int32_t s = -l - 2; s <= l + 2; ++s) {
    check(vq::position_search(source, needle, s) ==
              vq::reference::position_search(source, needle, s),
          "start", source, needle, s);
  }
}

void random_rounds() {
  using namespace std::string_view_literals;
  const std::string_view alphabets[] = {"ab"sv, "abc"sv, "a\0\x80\xff"sv};
  for (std::string_view alphabet : alphabets) {
    for (int round = 0; round < 400; ++round) {
      const std::string source = random_text(alphabet, next() % (round < 300 ? 40 : 300));
      for (int k = 0; k < 8; ++k) {
        std::string needle = random_text(alphabet, next() % 8);
        if (k >= 4 && !source.empty()) {
          needle = source.substr(next() % source.size(), 1 + next() % 20);
        }
        compare_all_starts(source, needle);
      }
    }
  }
}

// Long periodic texts where the filter hands over to two-way, and the byte scanners over
// every alignment; checked against the reference at a few starts.
void long_rounds() {
  std::string hay;
  while (hay.size() < 200000) hay += "bbaaabb";
  const std::string needles[] = {"bbbaabb", std::string(40, 'a'), "bbaaabbbbaaabbb"};
  for (const std::string& needle : needles) {
    std::string planted = hay;
    planted.replace(123457, needle.size(), needle);
    const int32_t l = static_cast<int32_t>(planted.size());
    const int32_t starts[] = {1, 2, 100000, -1, -2, -100000, l, -l};
    for (int32_t s : starts) {
      check(vq::position_search(planted, needle, s) ==
                vq::reference::position_search(planted, needle, s),
            "long", planted, needle, s);
    }
  }
  char buf[64 + 160];
  for (std::size_t offset = 0; offset < 32; ++offset) {
    for (std::size_t len = 0; len < 100; ++len) {
      for (char& c : buf) c = '\xff';
      const char* begin = buf + 32 + offset;
      for (std::size_t i = 0; i < len; ++i) buf[32 + offset + i] = '\x01';
      const bool none = vq::find_byte(begin, begin + len, '\xff') == begin + len &&
                        vq::find_byte_last(begin, begin + len, '\xff') == begin + len;
      check(none, "scanner bounds", std::string_view(begin, len), "", 0);
    }
  }
}

}  // namespace

int main() {
  random_rounds();
  long_rounds();
  std::printf("%d passed, %d failed\n", passed, failed);
  return failed == 0 ? 0 : 1;
}
