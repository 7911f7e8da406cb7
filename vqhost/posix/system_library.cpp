#include "vqhost/system_library.h"

#include <dlfcn.h>
#include <unistd.h>

#include <cstdlib>

#include "vqhost/plugin_library.h"

namespace vq::loader {

// A native library exports each routine under its plain name.
const char* system_symbol_name(const export_name& e) { return e.routine; }

void* load_system_library(const std::string& path, std::string& error) {
  // A bare file name would make dlopen search the system paths instead of the folder.
  const std::string where = path.find('/') == std::string::npos ? "./" + path : path;
  void* module = dlopen(where.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!module) error = path + ": cannot load the library (" + dlerror() + ")";
  return module;
}

void* find_system_symbol(void* module, const char* name) { return dlsym(module, name); }

void free_system_library(void* module) { dlclose(module); }

void use_binary_stdio() {}

// The native stand-in hands out malloc'd blocks.
void release_host_block(char* block) { std::free(block); }

std::string default_library_path(const char* argv0) {
  std::string path = argv0 ? argv0 : "";
  // A program found through PATH has no folder in argv[0]; the system knows where it lives.
  if (path.find('/') == std::string::npos) {
    char self[4096];
    const ssize_t length = readlink("/proc/self/exe", self, sizeof self - 1);
    if (length > 0) path.assign(self, static_cast<std::size_t>(length));
  }
  const std::size_t slash = path.find_last_of('/');
  return (slash == std::string::npos ? std::string("./") : path.substr(0, slash + 1)) +
         "libvelquist.so";
}

}  // namespace vq::loader
