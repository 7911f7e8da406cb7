#include "testhost/scratch_folder.h"

#include <atomic>
#include <chrono>
#include <fstream>
#include <iterator>

namespace vq::testing {

scratch_folder::scratch_folder() {
  static std::atomic<unsigned> made{0};
  const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
  folder_ = std::filesystem::temp_directory_path() /
            ("vqhost_test_" + std::to_string(stamp) + "_" + std::to_string(made++));
  std::filesystem::create_directories(folder_);
}

scratch_folder::~scratch_folder() {
  std::error_code ignored;
  std::filesystem::remove_all(folder_, ignored);
}

std::string scratch_folder::path_of(std::string_view name) const {
  return (folder_ / std::string(name)).string();
}

std::string scratch_folder::write(std::string_view name, std::string_view bytes) const {
  const std::string path = path_of(name);
  std::ofstream(path, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return path;
}

std::string read_bytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace vq::testing
