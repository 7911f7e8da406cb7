// How actions hand their outcome to the host.
#pragma once

#include <string_view>

namespace vq {

// The host variable that receives the result of the search, left and right actions.
inline constexpr std::string_view result_variable = "zk_resultado";

// The publish step: the set-variable callback with the name first and the value second, each a
// callback text (zero address when empty) made for this call and released after it.
void publish(std::string_view name, std::string_view value) noexcept;

// Stores value as the module-wide result text, replacing the previous one, then publishes it
// under "zk_resultado". When no memory can be had for the stored copy, the result text is left
// empty but the value is still published.
void publish_result(std::string_view value) noexcept;

// Frees the result text (library unload).
void release_result_text() noexcept;

}  // namespace vq
