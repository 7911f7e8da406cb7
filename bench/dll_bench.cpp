// The real Velquist.dll, loaded the way a host loads it, against baselines measured in the same
// run: each case and its baseline alternate, and the fastest of several rounds of each is kept.
// Prints one line per case: both times, their ratio and the goal for it.
//
//   velquist_dll_bench [DLL]                    every case (DLL defaults to the one beside it)
//   velquist_dll_bench --peak MODE FILE DLL     one whole-file read in this fresh process, and
//                                               its extra peak working set to the file size
#include <windows.h>
#include <emmintrin.h>
#include <oleauto.h>
#include <psapi.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "english_text.h"
#include "vqhost/plugin_library.h"

namespace {

constexpr std::size_t mib = std::size_t{1} << 20;
// The whole parameter text, fields included, must fit the 2^24-byte limit.
constexpr std::size_t text_size = 16 * mib - 32;
constexpr std::size_t file_size = 64 * mib;

const vq::loader::entry_points* px = nullptr;
int sets = 0;
uint32_t last_length = 0;  // byte count of the value the last publish carried

void VQ_STDCALL on_set_variable(const char*, const char* value) {
  ++sets;
  last_length = 0;
  if (value) std::memcpy(&last_length, value - 4, 4);
}
void VQ_STDCALL on_add_action(int32_t, const char*, const char*, const char*, int32_t, int32_t) {}

// A host text variable's target: BSTR-laid-out characters.
class host_text {
 public:
  explicit host_text(std::string_view text) : block_(4 + text.size() + 2, '\0') {
    const auto count = static_cast<uint32_t>(text.size());
    std::memcpy(block_.data(), &count, 4);
    std::memcpy(block_.data() + 4, text.data(), text.size());
    chars_ = block_.data() + 4;
  }
  const char* const* variable() const { return &chars_; }

 private:
  std::vector<char> block_;
  const char* chars_;
};

// Runs one action and returns the byte count it published; stops the program if it did not
// publish exactly once or published the wrong length, so a figure is never of a broken run.
uint32_t exec(int32_t action, const host_text& text, uint32_t expected) {
  sets = 0;
  px->exec_action(action, text.variable());
  if (sets != 1 || last_length != expected) {
    std::fprintf(stderr, "dll_bench: action %d published %d times, %u bytes, not %u\n", action,
                 sets, last_length, expected);
    std::exit(1);
  }
  return last_length;
}

double now() {
  LARGE_INTEGER count, frequency;
  QueryPerformanceCounter(&count);
  QueryPerformanceFrequency(&frequency);
  return static_cast<double>(count.QuadPart) / static_cast<double>(frequency.QuadPart);
}

template <class F>
double timed(F&& f) {
  const double start = now();
  f();
  return now() - start;
}

const char* volatile sink = nullptr;

// Baseline: one SSE2 pass for a byte that never occurs, 64 bytes a step. (The bench runs on
// processors with SSE2 only; the build assumes none, hence the target.)
__attribute__((target("sse2"))) inline __m128i sse2_eq_at(const char* p, __m128i v) {
  return _mm_cmpeq_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p)), v);
}

__attribute__((noinline, target("sse2"))) const char* sse2_scan(const char* p, std::size_t n,
                                                               char b) {
  const __m128i v = _mm_set1_epi8(b);
  std::size_t i = 0;
  for (; i + 64 <= n; i += 64) {
    const char* const q = p + i;
    const __m128i any = _mm_or_si128(_mm_or_si128(sse2_eq_at(q, v), sse2_eq_at(q + 16, v)),
                                     _mm_or_si128(sse2_eq_at(q + 32, v), sse2_eq_at(q + 48, v)));
    if (_mm_movemask_epi8(any)) break;
  }
  for (; i < n; ++i) {
    if (p[i] == b) return p + i;
  }
  return nullptr;
}

