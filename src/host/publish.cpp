#include "host/publish.h"

#include <utility>

#include "host/callbacks.h"
#include "host/result_text.h"

namespace vq {

void publish(std::string_view name, std::string_view value) noexcept {
  host_set_variable(name, callback_text(value));
}

void publish(std::string_view name, callback_text value) noexcept {
  host_set_variable(name, std::move(value));
}

void publish_result(std::string_view value) noexcept {
  store_result_text(value);
  // The value itself, not the stored copy: that may be missing for want of memory.
  publish(result_variable, value);
}

}  // namespace vq
