// A fresh folder for one test's files, removed with everything in it when the test ends.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace vq::testing {

class scratch_folder {
 public:
  scratch_folder();
  ~scratch_folder();
  scratch_folder(const scratch_folder&) = delete;
  scratch_folder& operator=(const scratch_folder&) = delete;

  // Writes bytes (any, zero included) to the file name in the folder; returns its path.
  std::string write(std::string_view name, std::string_view bytes) const;
  std::string path_of(std::string_view name) const;

 private:
  std::filesystem::path folder_;
};

// The whole content of the file at path, as bytes; empty if it cannot be read.
std::string read_bytes(const std::string& path);

}  // namespace vq::testing
