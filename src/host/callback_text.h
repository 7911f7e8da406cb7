// Texts handed to host callbacks.
#pragma once

#include <string_view>

namespace vq {

// A callback text for the duration of one call: the zero address for an empty text, otherwise a
// BSTR-laid-out copy (32-bit byte count before the bytes, zero after them) made with
// SysAllocStringByteLen and released with SysFreeString when the object dies. When the copy
// cannot be made the address is zero, which the host reads as the empty text.
class callback_text {
 public:
  explicit callback_text(std::string_view text) noexcept;
  ~callback_text();
  callback_text(const callback_text&) = delete;
  callback_text& operator=(const callback_text&) = delete;

  const char* address() const noexcept { return bytes_; }

 private:
  char* bytes_ = nullptr;
};

}  // namespace vq
