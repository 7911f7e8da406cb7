// Calls into the host that do not trust the host's calling convention.
#pragma once

#include "host/abi.h"

namespace vq {

// Each pushes its arguments right to left, calls, and then restores the stack pointer itself,
// so a callback that is cdecl, or stdcall removing a different number of bytes than were
// pushed, leaves the plug-in intact. The callback must not be null.
void host_call_add_action(add_action_fn fn, int32_t number, const char* name, const char* hint,
                          const char* parameter_type, int32_t count) noexcept;
void host_call_set_variable(set_variable_fn fn, const char* name, const char* value) noexcept;

}  // namespace vq
