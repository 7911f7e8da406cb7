// The library entry routine (32-bit Windows build only).
#include <cstdint>

#include "host/abi.h"
#include "plugin/library_detach.h"

namespace {
constexpr uint32_t dll_process_detach = 0;
}

// Succeeds for every reason. A process detach with reserved not null is process exit, else
// FreeLibrary.
extern "C" int32_t VQ_STDCALL DllMain(void*, uint32_t reason, void* reserved) noexcept {
  if (reason == dll_process_detach) vq::on_library_detach(reserved != nullptr);
  return 1;
}
