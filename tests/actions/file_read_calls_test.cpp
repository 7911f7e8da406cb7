// The file read action's system calls as the fake system sees them: the guard around each, the
// arguments, and what the failure of each call does to the outcome.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <string>
#include <string_view>
#include <vector>

#include "actions/file_read_fixture.h"
#include "platform/platform.h"
#include "plugin/plugin.h"
#include "support/callback_recorder.h"
#include "support/fake_os.h"
#include "host/callbacks.h"
#include "platform/os_errors.h"

namespace vq::testing {
namespace {

using names = std::vector<std::string>;
using bytes = std::optional<std::string>;

// Marks the publish in the fake's log, so the log shows what came before it.
void VQ_STDCALL record_in_log(const char* name, const char* value) {
  record_set_variable(name, value);
  if (fake_os* fake = current_fake()) fake->log.emplace_back("set-variable");
}

// The order that is the contract: the file closed before its data is stripped (a fresh text)
// and published. The fake checks the guard around each file call as it happens, here from the
// error mode a process usually has, 0; which file calls a run makes is left to the code.
TEST_F(FileReadCalls, TheFileIsClosedBeforeItsDataIsStrippedAndPublished) {
  const std::string file = folder.write("ten.bin", "01\r\n2345\t6789");
  register_host_callbacks({record_add_action, record_in_log});
  const uint32_t outer = os.set_error_mode(0);
  {
    fake_os fake;
    EXPECT_EQ(exec(file + "|1|9|ALL|v"), "012345");
    const names& log = fake.log;
    const auto at = [&log](const char* entry) {
      return std::find(log.begin(), log.end(), entry) - log.begin();
    };
    const auto read_at = at("ReadFile"), close_at = at("CloseHandle");
    EXPECT_LT(read_at, close_at);
    EXPECT_LT(close_at, at("set-variable"));
    // The stripped text is made after the close: between the read and the close, no text is.
    EXPECT_EQ(std::find(log.begin() + read_at, log.begin() + close_at, "SysAllocStringByteLen"),
              log.begin() + close_at);
  }
  os.set_error_mode(outer);
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

// Positioning: the seek is the last pointer move before the read, its offset start - 1 in 64
// bits; when the system refuses it, the read is sized and made from where the pointer stayed.
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
    ASSERT_FALSE(fake.set_file_pointer_calls.empty());
    for (const auto& move : fake.set_file_pointer_calls) {
      EXPECT_TRUE(move.has_high);
      EXPECT_EQ(move.method, os_const::file_begin);
    }
    EXPECT_EQ(fake.set_file_pointer_calls.back().low, r.low);
    EXPECT_EQ(fake.set_file_pointer_calls.back().high, r.high);
  }
  {
    SCOPED_TRACE("every pointer move refused");
    fake_os fake;
    fake.failure_code = os_error::negative_seek;
    fake.fail("SetFilePointer");
    EXPECT_EQ(exec(file + "|3|100|None|v"), "0123456789");
    EXPECT_EQ(fake.read_file_counts, std::vector<uint32_t>{10});
  }
  {
    SCOPED_TRACE("the open's move to the first byte refused: no harm");
    fake_os fake;
    fake.fail("SetFilePointer", 1);
    EXPECT_EQ(exec(file + "|3|4|None|v"), "2345");
  }
}

TEST_F(FileReadCalls, NoSystemCallForEmptyNamesAndPatterns) {
  const std::string long_pattern = std::string(254, 'a') + "*";
  for (const std::string& name :
       names{"", "*", "?", "a*b", "dir/x?.txt", "*.*", long_pattern}) {
    SCOPED_TRACE(name);
    fake_os fake;
    EXPECT_EQ(exec(name + "|1|5|ALL|v"), std::nullopt);
    for (const std::string& entry : fake.log) EXPECT_EQ(entry.rfind("Sys", 0), 0u) << entry;
  }
}

// What each failure does to the outcome: the value published, and every run leaving the file
// closed and unchanged and no callback text behind.
TEST_F(FileReadCalls, EachCallFailing) {
  const std::string file = folder.write("ten.bin", "0123456789");
  const struct {
    const char* call;
    int nth;
    uint32_t code;
    bytes value;
    bool succeeds = false;  // the call succeeds, yet leaves the code as its last-error value
  } rows[] = {
      // Read and write refused: the second attempt, read only, reads.
      {"CreateFileA", 1, os_error::access_denied, "2345"},
      {"CreateFileA", 0, os_error::sharing_violation, std::nullopt},
      // Not a disk file: nothing read (a pipe or a console would wait), still closed.
      {"GetFileType", 0, 0, std::nullopt},
      // Without the size, the whole count is reserved, as a plain read would.
      {"GetFileSizeEx", 0, os_error::invalid_handle, "2345"},
      {"ReadFile", 0, os_error::read_fault, std::nullopt},
      {"ReadFile", 0, 0, std::nullopt},  // FALSE with no last error is a failure too
      {"CloseHandle", 0, os_error::invalid_handle, "2345"},
      // ERROR_ALREADY_EXISTS after opening an existing file is no failure; a ReadFile that
      // returns TRUE with a last-error value left is one.
      {"CreateFileA", 1, os_error::already_exists, "2345", true},
      {"ReadFile", 0, os_error::handle_eof, std::nullopt, true},
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
    if (std::string_view(r.call) == "GetFileType") {
      EXPECT_TRUE(fake.read_file_counts.empty());
    }
    if (fake.create_file_calls.size() == 2) {
      EXPECT_EQ(fake.create_file_calls[1].access, os_const::generic_read);
    }
  }
  EXPECT_EQ(folder.read("ten.bin"), "0123456789");
  EXPECT_TRUE(openable_exclusively(file));
}

TEST_F(FileReadCalls, ReservationFailureReadsNothing) {
  // A count the size query cannot cut down (the size is unknown) and a 32-bit process cannot
  // hold.
  if (sizeof(void*) != 4) GTEST_SKIP() << "a 64-bit process may well reserve 2 GiB";
  const std::string file = folder.write("ten.bin", "0123456789");
  fake_os fake;
  fake.fail("GetFileSizeEx");
  EXPECT_EQ(exec(file + "|1|2147483647||v"), std::nullopt);
}

}  // namespace
}  // namespace vq::testing
