#include "vqhost/plugin_library.h"

#include <iterator>
#include <string_view>

#include "plugin/export_names.h"
#include "vqhost/system_library.h"

namespace vq::loader {
namespace {

// Each slot of entry_points and the routine it holds.
#define VQ_ENTRY_POINTS(X)                                                                  \
  X(init_plugin, pxInitPlugIn) X(register_plugin, pxRegisterPlugIn)                         \
  X(register_script_processor, pxRegisterScriptProcessor)                                   \
  X(register_interface_access, pxRegisterInterfaceAccess) X(edit_action, pxEditAction)      \
  X(exec_action, pxExecAction) X(message, pxMessage) X(at, ZK_ST_AT) X(left, ZK_ST_LEFT)    \
  X(right, ZK_ST_RIGHT) X(file_read, ZK_ST_FILEREAD)

constexpr bool exported(std::string_view routine) {
  for (const export_name& e : export_names) {
    if (e.routine == routine) return true;
  }
  return false;
}

// Every slot's routine is in the export list, and the list has no more routines than slots:
// each export then fills exactly one slot, whatever the list's order.
#define VQ_IS_EXPORTED(slot, routine) &&exported(#routine)
#define VQ_ONE(slot, routine) +1
static_assert(true VQ_ENTRY_POINTS(VQ_IS_EXPORTED), "a slot's routine is not exported");
static_assert(std::size(export_names) == 0 VQ_ENTRY_POINTS(VQ_ONE),
              "an export that no slot of entry_points holds");
#undef VQ_IS_EXPORTED
#undef VQ_ONE

// Puts found in the slot that holds routine.
void fill_slot(entry_points& entries, std::string_view routine, void* found) {
#define VQ_BIND(slot, name)                                         \
  if (routine == #name) entries.slot = reinterpret_cast<decltype(entries.slot)>(found);
  VQ_ENTRY_POINTS(VQ_BIND)
#undef VQ_BIND
}

}  // namespace

plugin_library::~plugin_library() { close(); }

bool plugin_library::open(const std::string& path, std::string& error) {
  close();
  void* module = load_system_library(path, error);
  if (!module) return false;
  entry_points found{};
  for (const export_name& e : export_names) {
    const char* symbol = system_symbol_name(e);
    void* entry = find_system_symbol(module, symbol);
    if (!entry) {
      error = path + ": no export named " + symbol;
      free_system_library(module);
      return false;
    }
    fill_slot(found, e.routine, entry);
  }
  entries_ = found;
  module_ = module;
  return true;
}

void plugin_library::close() {
  if (module_) free_system_library(module_);
  module_ = nullptr;
  entries_ = {};
}

}  // namespace vq::loader
