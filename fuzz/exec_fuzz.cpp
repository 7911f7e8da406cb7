// Drives pxExecAction with an arbitrary action number and parameter text: every run of 1..4
// returns 1 and publishes exactly once, any other number returns 0 and publishes nothing.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

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
    if (text[length] != '\0') std::abort();
  }
  ++publishes;
}

// The file action must never touch the disk from fuzz input: every open is refused.
vq::os_handle refuse_open(const char*, uint32_t, uint32_t, vq::os_security_attributes*, uint32_t,
                          uint32_t, vq::os_handle) {
  vq::os.set_last_error(5);
  return vq::invalid_handle();
}

void check(bool ok, const char* what) {
  if (!ok) {
    std::fprintf(stderr, "exec_fuzz: %s\n", what);
    std::abort();
  }
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
  check(result == (known ? 1 : 0), "wrong return value");
  check(publishes == (known ? 1 : 0), "not exactly one publish per run");
  return 0;
}
