// Control-byte stripping, the file read action's "ALL" mode.
#pragma once

#include <cstddef>

namespace vq {

// Removes every byte below 32 in place, keeping the others in order; returns the new length.
// bytes may be null when length is 0.
std::size_t strip_control_bytes(char* bytes, std::size_t length) noexcept;

}  // namespace vq
