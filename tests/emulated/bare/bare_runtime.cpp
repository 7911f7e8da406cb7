#include "bare_runtime.h"

// The entry point, the two system calls and the memory routines that the compiler and the core
// call, for a program linked with no C library. Compiled with -fno-builtin and without loop
// pattern distribution, so that no body below is turned into a call to itself.

namespace {

long system_call(long number, long a, long b, long c) noexcept {
  long result;
  __asm__ volatile("int $0x80" : "=a"(result) : "a"(number), "b"(a), "c"(b), "d"(c) : "memory");
  return result;
}

[[noreturn]] void exit_group(int status) noexcept {
  for (;;) system_call(252, status, 0, 0);
}

}  // namespace

void bare::write_out(const char* text, std::size_t length) noexcept {
  while (length > 0) {
    const long n = system_call(4, 1, reinterpret_cast<long>(text), static_cast<long>(length));
    if (n <= 0) return;
    text += n;
    length -= static_cast<std::size_t>(n);
  }
}

extern "C" {

// The linker's default script marks out the static constructors; the core has none, but a
// constructor added later must run rather than be skipped silently.
using constructor = void (*)();
extern constructor __init_array_start[], __init_array_end[];

// At _start the stack holds argc, then argv: the call below gets its address, on a stack
// aligned to 16 bytes as the scanners' SSE2 and AVX2 functions expect.
[[noreturn, gnu::used]] void bare_start(int* stack) noexcept {
  for (constructor* c = __init_array_start; c != __init_array_end; ++c) (*c)();
  exit_group(bare_main(stack[0], reinterpret_cast<char**>(stack + 1)));
}
__asm__(".text\n.globl _start\n_start:\n  xorl %ebp, %ebp\n  movl %esp, %eax\n"
        "  andl $-16, %esp\n  subl $12, %esp\n  pushl %eax\n  call bare_start\n  hlt\n");

void* memcpy(void* to, const void* from, std::size_t n) noexcept {
  auto* d = static_cast<unsigned char*>(to);
  const auto* s = static_cast<const unsigned char*>(from);
  while (n--) *d++ = *s++;
  return to;
}

void* memmove(void* to, const void* from, std::size_t n) noexcept {
  auto* d = static_cast<unsigned char*>(to);
  const auto* s = static_cast<const unsigned char*>(from);
  if (d < s) return memcpy(to, from, n);
  while (n--) d[n] = s[n];
  return to;
}

void* memset(void* to, int value, std::size_t n) noexcept {
  auto* d = static_cast<unsigned char*>(to);
  while (n--) *d++ = static_cast<unsigned char>(value);
  return to;
}

int memcmp(const void* a, const void* b, std::size_t n) noexcept {
  const auto* x = static_cast<const unsigned char*>(a);
  const auto* y = static_cast<const unsigned char*>(b);
  for (; n--; ++x, ++y) {
    if (*x != *y) return *x < *y ? -1 : 1;
  }
  return 0;
}

std::size_t strlen(const char* s) noexcept {
  std::size_t n = 0;
  while (s[n]) ++n;
  return n;
}

}  // extern "C"
