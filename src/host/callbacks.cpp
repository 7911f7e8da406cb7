#include "host/callbacks.h"

#include "host/host_call.h"

namespace vq {
namespace {
host_callbacks stored{};
}  // namespace

void register_host_callbacks(host_callbacks callbacks) noexcept { stored = callbacks; }

host_callbacks registered_host_callbacks() noexcept { return stored; }

void host_set_variable(std::string_view name, callback_text value) noexcept {
  if (!stored.set_variable) return;
  const callback_text name_text(name);
  if (!name.empty() && !name_text.address()) value = callback_text();
  host_call_set_variable(stored.set_variable, name_text.address(), value.address());
}

void host_add_action(int32_t number, std::string_view name, std::string_view hint,
                     std::string_view parameter_type, uint8_t count) noexcept {
  if (!stored.add_action) return;
  const callback_text name_text(name);
  const callback_text hint_text(hint);
  const callback_text type_text(parameter_type);
  host_call_add_action(stored.add_action, number, name_text.address(), hint_text.address(),
                       type_text.address(), count);
}

}  // namespace vq
