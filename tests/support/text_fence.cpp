#include "support/text_fence.h"

#include <algorithm>
#include <cstring>

namespace vq::testing {
namespace {

// As long as the text, so that an overrun of up to a whole read in pieces lands in the fence;
// no shorter than a cache line, no longer than a MiB.
uint32_t fence_for(uint32_t length) {
  return std::clamp<uint32_t>(length, 64, 1u << 20);
}

// Neither 0 (what a reservation holds) nor 0xA5 (what the fake's refused reads scribble) all
// along, and varying, so that no run of one byte value can pass for it.
char sentinel(uint32_t at) { return static_cast<char>(0x3C + at * 13); }

void set_count(char* text, uint32_t count) {
  std::memcpy(text - sizeof count, &count, sizeof count);
}

}  // namespace

char* text_fences::make(const os_calls& real, const char* bytes, uint32_t length) {
  const uint32_t fence = fence_for(length);
  if (length > UINT32_MAX - 2 - fence) return real.sys_alloc_string_byte_len(bytes, length);
  char* text = real.sys_alloc_string_byte_len(nullptr, length + 2 + fence);
  if (!text) return nullptr;
  if (bytes) std::memcpy(text, bytes, length);
  text[length] = 0;
  text[length + 1] = 0;
  for (uint32_t at = 0; at < fence; ++at) text[length + 2 + at] = sentinel(at);
  set_count(text, length);
  texts_[text] = {length, fence};
  return text;
}

std::string text_fences::release(const os_calls& real, char* text) {
  std::string overrun;
  if (const auto it = texts_.find(text); it != texts_.end()) {
    const auto [length, fence] = it->second;
    texts_.erase(it);
    uint32_t last = 0;  // one past the last byte found changed, counted from the text's end
    if (text[length] != 0 || text[length + 1] != 0) last = text[length + 1] != 0 ? 2 : 1;
    for (uint32_t at = 0; at < fence; ++at) {
      if (text[length + 2 + at] != sentinel(at)) last = 2 + at + 1;
    }
    if (last > 0) {
      overrun = "a callback text of " + std::to_string(length) + " bytes written past its end (" +
                std::to_string(last) + " bytes on" +
                (last == 2 + fence ? ", to the end of the fence and maybe beyond)" : ")");
    }
    // The count the block was made with, for a system that finds its size by it.
    set_count(text, length + 2 + fence);
  }
  real.sys_free_string(text);
  return overrun;
}

}  // namespace vq::testing
