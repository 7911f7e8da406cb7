// pxExecAction against what a host or a crowded process may do to it: a set-variable callback
// that destroys the parameter text, and an allocation that fails at any point of a run.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "host/callbacks.h"
#include "plugin/plugin.h"
#include "support/fake_os.h"
#include "support/guarded_pages.h"
#include "support/temp_folder.h"
#include "support/callback_recorder.h"
#include "text/result_text.h"

namespace vq::testing {
namespace {

struct run_case {
  int32_t action;
  std::string parameters;  // "FILE" stands for the test file's path
  std::string name;
  received_text value;
  bool size_unknown = false;  // GetFileSizeEx fails: the read is reserved at the count
};

const std::string file_bytes("A\0\r\nB", 5);

// Every path that allocates: the result text, both callback texts, file data read in full,
// stripped (a second text), and read short of its reservation (a second text).
const run_case cases[] = {
    {1, "abcb|b|1|RL", "zk_resultado", " 4"},
    {2, "Hello world|5", "zk_resultado", "Hello"},
    {3, "Hello world|-6", "zk_resultado", "world"},
    {4, "FILE|1|100|None|data", "data", file_bytes},
    {4, "FILE|1|100|ALL|data", "data", "AB"},
    {4, "FILE|2|100|None|data", "data", file_bytes.substr(1), true},
};

std::string with_file(std::string parameters, const std::string& file) {
  if (parameters.rfind("FILE", 0) == 0) parameters.replace(0, 4, file);
  return parameters;
}

class ExecHazards : public plugin_test {
 protected:
  temp_folder folder;
  const std::string file = folder.write("data.bin", file_bytes);
};

// The host's text in pages of their own, which the callback overwrites and then unmaps: any
// read of the text once the publish step has begun faults, or sees the overwrite.
guarded_pages* host_pages = nullptr;

void VQ_STDCALL record_then_destroy(const char* name, const char* value) {
  record_set_variable(name, value);
  std::memset(host_pages->begin(), '|',
              static_cast<std::size_t>(host_pages->end() - host_pages->begin()));
  delete host_pages;
  host_pages = nullptr;
}

TEST_F(ExecHazards, CallbackThatOverwritesAndFreesTheHostTextChangesNothingPublished) {
  register_host_callbacks({record_add_action, record_then_destroy});
  for (const run_case& c : cases) {
    const std::string parameters = with_file(c.parameters, file);
    SCOPED_TRACE(parameters);
    if (c.size_unknown) continue;
    host_pages = new guarded_pages(1);
    // A BSTR-laid-out host text: byte count, characters, zero.
    const auto count = static_cast<uint32_t>(parameters.size());
    std::memcpy(host_pages->begin(), &count, 4);
    std::memcpy(host_pages->begin() + 4, parameters.c_str(), parameters.size() + 1);
    const char* text = host_pages->begin() + 4;
    set_variable_calls.clear();
    EXPECT_EQ(pxExecAction(c.action, &text), 1);
    ASSERT_EQ(set_variable_calls.size(), 1u);
    EXPECT_EQ(host_pages, nullptr);
    EXPECT_EQ(set_variable_calls[0].name, c.name);
    EXPECT_EQ(set_variable_calls[0].value, c.value);
    if (c.action != 4) {
      EXPECT_EQ(received_text(std::string(result_text())), c.value);
    }
  }
}

// Fails each allocation of a run in turn: the run still returns, publishes once, leaks
// nothing, closes its file, and publishes the right value or the empty one, never another.
TEST_F(ExecHazards, EveryAllocationMayFail) {
  for (const run_case& c : cases) {
    const std::string parameters = with_file(c.parameters, file);
    const char* text = parameters.c_str();
    int allocations = 0;
    for (int nth = 0; nth <= allocations; ++nth) {
      SCOPED_TRACE(parameters + ", failing allocation " + std::to_string(nth));
      fake_os fake;
      fake.fail_allocation(nth);
      if (c.size_unknown) fake.fail("GetFileSizeEx");
      set_variable_calls.clear();
      EXPECT_EQ(pxExecAction(c.action, &text), 1);
      ASSERT_EQ(set_variable_calls.size(), 1u);
      const set_variable_call& set = set_variable_calls[0];
      if (nth == 0) {
        allocations = fake.allocations;
        EXPECT_EQ(set.name, c.name);
        EXPECT_EQ(set.value, c.value);
      } else {
        EXPECT_TRUE(set.name == c.name || set.name == std::nullopt);
        EXPECT_TRUE(set.value == c.value || set.value == std::nullopt);
        if (!set.name) {
          EXPECT_EQ(set.value, std::nullopt) << "data under a name it was not meant for";
        }
      }
      EXPECT_EQ(fake.live_strings, 0);
      EXPECT_EQ(fake.live_handles, 0);
      release_result_text();
      EXPECT_EQ(fake.live_heap_blocks, 0);
    }
    EXPECT_GE(allocations, 2);
  }
}

}  // namespace
}  // namespace vq::testing
