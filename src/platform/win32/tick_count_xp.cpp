// Every Windows program of ours runs on Windows XP SP3, whose kernel32 has no GetTickCount64;
// the compiler's thread library calls it all the same (for timed waits), and the loader
// refuses a program for one missing import. Defining the import's own pointer here binds the
// library's calls to this function instead, so the program imports nothing XP lacks: it uses
// the system's GetTickCount64 where there is one, and on XP extends the 32-bit count past its
// wrap. Linked as an object into every i686 program (not into the DLL, which has no timed wait).
#include <windows.h>

#include "platform/win32/tick_count_xp.h"

namespace {

using tick_count_fn = ULONGLONG(WINAPI*)();

// On XP: last holds the wraps in its high half and the count last read in its low half,
// swapped as one 64-bit value, so that threads reading at once agree.
ULONGLONG WINAPI extended_tick_count() {
  static volatile ULONGLONG last = 0;
  for (;;) {
    ULONGLONG seen = __atomic_load_n(&last, __ATOMIC_SEQ_CST);
    const ULONGLONG next = vq::extended_tick_count(seen, GetTickCount());
    if (__atomic_compare_exchange_n(&last, &seen, next, false, __ATOMIC_SEQ_CST,
                                    __ATOMIC_SEQ_CST)) {
      return next;
    }
  }
}

ULONGLONG WINAPI tick_count() {
  static tick_count_fn chosen = nullptr;
  if (!chosen) {
    auto* system = reinterpret_cast<tick_count_fn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "GetTickCount64")));
    chosen = system ? system : extended_tick_count;
  }
  return chosen();
}

}  // namespace

// The import pointer the thread library's calls go through (__imp__GetTickCount64@0).
extern "C" tick_count_fn const vq_tick_count_import __asm__("__imp__GetTickCount64@0") = tick_count;
