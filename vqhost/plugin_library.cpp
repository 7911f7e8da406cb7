#include "vqhost/plugin_library.h"

#include <cstring>

#include "vqhost/system_library.h"

namespace vq::loader {

plugin_library::~plugin_library() { close(); }

bool plugin_library::open(const std::string& path, std::string& error) {
  close();
  void* module = load_system_library(path, error);
  if (!module) return false;
  void* found[11];
  for (int i = 0; i < 11; ++i) {
    found[i] = find_system_symbol(module, entry_point_names[i]);
    if (!found[i]) {
      error = path + ": no export named " + entry_point_names[i];
      free_system_library(module);
      return false;
    }
  }
  static_assert(sizeof(entry_points) == sizeof found);
  std::memcpy(&entries_, found, sizeof found);
  module_ = module;
  return true;
}

void plugin_library::close() {
  if (module_) free_system_library(module_);
  module_ = nullptr;
  entries_ = {};
}

}  // namespace vq::loader
