// A fresh folder of the system's temporary folder for tests that touch real files, removed with
// everything in it (read-only files too) when the test ends.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vq::testing {

class temp_folder {
 public:
  temp_folder();
  ~temp_folder();
  temp_folder(const temp_folder&) = delete;
  temp_folder& operator=(const temp_folder&) = delete;

  // The name inside the folder as the text a script would write (the system's separators).
  std::string path(std::string_view name) const;
  // Writes bytes to a new file of that name and returns its path.
  std::string write(std::string_view name, std::string_view bytes) const;
  // The bytes of the named file, or nullopt when it does not exist.
  std::optional<std::string> read(std::string_view name) const;
  // The names in the folder, sorted.
  std::vector<std::string> listing() const;

  const std::filesystem::path& root() const { return root_; }

 private:
  std::filesystem::path root_;
};

}  // namespace vq::testing
