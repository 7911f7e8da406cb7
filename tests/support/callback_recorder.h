// Callbacks that record every call, for tests of the plug-in linked in statically, with every
// callback text checked for its BSTR layout while it is alive; and the fixture that stores them.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "host/abi.h"

namespace vq::testing {

// A callback text as received: nullopt for the zero address.
using received_text = std::optional<std::string>;

struct set_variable_call {
  received_text name;
  received_text value;
};

struct add_action_call {
  int32_t number;
  received_text name;
  received_text hint;
  received_text parameter_type;
  int32_t count;
  int32_t count_again;
};

extern std::vector<set_variable_call> set_variable_calls;
extern std::vector<add_action_call> add_action_calls;

void VQ_STDCALL record_set_variable(const char* name, const char* value);
void VQ_STDCALL record_add_action(int32_t number, const char* name, const char* hint,
                                  const char* parameter_type, int32_t count, int32_t count_again);

// Reads a callback text, failing the test unless it is the zero address or has a 32-bit byte
// count before it and a zero byte after it.
received_text read_callback_text(const char* text);

// Resets the plug-in to a freshly loaded state with the recording callbacks stored, as after
// registration, and clears the records.
class plugin_test : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Runs pxExecAction and returns the one value it published under "zk_resultado".
  received_text exec_result(int32_t action, const std::string& parameters);
};

}  // namespace vq::testing