// Baseline: a copy into memory fresh from the heap.
__attribute__((noinline)) void copy_fresh(const char* p, std::size_t n) {
  auto* block = static_cast<char*>(HeapAlloc(GetProcessHeap(), 0, n));
  std::memcpy(block, p, n);
  HeapFree(GetProcessHeap(), 0, block);
}

// Baseline: open, one ReadFile of the whole file into memory fresh from the heap, close.
__attribute__((noinline)) void read_fresh(const std::string& path, std::size_t n) {
  auto* block = static_cast<char*>(HeapAlloc(GetProcessHeap(), 0, n));
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  DWORD done = 0;
  if (file == INVALID_HANDLE_VALUE ||
      !ReadFile(file, block, static_cast<DWORD>(n), &done, nullptr) || done != n) {
    std::fprintf(stderr, "dll_bench: cannot read %s\n", path.c_str());
    std::exit(1);
  }
  CloseHandle(file);
  HeapFree(GetProcessHeap(), 0, block);
}

// Baseline for a small search: the allocations a run was held to before it ran on the host's
// bytes: a block for the copy of the text, the result text, the two callback texts.
__attribute__((noinline)) void mandated_allocations(const char* text, std::size_t n) {
  static char* result = nullptr;
  char* copy = static_cast<char*>(std::malloc(n + 1));
  std::memcpy(copy, text, n + 1);
  char* fresh = static_cast<char*>(std::malloc(2));
  std::memcpy(fresh, " 2", 2);
  std::free(result);
  result = fresh;
  BSTR value = SysAllocStringByteLen(" 2", 2);
  BSTR name = SysAllocStringByteLen("zk_resultado", 12);
  SysFreeString(name);
  SysFreeString(value);
  std::free(copy);
}

struct figure {
  double ours = 1e9;
  double base = 1e9;
};

template <class Ours, class Base>
figure compare(int rounds, Ours&& ours, Base&& base) {
  figure f;
  for (int r = 0; r < rounds; ++r) {
    f.base = std::min(f.base, timed(base));
    f.ours = std::min(f.ours, timed(ours));
  }
  return f;
}

void print(const char* what, const char* base_name, figure f, const char* goal) {
  std::printf("%-34s %9.3f ms  %-16s %9.3f ms  ratio %6.2f  (goal %s)\n", what, f.ours * 1e3,
              base_name, f.base * 1e3, f.ours / f.base, goal);
  std::fflush(stdout);
}

bool open_library(vq::loader::plugin_library& library, const std::string& path) {
  std::string error;
  if (!library.open(path, error)) {
    std::fprintf(stderr, "dll_bench: %s\n", error.c_str());
    return false;
  }
  px = &library.entries();
  px->register_plugin(on_add_action, 0, 0, on_set_variable);
  return true;
}

std::size_t peak_extra_of_read(const std::string& mode, const std::string& path) {
  const host_text text(path + "|1|" + std::to_string(file_size) + "|" + mode + "|data");
  PROCESS_MEMORY_COUNTERS before{}, after{};
  GetProcessMemoryInfo(GetCurrentProcess(), &before, sizeof before);
  sets = 0;
  px->exec_action(4, text.variable());
  GetProcessMemoryInfo(GetCurrentProcess(), &after, sizeof after);
  if (sets != 1 || last_length == 0) std::exit(1);
  return after.PeakWorkingSetSize - before.WorkingSetSize;
}

// Runs this program again for one read, so the peak is of that read alone.
void peak_in_fresh_process(const std::string& mode, const std::string& path,
                           const std::string& dll, const char* goal) {
  char self[MAX_PATH];
  GetModuleFileNameA(nullptr, self, MAX_PATH);
  std::string command = "\"" + std::string(self) + "\" --peak " + mode + " \"" + path + "\" \"" +
                        dll + "\"";
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                      &startup, &process)) {
    std::fprintf(stderr, "dll_bench: cannot start %s\n", command.c_str());
    std::exit(1);
  }
  WaitForSingleObject(process.hProcess, INFINITE);
  DWORD code = 1;
  GetExitCodeProcess(process.hProcess, &code);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  if (code <= 1) std::exit(1);  // 1: the read failed
  std::printf("%-34s %9.1f MiB  %-16s %9.1f MiB  ratio %6.2f  (goal %s)\n",
              ("read 64 MiB, " + mode + ": peak extra").c_str(), code / 1024.0, "file size",
              file_size / double(mib), code * 1024.0 / file_size, goal);
  std::fflush(stdout);
}

