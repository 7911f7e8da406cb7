// The host side of the protocol: loads a Velquist library, takes its identity texts, registers
// the host's two callbacks, keeps the catalogue and the variables the plug-in sets, and runs
// actions through pxExecAction the way a host application does.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "vqhost/plugin_library.h"
#include "vqhost/variable_store.h"

namespace vq::vqhost {

// One action as the plug-in announced it through the add-action callback.
struct action_entry {
  int32_t number;
  std::string name;
  std::string hint;
  std::string parameter_type;
  int32_t count;
  int32_t count_again;
};

struct identity_texts {
  std::string title;
  std::string publisher;
  std::string description;
};

// One call of the set-variable callback (a zero address arrives as the empty text).
struct variable_set {
  std::string name;
  std::string value;
};

struct exec_outcome {
  int32_t result = 0;              // what pxExecAction returned (1 = action known)
  std::vector<variable_set> sets;  // every set-variable call the run made, in order
};

// One loaded library. The callbacks carry no context, so the session that registered last
// receives them; only one session is meant to exist at a time.
class host_session {
 public:
  host_session() = default;
  ~host_session();
  host_session(const host_session&) = delete;
  host_session& operator=(const host_session&) = delete;

  // Loads the library at path and resolves its eleven entry points; false, with the reason
  // in error, when it cannot be loaded or lacks an export.
  bool load(const std::string& path, std::string& error);

  // pxInitPlugIn: copies the three identity texts and releases the blocks, which the host
  // owns (a zero block is the empty text).
  identity_texts init_plugin();

  // pxRegisterPlugIn with the host's callbacks; the actions it announces fill actions().
  void register_plugin();

  const std::vector<action_entry>& actions() const { return actions_; }

  // The announced action named exactly name (letter case included); null if none.
  const action_entry* find_action(std::string_view name) const;
  // The first announced action whose name equals name ignoring ASCII letter case; null if none.
  const action_entry* find_action_any_case(std::string_view name) const;

  // Runs action number through pxExecAction with the parameter text in a host text variable.
  // Every value the plug-in sets during the run is stored in variables() and returned.
  exec_outcome exec(int32_t number, std::string_view parameters);

  variable_store& variables() { return variables_; }

 private:
  static void VQ_STDCALL on_add_action(int32_t number, const char* name, const char* hint,
                                       const char* parameter_type, int32_t count,
                                       int32_t count_again);
  static void VQ_STDCALL on_set_variable(const char* name, const char* value);

  loader::plugin_library library_;
  std::vector<action_entry> actions_;
  variable_store variables_;
  std::vector<variable_set> sets_;
};

}  // namespace vq::vqhost
