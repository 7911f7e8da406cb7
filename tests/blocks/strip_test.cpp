// The mode test and control-byte stripping, against a plain reference.
#include "blocks/scan.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>

#include "actions/file_read.h"
#include "support/scan_paths.h"

namespace vq {
namespace {

std::string reference_strip(const std::string& data) {
  std::string kept;
  for (const char c : data)
    if (static_cast<unsigned char>(c) >= 32) kept.push_back(c);
  return kept;
}

std::string stripped(std::string data) {
  data.resize(strip_control_bytes(data.data(), data.size()));
  return data;
}

TEST(StripMode, SelectsStrippingOnlyForAllInAnyCase) {
  const struct {
    std::string mode;
    bool strips;
  } rows[] = {{"ALL", true},   {"all", true},  {"All", true},   {"aLl", true},
              {"ALL ", false}, {" ALL", false}, {"A", false},    {"AL", false},
              {"None", false}, {"", false},     {"ALLL", false}, {"A\0L", false},
              {"\xC1LL", false}, {"AlL|", false}};
  for (const auto& r : rows) {
    SCOPED_TRACE(r.mode);
    EXPECT_EQ(selects_stripping(r.mode), r.strips);
  }
}

// Every case below runs once per scanner table.
using Strip = testing::scan_paths_fixture;
INSTANTIATE_TEST_SUITE_P(Paths, Strip, ::testing::ValuesIn(testing::every_scan_path),
                         testing::scan_path_name);

TEST_P(Strip, DropsExactlyTheBytesBelow32) {
  std::string every;
  for (int c = 0; c < 256; ++c) every.push_back(static_cast<char>(c));
  EXPECT_EQ(stripped(every), every.substr(32));
  EXPECT_EQ(stripped(std::string("\x00\x09\x0A\x0D\x1F\x20\x7F\x80\xFF", 9)), "\x20\x7F\x80\xFF");
  EXPECT_EQ(strip_control_bytes(nullptr, 0), 0u);
}

TEST_P(Strip, MatchesTheReferenceAtEveryLengthAndMix) {
  // Lengths around the blocks of every width, with few, many and only control bytes.
  std::mt19937 random(7);
  for (const int control_percent : {0, 3, 50, 100}) {
    for (std::size_t length = 0; length < 70; ++length) {
      std::string data(length, ' ');
      for (char& c : data) {
        const bool control = static_cast<int>(random() % 100) < control_percent;
        c = static_cast<char>(control ? random() % 32 : 32 + random() % 224);
      }
      SCOPED_TRACE(std::to_string(control_percent) + "% length " + std::to_string(length));
      EXPECT_EQ(stripped(data), reference_strip(data));
    }
  }
}

TEST_P(Strip, LargeText) {
  // 16 MiB of text lines: clean blocks, mixed blocks and line ends at every alignment.
  std::string data(16u << 20, 'x');
  for (std::size_t i = 61; i < data.size(); i += 61) data[i] = '\n';
  for (std::size_t i = 1000; i < data.size(); i += 4099) data.replace(i, 20, 20, '\0');
  EXPECT_EQ(stripped(data), reference_strip(data));
}

}  // namespace
}  // namespace vq
