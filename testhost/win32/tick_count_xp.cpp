// vqhost runs on Windows XP SP3, whose kernel32 has no GetTickCount64; the compiler's thread
// library calls it all the same (for timed waits), and the loader refuses a program for one
// missing import. Defining the import's own pointer here binds the library's calls to this
// function instead, so the program imports nothing XP lacks: it uses the system's
// GetTickCount64 where there is one, and on XP extends the 32-bit count past its wrap.
#include <windows.h>

namespace {

using tick_count_fn = ULONGLONG(WINAPI*)();

// On XP: the 32-bit count with the wraps seen so far above it. last holds the wraps in its
// high half and the count last read in its low half, swapped as one 64-bit value.
ULONGLONG WINAPI extended_tick_count() {
  static volatile ULONGLONG last = 0;
  for (;;) {
    const ULONGLONG seen = __atomic_load_n(&last, __ATOMIC_SEQ_CST);
    const DWORD now = GetTickCount();
    ULONGLONG next = (seen & ~ULONGLONG{0xFFFFFFFF}) | now;
    if (now < static_cast<DWORD>(seen)) next += ULONGLONG{1} << 32;
    ULONGLONG expected = seen;
    if (__atomic_compare_exchange_n(&last, &expected, next, false, __ATOMIC_SEQ_CST,
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
