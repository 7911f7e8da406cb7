#include "vqhost/system_library.h"

#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cstdio>

#include "vqhost/plugin_library.h"

namespace vq::loader {

// The DLL's export table names the host-protocol routines by their decorated stdcall names,
// in the 64-bit check build as well.
const char* system_symbol_name(const export_name& e) { return e.exported; }

void* load_system_library(const std::string& path, std::string& error) {
  HMODULE module = LoadLibraryA(path.c_str());
  if (!module) error = path + ": cannot load the library (error " + std::to_string(GetLastError()) + ")";
  return reinterpret_cast<void*>(module);
}

void* find_system_symbol(void* module, const char* name) {
  return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(module), name));
}

void free_system_library(void* module) { FreeLibrary(static_cast<HMODULE>(module)); }

void use_binary_stdio() {
  _setmode(_fileno(stdin), _O_BINARY);
  _setmode(_fileno(stdout), _O_BINARY);
  _setmode(_fileno(stderr), _O_BINARY);
}

void release_host_block(char* block) {
  if (block) GlobalFree(block);
}

std::string default_library_path(const char* argv0) {
  std::string path = argv0 ? argv0 : "";
  const std::size_t slash = path.find_last_of("\\/");
  return (slash == std::string::npos ? std::string() : path.substr(0, slash + 1)) + "Velquist.dll";
}

}  // namespace vq::loader
