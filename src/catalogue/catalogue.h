// The action catalogue announced to the host at registration.
#pragma once

#include <cstdint>
#include <string_view>

namespace vq {

struct catalogue_entry {
  int32_t number;
  std::string_view name;
  // Lines joined by CR LF, none after the last; line 2 is the usage line.
  std::string_view hint;
};

// Every action takes one text parameter holding all its "|"-separated arguments.
inline constexpr std::string_view parameter_type = "ACTIONPARAM_ALPHA";
inline constexpr uint8_t parameter_count = 1;

// The four actions in number order.
extern const catalogue_entry catalogue[4];

// Announces the four actions in number order through the add-action callback.
void register_actions() noexcept;

}  // namespace vq
