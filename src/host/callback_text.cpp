#include "host/callback_text.h"

#include <cstdint>

#include "platform/platform.h"

namespace vq {

callback_text::callback_text(std::string_view text) noexcept {
  // Texts never exceed 2^24 bytes, well inside the 32-bit byte count.
  if (!text.empty()) {
    bytes_ = os.sys_alloc_string_byte_len(text.data(), static_cast<uint32_t>(text.size()));
  }
}

callback_text::~callback_text() {
  if (bytes_) os.sys_free_string(bytes_);
}

}  // namespace vq
