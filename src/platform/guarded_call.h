// The system-call guard around every file call of the file read action: no error box of the
// system's own, and a last-error value that belongs to the call alone.
//
// The guard lock is the module's only lock, and this is why it exists: the error mode it
// switches belongs to the whole process, so two guarded calls on two threads must not overlap,
// or one could restore a mode the other still relies on. Everything else in the module (the
// host's callbacks, the result text) is not locked: the host calls the plug-in from one thread
// at a time. No other lock is taken, and no callback runs, while the guard lock is held.
#pragma once

#include <cstdint>

namespace vq {

// The outcome of one guarded call: what the call returned, and the last-error value read right
// after it (0 when the call left none).
template <class T>
struct guarded_result {
  T value;
  uint32_t last_error;
};

// Steps 1 to 3 of the guard: takes the module-wide guard lock, sets the error mode to
// SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX and the last-error value to 0. Returns the
// previous error mode, to be handed to guard_leave.
uint32_t guard_enter() noexcept;

// Steps 5 to 7: reads the last-error value, restores the previous error mode, releases the
// lock. Returns the last-error value read. The order matters: SetErrorMode may itself touch the
// last-error value, so it is read before the mode is restored.
uint32_t guard_leave(uint32_t previous_mode) noexcept;

// Makes call() under the guard: lock, error mode, SetLastError(0), the call, GetLastError,
// previous mode, unlock. call must not take the guard lock itself.
template <class Call>
auto guarded_call(Call&& call) noexcept -> guarded_result<decltype(call())> {
  const uint32_t previous_mode = guard_enter();
  auto value = call();
  return {value, guard_leave(previous_mode)};
}

}  // namespace vq
