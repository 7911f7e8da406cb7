#include "vqhost/host_text.h"

#include <cstdint>
#include <cstring>

namespace vq::vqhost {

host_text::host_text(std::string_view text) : storage_(4 + text.size() + 2, '\0'),
                                              empty_(text.empty()) {
  const auto count = static_cast<uint32_t>(text.size());
  std::memcpy(storage_.data(), &count, 4);
  if (!text.empty()) std::memcpy(storage_.data() + 4, text.data(), text.size());
}

std::string read_callback_text(const char* text) {
  if (!text) return {};
  uint32_t count = 0;
  std::memcpy(&count, text - 4, 4);
  return std::string(text, count);
}

}  // namespace vq::vqhost