std::string write_test_file() {
  char folder[MAX_PATH];
  GetTempPathA(MAX_PATH, folder);
  const std::string path = std::string(folder) + "velquist-dll-bench.bin";
  // Text with a line feed now and then, so that stripping shortens it a little.
  const std::string bytes = english_text(file_size);
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  DWORD done = 0;
  if (file == INVALID_HANDLE_VALUE ||
      !WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &done, nullptr)) {
    std::fprintf(stderr, "dll_bench: cannot write %s\n", path.c_str());
    std::exit(1);
  }
  CloseHandle(file);
  return path;
}

int run_all(const std::string& dll) {
  vq::loader::plugin_library library;
  if (!open_library(library, dll)) return 2;

  const std::string text = english_text(text_size);
  const std::string needle = "quixotic";  // 8 bytes, absent from the text
  if (text.find(needle) != std::string::npos) return 2;
  const host_text search_lr(text + "|" + needle + "|1|LR");
  const host_text search_rl(text + "|" + needle + "|1|RL");
  const host_text half(text + "|" + std::to_string(text_size / 2));
  const char* const t = text.data();

  const int rounds = 15;
  const auto scan = [&] { sink = sse2_scan(t, text_size, '\1'); };
  print("search 16 MiB, absent, LR", "SSE2 byte scan",
        compare(rounds, [&] { exec(1, search_lr, 2); }, scan), "<= 4.5");
  print("search 16 MiB, absent, RL", "SSE2 byte scan",
        compare(rounds, [&] { exec(1, search_rl, 2); }, scan), "<= 4.5");
  print("Left 8 MiB of 16 MiB", "16 MiB copy",
        compare(rounds, [&] { exec(2, half, text_size / 2); }, [&] { copy_fresh(t, text_size); }),
        "<= 1.15");
  print("Right 8 MiB of 16 MiB", "16 MiB copy",
        compare(rounds, [&] { exec(3, half, text_size / 2); }, [&] { copy_fresh(t, text_size); }),
        "<= 1.15");

  const std::string path = write_test_file();
  const host_text read_all(path + "|1|" + std::to_string(file_size) + "|None|data");
  print("read 64 MiB, None", "CreateFile+ReadFile",
        compare(7, [&] { exec(4, read_all, file_size); }, [&] { read_fresh(path, file_size); }),
        "<= 1.15");
  peak_in_fresh_process("None", path, dll, "<= 1.1");
  peak_in_fresh_process("ALL", path, dll, "<= 2.1");
  DeleteFileA(path.c_str());

  const char small[] = "abcb|b|1|LR";
  const host_text small_text(small);
  constexpr int calls = 20000;
  print("search \"abcb|b|1|LR\" x 20000", "its allocations",
        compare(rounds, [&] { for (int i = 0; i < calls; ++i) exec(1, small_text, 2); },
                [&] { for (int i = 0; i < calls; ++i) mandated_allocations(small, 11); }),
        "<= 1.8");
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 5 && std::string(argv[1]) == "--peak") {
    // The exit code carries the extra peak in KiB.
    vq::loader::plugin_library library;
    if (!open_library(library, argv[4])) return 1;
    return static_cast<int>(peak_extra_of_read(argv[2], argv[3]) / 1024);
  }
  const std::string dll = argc > 1 ? argv[1] : vq::loader::default_library_path(argv[0]);
  return run_all(dll);
}
