// The two services the plug-in uses from the host, reached through the callbacks stored at
// registration. A callback still zero (no registration yet) is not called.
#pragma once

#include <cstdint>
#include <string_view>

namespace vq {

// Calls the set-variable callback with the name, then the value, each as a callback text made
// for this call and released when it returns.
void host_set_variable(std::string_view name, std::string_view value) noexcept;

// Calls the add-action callback with number, name, hint, parameter type and the count passed
// twice (six arguments), the texts made for this call and released when it returns.
void host_add_action(int32_t number, std::string_view name, std::string_view hint,
                     std::string_view parameter_type, uint8_t count) noexcept;

}  // namespace vq
