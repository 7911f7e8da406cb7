// pxExecAction against what a host or a crowded process may do to it: a set-variable callback
// that destroys the parameter text, and an allocation that fails at any point of a run.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "host/callbacks.h"
#include "plugin/plugin.h"
#include "support/fake_os.h"
#include "support/guarded_pages.h"
#include "support/temp_folder.h"
#include "support/callback_recorder.h"
#include "host/result_text.h"

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
    {4, "FILE|2|100|ALL|data", "data", "B", true},
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

// Each action reads no byte past the last field it takes: its text has no zero byte and ends
// with the separator after that field, right at a page that faults on any access. Through the
// dispatcher and through the exported routine, at both page parities.
TEST_F(ExecHazards, NoActionReadsPastItsLastField) {
  const struct {
    int32_t action;
    int32_t(VQ_STDCALL* routine)(const char*);
    std::string text;
    std::string name;
    received_text value;
  } rows[] = {
      {1, ZK_ST_AT, "abcb|b|1|RL|", "zk_resultado", " 4"},
      {2, ZK_ST_LEFT, "Hello|2|", "zk_resultado", "He"},
      {3, ZK_ST_RIGHT, "Hello|2|", "zk_resultado", "lo"},
      {4, ZK_ST_FILEREAD, file + "|1|5|ALL|v|", "v", "AB"},
  };
  for (const auto parity : {page_parity::even, page_parity::odd}) {
    guarded_pages pages(1, parity);
    for (const auto& r : rows) {
      SCOPED_TRACE(r.text);
      char* const text = pages.end() - r.text.size();
      std::memcpy(text, r.text.data(), r.text.size());
      set_variable_calls.clear();
      const char* variable = text;
      EXPECT_EQ(pxExecAction(r.action, &variable), 1);
      EXPECT_EQ(r.routine(text), 0);
      ASSERT_EQ(set_variable_calls.size(), 2u);
      for (const set_variable_call& set : set_variable_calls) {
        EXPECT_EQ(set.name, r.name);
        EXPECT_EQ(set.value, r.value);
      }
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
      release_result_text();
      EXPECT_EQ(fake.live_heap_blocks, 0);
    }
    EXPECT_GE(allocations, 2);
  }
}

// The host may run an action from inside its set-variable callback. The callback below runs
// inner_run once, from the first publish it sees, after checking with the fake that no guard
// lock is held: a file read inside would otherwise wait for ever on it.
const run_case* inner_run = nullptr;
std::string inner_parameters;

void VQ_STDCALL record_then_run_another(const char* name, const char* value) {
  record_set_variable(name, value);
  const run_case* const inner = std::exchange(inner_run, nullptr);
  if (!inner) return;
  if (current_fake()->lock_held()) {
    ADD_FAILURE() << "the guard lock is held while the callback runs";
    return;
  }
  const received_text outer_value = read_callback_text(value);
  const char* text = inner_parameters.c_str();
  EXPECT_EQ(pxExecAction(inner->action, &text), 1);
  EXPECT_EQ(read_callback_text(value), outer_value) << "the inner run touched the outer value";
}

TEST_F(ExecHazards, AnActionRunFromTheCallbackPublishesItsOwnValueOnce) {
  register_host_callbacks({record_add_action, record_then_run_another});
  // {outer, inner} as indices into cases; the file reads both read the one file, which the
  // outer run must have closed before it publishes.
  const std::pair<int, int> pairs[] = {{0, 1}, {1, 1}, {2, 3}, {3, 4}, {4, 0}};
  for (const auto& [outer_index, inner_index] : pairs) {
    const run_case& outer = cases[outer_index];
    const run_case& inner = cases[inner_index];
    const std::string parameters = with_file(outer.parameters, file);
    inner_parameters = with_file(inner.parameters, file);
    SCOPED_TRACE(parameters + " then " + inner_parameters);
    fake_os fake;
    set_variable_calls.clear();
    inner_run = &inner;
    const char* text = parameters.c_str();
    EXPECT_EQ(pxExecAction(outer.action, &text), 1);
    EXPECT_EQ(inner_run, nullptr);
    ASSERT_EQ(set_variable_calls.size(), 2u);
    EXPECT_EQ(set_variable_calls[0].name, outer.name);
    EXPECT_EQ(set_variable_calls[0].value, outer.value);
    EXPECT_EQ(set_variable_calls[1].name, inner.name);
    EXPECT_EQ(set_variable_calls[1].value, inner.value);
    if (inner.action != 4) {
      EXPECT_EQ(received_text(std::string(result_text())), inner.value);
    }
  }
}

}  // namespace
}  // namespace vq::testing
