// The host-protocol entry points: state, identity hand-off and dispatch.
#include "plugin/plugin.h"

#include <cstdlib>
#include <cstring>
#include <string_view>

#include "catalogue/catalogue.h"
#include "plugin/identity.h"
#include "plugin/state.h"
#include "platform/platform.h"
#include "text/param_text.h"

namespace {

using vq::os;
using vq::state;

// Releases the block the host variable holds, then gives it a fresh zero-terminated copy of
// text in GlobalAlloc'd memory that belongs to the host. It stays zero for an empty text or a
// failed allocation.
void hand_off(char** variable, std::string_view text) noexcept {
  if (!variable) return;
  if (*variable) os.global_free(*variable);
  *variable = nullptr;
  if (text.empty()) return;
  // GMEM_ZEROINIT (fixed memory) leaves the byte after the copy zero.
  auto* block = static_cast<char*>(os.global_alloc(vq::os_const::gmem_zeroinit, text.size() + 1));
  if (!block) return;
  std::memcpy(block, text.data(), text.size());
  *variable = block;
}

using action_routine = int32_t(VQ_STDCALL*)(const char*) noexcept;

action_routine routine_for(int32_t action) noexcept {
  switch (action) {
    case 1: return ZK_ST_AT;
    case 2: return ZK_ST_LEFT;
    case 3: return ZK_ST_RIGHT;
    case 4: return ZK_ST_FILEREAD;
    default: return nullptr;
  }
}

}  // namespace

extern "C" {

void VQ_STDCALL pxInitPlugIn(vq::host_word host_handle, char** title, char** publisher,
                             char** description) noexcept {
  state.host_handle = host_handle;
  hand_off(title, vq::title_text);
  hand_off(publisher, vq::publisher_text);
  hand_off(description, vq::description_text);
}

void VQ_STDCALL pxRegisterPlugIn(vq::add_action_fn add_action, vq::host_word value2,
                                 vq::host_word value3, vq::set_variable_fn set_variable) noexcept {
  state.add_action = add_action;
  state.registration_value2 = value2;
  state.registration_value3 = value3;
  state.set_variable = set_variable;
  vq::register_actions();
}

void VQ_STDCALL pxRegisterScriptProcessor(vq::host_word value) noexcept {
  state.script_processor = value;
}

void VQ_STDCALL pxRegisterInterfaceAccess(vq::host_word value) noexcept {
  state.interface_access = value;
}

int32_t VQ_STDCALL pxEditAction(int32_t action, vq::host_word) noexcept {
  return routine_for(action) ? 1 : 0;
}

int32_t VQ_STDCALL pxExecAction(int32_t action, const char* const* text) noexcept {
  const action_routine routine = routine_for(action);
  if (!routine) return 0;
  const std::string_view host_text = vq::take_text(text ? *text : nullptr);
  char* copy = nullptr;
  const char* argument = nullptr;
  if (!host_text.empty()) {
    copy = static_cast<char*>(std::malloc(host_text.size() + 1));
    if (copy) {
      std::memcpy(copy, host_text.data(), host_text.size());
      copy[host_text.size()] = '\0';
      argument = copy;
    } else {
      // The routine applies the same zero byte and length limit to the host's own bytes, which
      // stay unchanged during the call, so it sees the same text without the copy.
      argument = host_text.data();
    }
  }
  routine(argument);
  std::free(copy);
  return 1;
}

void VQ_STDCALL pxMessage(vq::host_word, vq::host_word) noexcept {}

}  // extern "C"
