// The file read action's computation: a run of raw bytes from a file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace vq {

// Bytes read from a file, owned by the caller: free with release_file_data. Null when empty.
struct file_data {
  char* bytes;
  std::size_t length;
};

// Opens the file named by the first 255 bytes of name (no system call at all for an empty name
// or one holding "*" or "?"; created empty if missing), positions it at the 1-based start,
// reads at most count bytes, and closes it. Every failure gives the empty data.
file_data read_file_bytes(std::string_view name, int32_t start, int32_t count) noexcept;

void release_file_data(file_data& data) noexcept;

// Whether the mode field selects stripping: "ALL" in any letter case, length included.
bool selects_stripping(std::string_view mode) noexcept;

// Removes every byte below 32 in place, keeping the others in order; returns the new length.
std::size_t strip_control_bytes(char* bytes, std::size_t length) noexcept;

}  // namespace vq
