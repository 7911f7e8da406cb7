// The library entry routine (32-bit Windows build only).
#include <cstdint>

#include "host/abi.h"
#include "text/publish.h"

namespace {
constexpr uint32_t dll_process_detach = 0;
}

// Succeeds for every reason. At FreeLibrary the result text is released; at process exit
// (reserved not null) other threads may have died holding the heap lock, and the system
// reclaims everything anyway, so nothing is touched.
extern "C" int32_t VQ_STDCALL DllMain(void*, uint32_t reason, void* reserved) noexcept {
  if (reason == dll_process_detach && !reserved) vq::release_result_text();
  return 1;
}
