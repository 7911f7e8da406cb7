#include "host/result_text.h"

#include <cstddef>
#include <cstring>

#include "platform/platform.h"

namespace vq {
namespace {

// Null when empty, else result_length bytes in a block of result_capacity. Not locked: the
// host calls the plug-in from one thread at a time.
char* result_bytes = nullptr;
std::size_t result_length = 0;
std::size_t result_capacity = 0;

// A block is kept for the next result when that fits and does not leave most of it idle, so
// runs of similar sizes take no fresh memory (whose first touch costs more than the copy).
constexpr std::size_t smallest_block = 64;
bool fits_block(std::size_t length) noexcept {
  return length <= result_capacity &&
         result_capacity <= (length < smallest_block * 32 ? smallest_block * 64 : 2 * length);
}

}  // namespace

void store_result_text(std::string_view value) noexcept {
  if (value.empty()) {
    result_length = 0;
  } else if (fits_block(value.size())) {
    std::memmove(result_bytes, value.data(), value.size());
    result_length = value.size();
  } else {
    const std::size_t capacity = value.size() < smallest_block ? smallest_block : value.size();
    auto* block = static_cast<char*>(os.heap_alloc(capacity));
    if (block) std::memcpy(block, value.data(), value.size());
    release_result_text();
    if (block) {
      result_bytes = block;
      result_length = value.size();
      result_capacity = capacity;
    }
  }
}

std::string_view result_text() noexcept {
  return result_length ? std::string_view(result_bytes, result_length) : std::string_view();
}

void release_result_text() noexcept {
  os.heap_free(result_bytes);
  result_bytes = nullptr;
  result_length = 0;
  result_capacity = 0;
}

}  // namespace vq
