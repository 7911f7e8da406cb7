// The file read action on real files: the system's own semantics under Wine, the native
// stand-in's natively. Every run must also leave the file closed, unchanged, and the error mode
// as it was.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "actions/file_read_fixture.h"
#include "platform/platform.h"
#include "support/fake_os.h"

namespace vq::testing {
namespace {

using bytes = std::optional<std::string>;
const std::string sample("\x41\x00\x0D\x0A\x42", 5);
// Nothing but control bytes, longer than any scanner's block.
const std::string controls = [] {
  std::string made = "\r\n\t\x01\x1f";
  for (int i = 0; i < 100; ++i) made += static_cast<char>(i * 5 % 32);
  return made;
}();

class FileRead : public file_read_run {};

TEST_F(FileRead, StartCountAndModeOnAFile) {
  const struct {
    const char* fields;  // start|count|mode
    bytes value;
    const std::string& content = sample;
  } rows[] = {
      {"1|4|None", std::string("A\0\r\n", 4)},
      {"1|4|all", "A"},
      {"1|5|ALL", "AB"},
      {"1|5|aLl", "AB"},
      {"1|5|ALL ", sample},
      {"1|5|A", sample},
      {"2|3|", std::string("\0\r\n", 3)},
      {"5|1|", "B"},
      // Positions before the first byte are refused by the system: the read starts at byte 1.
      {"0|2|", std::string("A\0", 2)},
      {"-5|2|", std::string("A\0", 2)},
      {"|2|", std::string("A\0", 2)},
      {"-2147483648|2|", std::string("A\0", 2)},
      {"6|5|", std::nullopt},
      {"7|1|", std::nullopt},
      {"2147483647|5|", std::nullopt},
      {"4|10|", "\nB"},
      {"4|2|all", "B"},  // one byte stripped: the text is one shorter
      {"1|0|", std::nullopt},
      {"1||", std::nullopt},
      {"1|-1|", std::nullopt},
      {"1|-2147483648|", std::nullopt},
      // 2 GiB could never be reserved in a 32-bit process: only what the file holds is.
      {"1|2147483647|", sample},
      {"3|2147483647|all", "B"},
      // Every byte read stripped: the empty text, not a text of no bytes.
      {"2|3|ALL", std::nullopt},
      {"1|5|ALL", std::nullopt, controls},
      {"1|2147483647|all", std::nullopt, controls},
      {"1|2147483647|None", controls, controls},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.fields);
    const std::string file = folder.write("sample.bin", r.content);
    EXPECT_EQ(run(file, r.fields), r.value);
    EXPECT_TRUE(openable_exclusively(file)) << "the run left its file open";
    EXPECT_EQ(folder.read("sample.bin"), r.content);
  }
}

TEST_F(FileRead, ReservesWhatTheFileHoldsNotTheCount) {
  const std::string ten = "0123456789";
  const std::string file = folder.write("ten.bin", ten);
  fake_os fake;
  EXPECT_EQ(run(file, "1|2147483647|"), ten);
  EXPECT_EQ(fake.read_file_counts, std::vector<uint32_t>{10});
  fake.read_file_counts.clear();
  EXPECT_EQ(run(file, "8|2147483647|"), "789");
  EXPECT_EQ(run(file, "11|2147483647|"), std::nullopt);
  EXPECT_EQ(run(file, "20|5|"), std::nullopt);  // past the end: nothing left to reserve
  EXPECT_EQ(run(file, "-3|4|"), "0123");
  EXPECT_EQ(fake.read_file_counts, (std::vector<uint32_t>{3, 0, 0, 4}));
}

TEST_F(FileRead, NamesThatOpenNothingOrCreateAFile) {
  folder.write("present.bin", "x");
  std::filesystem::create_directory(folder.root() / "sub");
  const struct {
    std::string name;
    bool creates;  // leaves an empty file of that name behind
  } rows[] = {
      {folder.path("missing.bin"), true},
      {folder.path("no-such-folder/missing.bin"), false},
      {folder.path("sub"), false},
      {"", false},
      {folder.path("*"), false},
      {folder.path("*.bin"), false},
      {folder.path("present.bi?"), false},
      {folder.path("a?b"), false},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.name);
    const auto before = folder.listing();
    EXPECT_EQ(run(r.name, "1|10|"), std::nullopt);
    auto expected = before;
    if (r.creates) {
      expected.insert(expected.begin(), "missing.bin");
      EXPECT_EQ(folder.read("missing.bin"), "");
    }
    EXPECT_EQ(folder.listing(), expected);
  }
  EXPECT_TRUE(std::filesystem::is_directory(folder.root() / "sub"));
  EXPECT_FALSE(std::filesystem::exists(folder.root() / "no-such-folder"));
}

