// The plug-in's module-wide state: the values the host hands over that nobody reads. The host's
// callbacks are kept by host/callbacks.h, the result text by host/result_text.h.
#pragma once

#include "host/abi.h"

namespace vq {

// All members zero when the library loads; kept until it unloads. Not locked: the host calls
// the plug-in from one thread at a time.
struct plugin_state {
  host_word host_handle;
  host_word registration_value2;
  host_word registration_value3;
  host_word script_processor;
  host_word interface_access;
};

extern plugin_state state;

}  // namespace vq
