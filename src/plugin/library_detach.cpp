#include "plugin/library_detach.h"

#include "host/result_text.h"

namespace vq {

void on_library_detach(bool process_exit) noexcept {
  if (!process_exit) release_result_text();
}

}  // namespace vq
