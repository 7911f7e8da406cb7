// The action catalogue announced to the host at registration (the actions: actions.h).
#pragma once

#include <cstdint>
#include <string_view>

namespace vq {

// Every action takes one text parameter holding all its "|"-separated arguments.
inline constexpr std::string_view parameter_type = "ACTIONPARAM_ALPHA";
inline constexpr uint8_t parameter_count = 1;

// Announces every action in number order through the add-action callback.
void register_actions() noexcept;

}  // namespace vq
