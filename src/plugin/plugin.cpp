// The host-protocol entry points: state, identity hand-off and dispatch.
#include "plugin/plugin.h"

#include <cstring>
#include <string_view>

#include "catalogue/actions.h"
#include "catalogue/catalogue.h"
#include "host/callbacks.h"
#include "plugin/identity.h"
#include "plugin/state.h"
#include "platform/platform.h"

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
  vq::register_host_callbacks({add_action, set_variable});
  state.registration_value2 = value2;
  state.registration_value3 = value3;
  vq::register_actions();
}

void VQ_STDCALL pxRegisterScriptProcessor(vq::host_word value) noexcept {
  state.script_processor = value;
}

void VQ_STDCALL pxRegisterInterfaceAccess(vq::host_word value) noexcept {
  state.interface_access = value;
}

int32_t VQ_STDCALL pxEditAction(int32_t action, vq::host_word) noexcept {
  return vq::action_for(action) ? 1 : 0;
}

int32_t VQ_STDCALL pxExecAction(int32_t action, const char* const* text) noexcept {
  const vq::action_row* const row = vq::action_for(action);
  if (!row) return 0;
  // The action runs on the host's own bytes: nothing reads them once its publish step begins,
  // and until then no foreign code runs that could change them (see host/publish.h).
  row->run(vq::split_fields(text ? *text : nullptr, row->field_count));
  return 1;
}

void VQ_STDCALL pxMessage(vq::host_word, vq::host_word) noexcept {}

}  // extern "C"
