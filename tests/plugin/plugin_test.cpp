#include "plugin/plugin.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstring>
#include <string>
#include <vector>

#include "host/callbacks.h"
#include "plugin/library_detach.h"
#include "plugin/state.h"
#include "support/fake_os.h"
#include "support/callback_recorder.h"
#include "host/result_text.h"

namespace vq {
namespace {

using testing::fake_os;
using testing::set_variable_calls;

class Plugin : public testing::plugin_test {};

TEST_F(Plugin, InitHandsOffIdentityTextsAndReleasesOldBlocks) {
  fake_os fake;
  char* title = nullptr;
  char* publisher = nullptr;
  char* description = nullptr;
  pxInitPlugIn(0xABCD, &title, &publisher, &description);
  EXPECT_EQ(state.host_handle, 0xABCDu);
  ASSERT_NE(title, nullptr);
  ASSERT_NE(publisher, nullptr);
  ASSERT_NE(description, nullptr);
  EXPECT_STREQ(title, "Velquist 1.0");
  EXPECT_GT(std::strlen(publisher), 0u);
  EXPECT_STREQ(description, "Advanced String Search");
  EXPECT_EQ(fake.live_blocks, 3);

  const std::vector<void*> first_blocks = {title, publisher, description};
  pxInitPlugIn(0, &title, &publisher, &description);
  EXPECT_EQ(fake.live_blocks, 3) << "the second call must release the first blocks";
  EXPECT_STREQ(title, "Velquist 1.0");
  EXPECT_EQ(fake.freed_blocks, first_blocks);
  for (char* block : {title, publisher, description}) fake.real.global_free(block);
}

TEST_F(Plugin, InitSkipsZeroVariablesAndLeavesFailedOnesZero) {
  fake_os fake;
  fake.fail("GlobalAlloc", 2);
  char* title = nullptr;
  char* publisher = reinterpret_cast<char*>(fake.real.global_alloc(0, 4));
  pxInitPlugIn(0, &title, &publisher, nullptr);
  EXPECT_STREQ(title, "Velquist 1.0");
  EXPECT_EQ(publisher, nullptr) << "old block released, new one failed";
  fake.real.global_free(title);
}

TEST_F(Plugin, EditActionAcceptsOneToFourOnly) {
  const struct {
    int32_t action;
    int32_t result;
  } rows[] = {{1, 1}, {2, 1}, {3, 1}, {4, 1}, {0, 0}, {5, 0}, {-1, 0}, {INT32_MIN, 0},
              {INT32_MAX, 0}, {257, 0}};
  for (const auto& r : rows) {
    SCOPED_TRACE(r.action);
    EXPECT_EQ(pxEditAction(r.action, 0x1234), r.result);
  }
  EXPECT_TRUE(set_variable_calls.empty());
}

TEST_F(Plugin, ExecActionOutsideOneToFourDoesNothing) {
  fake_os fake;
  const char* text = "abc|1";
  for (int32_t action : {0, 5, -1, -4, INT32_MIN, INT32_MAX}) {
    SCOPED_TRACE(action);
    EXPECT_EQ(pxExecAction(action, &text), 0);
  }
  EXPECT_TRUE(set_variable_calls.empty());
  EXPECT_TRUE(fake.log.empty());
}

TEST_F(Plugin, ExecActionPublishesOncePerRunWhateverTheFields) {
  // The file action would create files named "abc" and "a" in the working folder.
  fake_os fake;
  fake.fail("CreateFileA");
  const char* texts[] = {"", "|||||", "abc", "a|b|c|d|e|f|g", "\xff\xfe|&H|1e99|ALL|"};
  for (int32_t action = 1; action <= 4; ++action) {
    for (const char* text : texts) {
      SCOPED_TRACE(std::to_string(action) + " " + text);
      set_variable_calls.clear();
      EXPECT_EQ(pxExecAction(action, &text), 1);
      EXPECT_EQ(set_variable_calls.size(), 1u);
    }
  }
}

TEST_F(Plugin, ExecActionReadsTextThroughHostVariable) {
  EXPECT_EQ(exec_result(2, "Hello world|5"), "Hello");
  // A zero variable, and a zero variable address, run on the empty text.
  const char* zero = nullptr;
  for (const char* const* variable : {static_cast<const char* const*>(&zero), static_cast<const char* const*>(nullptr)}) {
    set_variable_calls.clear();
    EXPECT_EQ(pxExecAction(1, variable), 1);
    ASSERT_EQ(set_variable_calls.size(), 1u);
    EXPECT_EQ(set_variable_calls[0].value, " 0");
  }
  // A zero byte inside the text cuts it there.
  const std::string with_zero("abcde|3\0|9", 10);
  const char* text = with_zero.c_str();
  set_variable_calls.clear();
  EXPECT_EQ(pxExecAction(3, &text), 1);
  EXPECT_EQ(set_variable_calls.at(0).value, "cde");
}

TEST_F(Plugin, ExecActionReadsHostTextAsBstr) {
  // The host's variable points at characters with a byte count before them; the count is not
  // used, the zero byte is.
  const char bstr[] = "\x05\x00\x00\x00" "ab|1\0tail";
  const char* text = bstr + 4;
  EXPECT_EQ(exec_result(2, std::string(text)), "a");
  set_variable_calls.clear();
  EXPECT_EQ(pxExecAction(2, &text), 1);
  EXPECT_EQ(set_variable_calls.at(0).value, "a");
}

TEST_F(Plugin, ActionRoutinesTakeZeroAddressAsEmptyText) {
  for (auto routine : {ZK_ST_AT, ZK_ST_LEFT, ZK_ST_RIGHT, ZK_ST_FILEREAD}) {
    set_variable_calls.clear();
    EXPECT_EQ(routine(nullptr), 0);
    ASSERT_EQ(set_variable_calls.size(), 1u);
  }
  EXPECT_EQ(set_variable_calls[0].name, std::nullopt) << "file read with an empty field 5";
  EXPECT_EQ(set_variable_calls[0].value, std::nullopt);
}

TEST_F(Plugin, ActionsRunWithoutRegistration) {
  fake_os fake;
  fake.fail("CreateFileA");  // no file "abc" left behind
  register_host_callbacks({testing::record_add_action, nullptr});
  const char* text = "abc|2";
  for (int32_t action = 1; action <= 4; ++action) EXPECT_EQ(pxExecAction(action, &text), 1);
  EXPECT_TRUE(set_variable_calls.empty());
  EXPECT_EQ(result_text(), "bc");
}

// The result text outlives file read runs and lasts until the library unloads: FreeLibrary
// releases it, process exit touches nothing.
TEST_F(Plugin, ResultTextLastsUntilUnload) {
  EXPECT_EQ(exec_result(2, "abcde|2"), "ab");
  const char* read = "|1|10|None|v";
  EXPECT_EQ(pxExecAction(4, &read), 1);
  EXPECT_EQ(result_text(), "ab");
  EXPECT_EQ(exec_result(3, "abcde|1"), "e");
  fake_os fake;
  on_library_detach(true);
  EXPECT_TRUE(fake.log.empty()) << "process exit must touch nothing";
  EXPECT_EQ(result_text(), "e");
  on_library_detach(false);
  EXPECT_EQ(fake.log, std::vector<std::string>{"HeapFree"});
  EXPECT_EQ(result_text().data(), nullptr);
}

// The result text keeps its block for a result that fits and leaves at most half of it idle
// (a small one, at most 4 KiB): runs of similar sizes take no fresh memory.
TEST_F(Plugin, ResultTextKeepsItsBlockForResultsOfSimilarSize) {
  const struct {
    std::size_t length;
    bool fresh_block;
  } rows[] = {
      {2, true},      // the smallest block, 64 bytes
      {64, false},    // fills it
      {65, true},
      {1, false},
      {5000, true},
      {2500, false},  // half of it idle
      {2499, true},   // more than half
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.length);
    fake_os fake;
    const std::string text(r.length, 'x');
    EXPECT_EQ(exec_result(2, text + "|" + std::to_string(r.length)), text);
    EXPECT_EQ(std::count(fake.log.begin(), fake.log.end(), "HeapAlloc"), r.fresh_block ? 1 : 0);
    EXPECT_EQ(result_text(), text);
  }
}

TEST_F(Plugin, OtherEntryPointsOnlyStore) {
  fake_os fake;
  pxRegisterScriptProcessor(11);
  pxRegisterInterfaceAccess(22);
  pxMessage(1, 2);
  pxMessage(0xFFFFFFFFu, 0);
  EXPECT_EQ(state.script_processor, 11u);
  EXPECT_EQ(state.interface_access, 22u);
  EXPECT_TRUE(fake.log.empty());
  EXPECT_TRUE(set_variable_calls.empty());
}

}  // namespace
}  // namespace vq
