#include "actions/file_read.h"

#include <cstdlib>

namespace vq {

// Placeholder until the file calls land: nothing is read.
file_data read_file_bytes(std::string_view, int32_t, int32_t) noexcept { return {nullptr, 0}; }

void release_file_data(file_data& data) noexcept {
  std::free(data.bytes);
  data = {nullptr, 0};
}

bool selects_stripping(std::string_view mode) noexcept {
  if (mode.size() != 3) return false;
  auto upper = [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c; };
  return upper(mode[0]) == 'A' && upper(mode[1]) == 'L' && upper(mode[2]) == 'L';
}

std::size_t strip_control_bytes(char* bytes, std::size_t length) noexcept {
  std::size_t kept = 0;
  for (std::size_t i = 0; i < length; ++i) {
    const unsigned char c = static_cast<unsigned char>(bytes[i]);
    bytes[kept] = static_cast<char>(c);
    kept += c >= 32;
  }
  return kept;
}

}  // namespace vq
