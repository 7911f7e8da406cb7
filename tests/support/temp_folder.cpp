#include "support/temp_folder.h"

#include <algorithm>
#include <chrono>
#include <fstream>
#include <iterator>

namespace vq::testing {

namespace fs = std::filesystem;

temp_folder::temp_folder() {
  static unsigned serial = 0;
  const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
  std::error_code error;
  do {
    root_ = fs::temp_directory_path() /
            ("vq-test-" + std::to_string(stamp) + "-" + std::to_string(++serial));
  } while (!fs::create_directory(root_, error) && !error);
}

temp_folder::~temp_folder() {
  // A read-only file cannot be removed on Windows until it is writable again.
  std::error_code error;
  for (const auto& entry : fs::recursive_directory_iterator(root_, error))
    fs::permissions(entry.path(), fs::perms::owner_all, fs::perm_options::add, error);
  fs::remove_all(root_, error);
}

std::string temp_folder::path(std::string_view name) const {
  return (root_ / fs::path(std::string(name))).string();
}

std::string temp_folder::write(std::string_view name, std::string_view bytes) const {
  const std::string file = path(name);
  std::ofstream out(fs::path(file), std::ios::binary);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return file;
}

std::optional<std::string> temp_folder::read(std::string_view name) const {
  std::ifstream in(fs::path(path(name)), std::ios::binary);
  if (!in) return std::nullopt;
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::vector<std::string> temp_folder::listing() const {
  std::vector<std::string> names;
  std::error_code error;
  for (const auto& entry : fs::directory_iterator(root_, error))
    names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace vq::testing
