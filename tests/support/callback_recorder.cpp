#include "support/callback_recorder.h"

#include <cstring>

#include "host/callbacks.h"
#include "plugin/plugin.h"
#include "plugin/state.h"
#include "host/publish.h"
#include "host/result_text.h"

namespace vq::testing {

std::vector<set_variable_call> set_variable_calls;
std::vector<add_action_call> add_action_calls;

received_text read_callback_text(const char* text) {
  if (!text) return std::nullopt;
  uint32_t length = 0;
  std::memcpy(&length, text - sizeof length, sizeof length);
  EXPECT_GT(length, 0u) << "an empty text must be passed as the zero address";
  EXPECT_EQ(text[length], '\0') << "no zero byte after the counted bytes";
  return std::string(text, length);
}

void VQ_STDCALL record_set_variable(const char* name, const char* value) {
  set_variable_calls.push_back({read_callback_text(name), read_callback_text(value)});
}

void VQ_STDCALL record_add_action(int32_t number, const char* name, const char* hint,
                                  const char* parameter_type, int32_t count, int32_t count_again) {
  add_action_calls.push_back({number, read_callback_text(name), read_callback_text(hint),
                              read_callback_text(parameter_type), count, count_again});
}

void plugin_test::SetUp() {
  release_result_text();
  state = {};
  register_host_callbacks({record_add_action, record_set_variable});
  set_variable_calls.clear();
  add_action_calls.clear();
}

void plugin_test::TearDown() {
  release_result_text();
  state = {};
  register_host_callbacks({});
}

received_text plugin_test::exec_result(int32_t action, const std::string& parameters) {
  set_variable_calls.clear();
  const char* text = parameters.c_str();
  EXPECT_EQ(pxExecAction(action, &text), 1);
  EXPECT_EQ(set_variable_calls.size(), 1u);
  if (set_variable_calls.size() != 1) return std::nullopt;
  EXPECT_EQ(set_variable_calls[0].name, std::string(result_variable));
  return set_variable_calls[0].value;
}

}  // namespace vq::testing
