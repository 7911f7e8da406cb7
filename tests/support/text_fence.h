// Fences for the callback texts the fake system hands out: each reservation is made longer by
// sentinel bytes after its two-byte terminator, so a write past the length asked for (a ReadFile
// of more bytes than were reserved) is seen when the text is freed, in a plain build as well as
// under AddressSanitizer (which would otherwise see the overrun only once it left the block).
#pragma once

#include <cstdint>
#include <map>
#include <string>

#include "platform/platform.h"

namespace vq::testing {

class text_fences {
 public:
  // SysAllocStringByteLen through real, fenced: the text shows length in its byte count and holds
  // a copy of bytes (or, for null, whatever real leaves), its terminator, then the fence.
  char* make(const os_calls& real, const char* bytes, uint32_t length);
  // SysFreeString through real. Returns what was written past the text's end, or an empty string
  // when the terminator and the fence are as made (or the text was not made here).
  std::string release(const os_calls& real, char* text);

 private:
  struct fenced {
    uint32_t length;  // as asked
    uint32_t fence;   // sentinel bytes after the terminator
  };
  std::map<char*, fenced> texts_;
};

}  // namespace vq::testing
