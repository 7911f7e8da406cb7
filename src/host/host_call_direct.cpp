// Outside 32-bit x86 the caller owns the stack in every convention, so a plain call is safe.
#include "host/host_call.h"

namespace vq {

void host_call_add_action(add_action_fn fn, int32_t number, const char* name, const char* hint,
                          const char* parameter_type, int32_t count) noexcept {
  fn(number, name, hint, parameter_type, count, count);
}

void host_call_set_variable(set_variable_fn fn, const char* name, const char* value) noexcept {
  fn(name, value);
}

}  // namespace vq
