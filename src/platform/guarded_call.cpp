#include "platform/guarded_call.h"

#include "platform/platform.h"

namespace vq {

uint32_t guard_enter() noexcept {
  static_cast<void>(os.guard_lock());
  // A missing medium or a drive not ready must come back as a failed call, never as a box the
  // system shows in the host's name.
  const uint32_t previous_mode =
      os.set_error_mode(os_const::sem_failcriticalerrors | os_const::sem_noopenfileerrorbox);
  // Several calls (SetFilePointer, ReadFile, CloseHandle) are judged by the last-error value
  // alone, so a stale value from before must not survive into the judgement.
  os.set_last_error(0);
  return previous_mode;
}

uint32_t guard_leave(uint32_t previous_mode) noexcept {
  const uint32_t last_error = os.get_last_error();
  os.set_error_mode(previous_mode);
  os.guard_unlock();
  return last_error;
}

}  // namespace vq
