#include "host/callbacks.h"

#include "host/callback_text.h"
#include "host/host_call.h"
#include "plugin/state.h"

namespace vq {

void host_set_variable(std::string_view name, std::string_view value) noexcept {
  if (!state.set_variable) return;
  // The value is made first, then the name, and both are released after the call.
  const callback_text value_text(value);
  const callback_text name_text(name);
  host_call_set_variable(state.set_variable, name_text.address(), value_text.address());
}

void host_add_action(int32_t number, std::string_view name, std::string_view hint,
                     std::string_view parameter_type, uint8_t count) noexcept {
  if (!state.add_action) return;
  const callback_text name_text(name);
  const callback_text hint_text(hint);
  const callback_text type_text(parameter_type);
  host_call_add_action(state.add_action, number, name_text.address(), hint_text.address(),
                       type_text.address(), count);
}

}  // namespace vq
