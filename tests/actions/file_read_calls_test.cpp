// The file read action's system calls as the fake system sees them: the guard around each, the
// arguments, and what the failure of each call does to the outcome.
#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "actions/file_read_fixture.h"
#include "platform/platform.h"
#include "plugin/plugin.h"
#include "support/fake_os.h"

namespace vq::testing {
namespace {

using names = std::vector<std::string>;
using bytes = std::optional<std::string>;

// The log without the callback texts' allocations.
names without_strings(const names& log) {
  names kept;
  for (const auto& entry : log)
    if (entry.rfind("Sys", 0) != 0) kept.push_back(entry);
  return kept;
}

// The file calls alone, guard and all else left out.
names file_calls(const names& log) {
  names kept;
  for (const auto& entry : log)
    if (entry == "CreateFileA" || entry == "GetFileType" || entry == "SetFilePointer" ||
        entry == "GetFileSizeEx" || entry == "ReadFile" || entry == "CloseHandle")
      kept.push_back(entry);
  return kept;
}

class FileReadCalls : public file_read_run {
 protected:
  // pxExecAction with nothing of the test's own in the fake's log.
  bytes exec(const std::string& parameters) {
    set_variable_calls.clear();
    const char* text = parameters.c_str();
    EXPECT_EQ(pxExecAction(4, &text), 1);
    EXPECT_EQ(set_variable_calls.size(), 1u);
    return set_variable_calls.empty() ? std::nullopt : set_variable_calls.back().value;
  }
};

TEST_F(FileReadCalls, EveryCallIsGuarded) {
  const std::string file = folder.write("ten.bin", "0123456789");
  const uint32_t outer = os.set_error_mode(0x0004);
  fake_os fake;
  EXPECT_EQ(exec(file + "|3|4||v"), "2345");
  names expected;
  for (const char* call : {"CreateFileA", "GetFileType", "SetFilePointer", "SetFilePointer",
                           "GetFileSizeEx", "ReadFile", "CloseHandle"}) {
    for (const char* step : {"lock", "SetErrorMode(32769)", "SetLastError"}) expected.push_back(step);
    expected.insert(expected.end(), {call, "GetLastError", "SetErrorMode(4)", "unlock"});
  }
  EXPECT_EQ(without_strings(fake.log), expected);
  fake.real.set_error_mode(outer);
}

TEST_F(FileReadCalls, ArgumentsOfTheOpen) {
  const std::string file = folder.write("ten.bin", "0123456789");
  fake_os fake;
  exec(file + "|1|1||v");
  ASSERT_EQ(fake.create_file_calls.size(), 1u);
  const auto& open = fake.create_file_calls[0];
  EXPECT_EQ(open.name, file);
  EXPECT_EQ(open.access, os_const::generic_read | os_const::generic_write);
  EXPECT_EQ(open.share, 0u);
  EXPECT_TRUE(open.has_security);
  EXPECT_EQ(open.security_length, sizeof(os_security_attributes));
  if (sizeof(void*) == 4) {
    EXPECT_EQ(open.security_length, 12u);
  }
  EXPECT_EQ(open.security_descriptor, nullptr);
  EXPECT_EQ(open.inherit_handle, 1);
  EXPECT_EQ(open.disposition, os_const::open_always);
  EXPECT_EQ(open.flags, os_const::file_attribute_normal);
  EXPECT_EQ(open.template_file, nullptr);
}

TEST_F(FileReadCalls, StartBecomesA64BitOffsetSplitInHalves) {
  const std::string file = folder.write("ten.bin", "0123456789");
  const struct {
    int32_t start;
    int32_t low;
    int32_t high;
  } rows[] = {{1, 0, 0},  {3, 2, 0},   {INT32_MAX, INT32_MAX - 1, 0},
              {0, -1, -1}, {-5, -6, -1}, {INT32_MIN, INT32_MAX, -1}};
  for (const auto& r : rows) {
    SCOPED_TRACE(r.start);
    fake_os fake;
    exec(file + "|" + std::to_string(r.start) + "|1||v");
    ASSERT_EQ(fake.set_file_pointer_calls.size(), 2u);
    for (const auto& move : fake.set_file_pointer_calls) {
      EXPECT_TRUE(move.has_high);
      EXPECT_EQ(move.method, os_const::file_begin);
    }
    EXPECT_EQ(fake.set_file_pointer_calls[0].low, 0) << "the open puts the pointer at 0";
    EXPECT_EQ(fake.set_file_pointer_calls[0].high, 0);
    EXPECT_EQ(fake.set_file_pointer_calls[1].low, r.low);
    EXPECT_EQ(fake.set_file_pointer_calls[1].high, r.high);
  }
}

TEST_F(FileReadCalls, NoSystemCallForEmptyNamesAndPatterns) {
  const std::string long_pattern = std::string(254, 'a') + "*";
  for (const std::string& name :
       names{"", "*", "?", "a*b", "dir/x?.txt", "*.*", long_pattern}) {
    SCOPED_TRACE(name);
    fake_os fake;
    EXPECT_EQ(exec(name + "|1|5|ALL|v"), std::nullopt);
    EXPECT_EQ(without_strings(fake.log), names{});
  }
}

TEST_F(FileReadCalls, EachCallFailing) {
  const std::string file = folder.write("ten.bin", "0123456789");
  const names all = {"CreateFileA",   "GetFileType", "SetFilePointer", "SetFilePointer",
                     "GetFileSizeEx", "ReadFile",    "CloseHandle"};
  names retried = all;
  retried.insert(retried.begin(), "CreateFileA");
  const struct {
    const char* call;
    int nth;
    uint32_t code;
    bytes value;
    names calls;
    bool succeeds = false;  // the call succeeds, yet leaves the code as its last-error value
  } rows[] = {
      {"CreateFileA", 1, 5, "2345", retried},
      {"CreateFileA", 0, 32, std::nullopt, {"CreateFileA", "CreateFileA"}},
      // Not a disk file: nothing positioned, nothing read, still closed.
      {"GetFileType", 0, 0, std::nullopt,
       {"CreateFileA", "GetFileType", "SetFilePointer", "CloseHandle"}},
      {"SetFilePointer", 1, 5, "2345", all},
      {"SetFilePointer", 2, 131, "0123", all},
      // Without the size, the whole count is reserved, as a plain read would.
      {"GetFileSizeEx", 0, 6, "2345", all},
      {"ReadFile", 0, 30, std::nullopt, all},
      {"ReadFile", 0, 0, std::nullopt, all},  // FALSE with no last error is a failure too
      {"CloseHandle", 0, 6, "2345", all},
      // ERROR_ALREADY_EXISTS after opening an existing file is no failure; a ReadFile that
      // returns TRUE with a last-error value left is one.
      {"CreateFileA", 1, 183, "2345", all, true},
      {"ReadFile", 0, 38, std::nullopt, all, true},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(std::string(r.call) + " #" + std::to_string(r.nth) + " code " +
                 std::to_string(r.code));
    fake_os fake;
    fake.failure_code = r.code;
    if (r.succeeds) {
      fake.leave_error(r.call, r.nth);
    } else {
      fake.fail(r.call, r.nth);
    }
    EXPECT_EQ(exec(file + "|3|4|None|v"), r.value);
    EXPECT_EQ(file_calls(fake.log), r.calls);
    EXPECT_EQ(fake.live_handles, 0) << "the run left its file open";
    if (fake.create_file_calls.size() == 2) {
      EXPECT_EQ(fake.create_file_calls[1].access, os_const::generic_read);
    }
  }
  EXPECT_EQ(folder.read("ten.bin"), "0123456789");
  EXPECT_TRUE(openable_exclusively(file));
}

TEST_F(FileReadCalls, AFailedSeekSizesTheReadFromWhereThePointerStayed) {
  const std::string file = folder.write("ten.bin", "0123456789");
  fake_os fake;
  fake.failure_code = 131;
  fake.fail("SetFilePointer", 2);
  EXPECT_EQ(exec(file + "|3|100|None|v"), "0123456789");
  EXPECT_EQ(fake.read_file_counts, std::vector<uint32_t>{10});
}

TEST_F(FileReadCalls, AReadRefusedForResourcesComesInPieces) {
  // 3 MiB that repeats nowhere near a piece's length, control bytes included.
  std::string content(3 << 20, '\0');
  for (std::size_t i = 0; i < content.size(); ++i) content[i] = static_cast<char>(i * 7 + i / 251);
  const std::string file = folder.write("big.bin", content);
  auto stripped = [](std::string s) {
    std::erase_if(s, [](char c) { return static_cast<unsigned char>(c) < 32; });
    return s;
  };
  constexpr uint32_t mib = 1 << 20;
  const struct {
    const char* fields;  // start|count|mode
    uint32_t refuse_above;
    uint32_t code;
    bytes value;
    std::size_t reads = 0;  // how many ReadFile calls; 0 for any
    int also_refused = 0;   // a ReadFile refused with the code as well, after others succeeded
  } rows[] = {
      {"1|2147483647|None", mib, 1450, content},
      {"1000001|2147483647|None", mib, 1816, content.substr(1000000)},
      {"1000001|2147483647|None", mib, 1450, content.substr(1000000), 0, 4},
      {"1|3145728|ALL", mib, 1453, stripped(content)},
      {"7|3000000|all", mib, 8, stripped(content.substr(6, 3000000))},
      // Refused down to the smallest piece (64 KiB): nothing, and nothing left behind.
      {"1|2147483647|None", 0, 1450, std::nullopt},
      // Any other failure is not retried.
      {"1|2147483647|None", 0, 5, std::nullopt, 1},
      // A read the system takes whole stays one ReadFile.
      {"1|1000|None", mib, 1450, content.substr(0, 1000), 1},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(std::string(r.fields) + " code " + std::to_string(r.code));
    fake_os fake;
    fake.refuse_reads_above = r.refuse_above;
    fake.refusal_code = r.code;
    if (r.also_refused) {
      fake.failure_code = r.code;
      fake.fail("ReadFile", r.also_refused);
    }
    EXPECT_EQ(exec(file + "|" + r.fields + "|v"), r.value);
    if (r.reads) {
      EXPECT_EQ(fake.read_file_counts.size(), r.reads);
    }
    if (!r.value && r.code == 1450) {
      EXPECT_EQ(fake.read_file_counts.back(), 64u * 1024) << "the smallest piece is 64 KiB";
    }
    EXPECT_EQ(fake.live_handles, 0);
    EXPECT_EQ(fake.live_strings, 0);
  }
}

TEST_F(FileReadCalls, ReservationFailureReadsNothing) {
  // A count the size query cannot cut down (the size is unknown) and a 32-bit process cannot
  // hold.
  if (sizeof(void*) != 4) GTEST_SKIP() << "a 64-bit process may well reserve 2 GiB";
  const std::string file = folder.write("ten.bin", "0123456789");
  fake_os fake;
  fake.fail("GetFileSizeEx");
  EXPECT_EQ(exec(file + "|1|2147483647||v"), std::nullopt);
  EXPECT_EQ(fake.live_handles, 0);
}

}  // namespace
}  // namespace vq::testing
