// A stand-in for a program of the test kit, for the tests of run-tests.cmd itself. It does what
// the file beside it says that has its name with ".does" for ".exe": "crash" ends it with an
// access violation (exit status 0xC0000005, as any program that dies of one); a number is its
// exit status.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

int main() {
  char path[MAX_PATH + 8];
  const DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
  if (n < 4 || n >= MAX_PATH) return 3;
  std::strcpy(path + n - 4, ".does");
  std::FILE* f = std::fopen(path, "rb");
  if (!f) return 3;
  char does[32] = {};
  const std::size_t got = std::fread(does, 1, sizeof does - 1, f);
  std::fclose(f);
  if (got >= 5 && std::strncmp(does, "crash", 5) == 0) {
    // Unattended: no error box and no debugger, the process just ends with the fault's code.
    SetErrorMode(SEM_NOGPFAULTERRORBOX);
    // A page of its own that allows no access: address 0 can be mapped under Wine.
    volatile int* const forbidden = static_cast<int*>(
        VirtualAlloc(nullptr, 4096, MEM_COMMIT | MEM_RESERVE, PAGE_NOACCESS));
    *forbidden = 1;
  }
  return std::atoi(does);
}
