// Drives pxExecAction with an arbitrary action number and parameter text: every run of 1..4
// returns 1 and publishes exactly once, any other number returns 0 and publishes nothing.
#include <cstdint>
#include <cstring>
#include <string>

#include "fuzz_check.h"
#include "plugin/plugin.h"
#include "host/callbacks.h"
#include "platform/platform.h"

namespace {

int publishes = 0;

void VQ_STDCALL count_publish(const char* name, const char* value) {
  // Touch the callback texts' bounds so a bad layout shows up under the sanitizers.
  for (const char* text : {name, value}) {
    if (!text) continue;
    uint32_t length = 0;
    std::memcpy(&length, text - 4, 4);
    FUZZ_CHECK(text[length] == '\0', "a callback text of %u bytes has no zero after them",
               static_cast<unsigned>(length));
  }
  ++publishes;
}

// The file action must never touch the disk from fuzz input: every open is refused.
vq::os_handle refuse_open(const char*, uint32_t, uint32_t, vq::os_security_attributes*, uint32_t,
                          uint32_t, vq::os_handle) {
  vq::os.set_last_error(5);
  return vq::invalid_handle();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  vq::os.create_file_a = refuse_open;
  vq::register_host_callbacks({nullptr, count_publish});
  int32_t action = 1;
  if (size >= 1) {
    // Mostly 1..4, sometimes any 32-bit number.
    action = data[0] & 0x80 ? 0 : (data[0] & 3) + 1;
    if (data[0] & 0x80 && size >= 5) std::memcpy(&action, data + 1, 4);
    const size_t skip = data[0] & 0x80 ? (size >= 5 ? 5 : size) : 1;
    data += skip;
    size -= skip;
  }
  const std::string text(reinterpret_cast<const char*>(data), size);
  const char* variable = text.c_str();
  publishes = 0;
  const int32_t result = pxExecAction(action, &variable);
  const bool known = action >= 1 && action <= 4;
  FUZZ_CHECK(result == (known ? 1 : 0), "action %d returned %d", static_cast<int>(action),
             static_cast<int>(result));
  FUZZ_CHECK(publishes == (known ? 1 : 0), "action %d published %d times",
             static_cast<int>(action), publishes);
  return 0;
}
