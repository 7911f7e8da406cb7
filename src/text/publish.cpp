#include "text/publish.h"

#include <cstdlib>
#include <cstring>

#include "host/callbacks.h"
#include "plugin/state.h"

namespace vq {

void publish(std::string_view name, std::string_view value) noexcept {
  host_set_variable(name, value);
}

void release_result_text() noexcept {
  std::free(state.result_bytes);
  state.result_bytes = nullptr;
  state.result_length = 0;
}

void publish_result(std::string_view value) noexcept {
  char* copy = nullptr;
  if (!value.empty() && (copy = static_cast<char*>(std::malloc(value.size())))) {
    std::memcpy(copy, value.data(), value.size());
  }
  release_result_text();
  if (copy) {
    state.result_bytes = copy;
    state.result_length = value.size();
  }
  publish(result_variable, value);
}

}  // namespace vq
