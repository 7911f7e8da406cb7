// How actions hand their outcome to the host.
//
// The publish step is the one place where foreign code runs inside an action: the host's
// set-variable callback may do anything to the parameter text, free it included. So every
// field has been taken, every result computed and both callback texts made before the callback
// is called, and nothing reads the parameter text once the publish step begins. That is why an
// action may run on the host's own bytes without a copy.
#pragma once

#include <string_view>

#include "host/callback_text.h"

namespace vq {

// The host variable that receives the result of the search, left and right actions.
inline constexpr std::string_view result_variable = "zk_resultado";

// The publish step: the set-variable callback with the name first and the value second, each a
// callback text (zero address when empty) released after the call. The second form hands over
// a value already made, such as file data read straight into it.
void publish(std::string_view name, std::string_view value) noexcept;
void publish(std::string_view name, callback_text value) noexcept;

// Stores value as the result text (host/result_text.h), replacing the previous one, then
// publishes it under "zk_resultado". When no memory can be had for the stored copy, the result
// text is left empty but the value is still published.
void publish_result(std::string_view value) noexcept;

}  // namespace vq
