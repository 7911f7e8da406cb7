// The library loader (namespace loader): loads a Velquist library the way a host does and
// resolves its entry points, each by the name of the routine it holds. Shared by vqhost, the library tests and the DLL benchmark.
#pragma once

#include <cstdint>
#include <string>

#include "host/abi.h"

namespace vq::loader {

struct entry_points {
  void(VQ_STDCALL* init_plugin)(host_word, char**, char**, char**);
  void(VQ_STDCALL* register_plugin)(add_action_fn, host_word, host_word, set_variable_fn);
  void(VQ_STDCALL* register_script_processor)(host_word);
  void(VQ_STDCALL* register_interface_access)(host_word);
  int32_t(VQ_STDCALL* edit_action)(int32_t, host_word);
  int32_t(VQ_STDCALL* exec_action)(int32_t, const char* const*);
  void(VQ_STDCALL* message)(host_word, host_word);
  int32_t(VQ_STDCALL* at)(const char*);
  int32_t(VQ_STDCALL* left)(const char*);
  int32_t(VQ_STDCALL* right)(const char*);
  int32_t(VQ_STDCALL* file_read)(const char*);
};

class plugin_library {
 public:
  plugin_library() = default;
  ~plugin_library();
  plugin_library(const plugin_library&) = delete;
  plugin_library& operator=(const plugin_library&) = delete;

  // Loads the library at path and resolves every entry point. On failure returns false and
  // says why in error (the library is then not loaded).
  bool open(const std::string& path, std::string& error);
  void close();

  const entry_points& entries() const { return entries_; }

 private:
  void* module_ = nullptr;
  entry_points entries_{};
};

// Releases an identity block the plug-in handed to the host (GlobalFree on Windows).
void release_host_block(char* block);

// The library file built beside the running program.
std::string default_library_path(const char* argv0);

}  // namespace vq::loader
