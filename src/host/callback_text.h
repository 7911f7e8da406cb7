// Texts handed to host callbacks.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace vq {

// A callback text, owned until it dies: the zero address for the empty text, otherwise a
// BSTR-laid-out block (32-bit byte count before the bytes, zero after them) made with
// SysAllocStringByteLen and released with SysFreeString. When the block cannot be made the
// address is zero, which the host reads as the empty text. Its byte count is never changed
// once made: a shorter text is a new one.
class callback_text {
 public:
  callback_text() noexcept = default;
  // A copy of text.
  explicit callback_text(std::string_view text) noexcept;
  // length bytes, not yet written, for the caller to fill in through bytes(); empty for 0.
  static callback_text reserved(uint32_t length) noexcept;

  callback_text(callback_text&& other) noexcept;
  callback_text& operator=(callback_text&& other) noexcept;
  ~callback_text();

  const char* address() const noexcept { return bytes_; }
  char* bytes() noexcept { return bytes_; }
  std::size_t size() const noexcept { return size_; }

 private:
  char* bytes_ = nullptr;
  std::size_t size_ = 0;
};

}  // namespace vq
