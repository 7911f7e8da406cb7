// Replays saved fuzz inputs through a target's LLVMFuzzerTestOneInput from a plain main, so a
// corpus runs as an ordinary test without libFuzzer. Arguments are files or directories (read
// recursively, in name order). Exit status 1 when an argument cannot be read; a finding
// aborts inside the target as it would under the fuzzer.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);
extern "C" __attribute__((weak)) int LLVMFuzzerInitialize(int* argc, char*** argv);

namespace {

bool replay_file(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  // Exactly the file's bytes, so a read past the end is caught by sanitizers.
  const std::vector<std::uint8_t> input((std::istreambuf_iterator<char>(in)),
                                        std::istreambuf_iterator<char>());
  LLVMFuzzerTestOneInput(input.data(), input.size());
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (LLVMFuzzerInitialize) LLVMFuzzerInitialize(&argc, &argv);
  int replayed = 0;
  int unreadable = 0;
  for (int k = 1; k < argc; ++k) {
    std::error_code error;
    std::vector<std::filesystem::path> files;
    if (std::filesystem::is_directory(argv[k], error)) {
      for (const auto& entry : std::filesystem::recursive_directory_iterator(argv[k], error)) {
        if (entry.is_regular_file()) files.push_back(entry.path());
      }
      std::sort(files.begin(), files.end());
    } else {
      files.emplace_back(argv[k]);
    }
    for (const auto& file : files) {
      if (replay_file(file)) {
        ++replayed;
      } else {
        ++unreadable;
        std::fprintf(stderr, "cannot read %s\n", file.string().c_str());
      }
    }
  }
  std::printf("replayed %d input(s)\n", replayed);
  return unreadable ? 1 : 0;
}
