// The two services the plug-in uses from the host, reached through the callbacks it hands over
// at registration. A callback still zero (no registration yet) is not called.
#pragma once

#include <cstdint>
#include <string_view>

#include "host/abi.h"
#include "host/callback_text.h"

namespace vq {

struct host_callbacks {
  add_action_fn add_action;
  set_variable_fn set_variable;
};

// Stores the host's callbacks for every later call; both zero when the library loads.
void register_host_callbacks(host_callbacks callbacks) noexcept;

// The callbacks stored last.
host_callbacks registered_host_callbacks() noexcept;

// Calls the set-variable callback with the name, then the value, each as a callback text
// released when it returns. The value is made before the name (here, or already by the
// caller). When the name cannot be made, the value is withheld too, so that no data reaches a
// variable it was not meant for; the call is still made.
void host_set_variable(std::string_view name, callback_text value) noexcept;

// Calls the add-action callback with number, name, hint, parameter type and the count passed
// twice (six arguments), the texts made for this call and released when it returns.
void host_add_action(int32_t number, std::string_view name, std::string_view hint,
                     std::string_view parameter_type, uint8_t count) noexcept;

}  // namespace vq