TEST_F(FileRead, CountZeroStillCreatesAndCloses) {
  const std::string file = folder.path("made.bin");
  EXPECT_EQ(run(file, "1|0|"), std::nullopt);
  EXPECT_EQ(folder.read("made.bin"), "");
  EXPECT_TRUE(openable_exclusively(file));
}

TEST_F(FileRead, OnlyTheFirst255BytesOfTheNameCount) {
  // A path of exactly 255 bytes naming a real file, then a tail with a pattern in it.
  const std::string head = folder.path("");
  ASSERT_LT(head.size(), 200u);
  const std::string file_name(255 - head.size(), 'n');
  const std::string file = folder.write(file_name, "long");
  ASSERT_EQ(file.size(), 255u);
  EXPECT_EQ(run(file + "*?tail" + std::string(39, 't'), "1|9|"), "long");
  EXPECT_EQ(folder.listing(), std::vector<std::string>{file_name});
  // A name whose 255th byte differs names a file that is not there: it is created, the pattern
  // after it counting for nothing.
  EXPECT_EQ(run(file.substr(0, 254) + "m*", "1|9|"), std::nullopt);
  EXPECT_EQ(folder.listing().size(), 2u);
}

TEST_F(FileRead, AFileHeldOpenByAnotherHandleYieldsNothing) {
  const std::string file = folder.write("held.bin", sample);
  os_security_attributes security{sizeof(os_security_attributes), nullptr, 0};
  const os_handle held =
      os.create_file_a(file.c_str(), os_const::generic_read, 0, &security, os_const::open_always,
                       os_const::file_attribute_normal, nullptr);
  ASSERT_NE(held, invalid_handle());
  EXPECT_EQ(run(file, "1|5|"), std::nullopt);
  os.close_handle(held);
  EXPECT_EQ(run(file, "1|5|"), sample);
}

TEST_F(FileRead, AReadOnlyFileIsReadInFull) {
  const std::string file = folder.write("readonly.bin", sample);
  namespace fs = std::filesystem;
  fs::permissions(file, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
  // Windows refuses write access to a read-only file even to an administrator, and so does the
  // stand-in; Wine running as root grants it. Either way the file is read, on the attempt that
  // the system allows.
  os_security_attributes security{sizeof(os_security_attributes), nullptr, 0};
  const os_handle probe = os.create_file_a(file.c_str(), os_const::generic_read |
                                           os_const::generic_write, 0, &security,
                                           os_const::open_always,
                                           os_const::file_attribute_normal, nullptr);
  const bool write_refused = probe == invalid_handle();
  if (!write_refused) os.close_handle(probe);
  fake_os fake;
  EXPECT_EQ(run(file, "1|100|"), sample);
  ASSERT_EQ(fake.create_file_calls.size(), write_refused ? 2u : 1u);
  EXPECT_EQ(fake.create_file_calls[0].access, os_const::generic_read | os_const::generic_write);
  EXPECT_EQ(fake.create_file_calls.back().access,
            write_refused ? os_const::generic_read : fake.create_file_calls[0].access);
  EXPECT_EQ(folder.read("readonly.bin"), sample);
}

}  // namespace
}  // namespace vq::testing
