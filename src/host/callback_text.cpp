#include "host/callback_text.h"

#include "platform/platform.h"

namespace vq {

callback_text::callback_text(std::string_view text) noexcept {
  // Texts never exceed 2^24 bytes, well inside the 32-bit byte count.
  if (text.empty()) return;
  bytes_ = os.sys_alloc_string_byte_len(text.data(), static_cast<uint32_t>(text.size()));
  if (bytes_) size_ = text.size();
}

callback_text callback_text::reserved(uint32_t length) noexcept {
  callback_text made;
  if (length == 0) return made;
  made.bytes_ = os.sys_alloc_string_byte_len(nullptr, length);
  if (made.bytes_) made.size_ = length;
  return made;
}

callback_text::callback_text(callback_text&& other) noexcept
    : bytes_(other.bytes_), size_(other.size_) {
  other.bytes_ = nullptr;
  other.size_ = 0;
}

callback_text& callback_text::operator=(callback_text&& other) noexcept {
  if (this != &other) {
    if (bytes_) os.sys_free_string(bytes_);
    bytes_ = other.bytes_;
    size_ = other.size_;
    other.bytes_ = nullptr;
    other.size_ = 0;
  }
  return *this;
}

callback_text::~callback_text() {
  if (bytes_) os.sys_free_string(bytes_);
}

}  // namespace vq
