// The plug-in's module-wide state: what the host hands over, and the last result text.
#pragma once

#include <cstddef>

#include "host/abi.h"

namespace vq {

// All members zero when the library loads; kept until it unloads. Not locked: the host calls
// the plug-in from one thread at a time.
struct plugin_state {
  host_word host_handle;
  add_action_fn add_action;
  host_word registration_value2;
  host_word registration_value3;
  set_variable_fn set_variable;
  host_word script_processor;
  host_word interface_access;
  // The result text of the last search, left or right run; null when empty.
  char* result_bytes;
  std::size_t result_length;
};

extern plugin_state state;

}  // namespace vq
