#include "vqhost/host_session.h"

#include <cstring>

#include "vqhost/host_text.h"

namespace vq::vqhost {
namespace {

host_session* active_session = nullptr;

bool equal_any_case(std::string_view a, std::string_view b) {
  auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

// Copies a zero-terminated identity text out of its host-owned block and releases the block.
std::string take_host_block(char*& block) {
  std::string text = block ? std::string(block, std::strlen(block)) : std::string();
  loader::release_host_block(block);
  block = nullptr;
  return text;
}

}  // namespace

host_session::~host_session() {
  library_.close();
  if (active_session == this) active_session = nullptr;
}

bool host_session::load(const std::string& path, std::string& error) {
  actions_.clear();
  return library_.open(path, error);
}

identity_texts host_session::init_plugin() {
  char* blocks[3] = {nullptr, nullptr, nullptr};
  library_.entries().init_plugin(1, &blocks[0], &blocks[1], &blocks[2]);
  identity_texts texts;
  texts.title = take_host_block(blocks[0]);
  texts.publisher = take_host_block(blocks[1]);
  texts.description = take_host_block(blocks[2]);
  return texts;
}

void host_session::register_plugin() {
  active_session = this;
  actions_.clear();
  library_.entries().register_plugin(on_add_action, 0, 0, on_set_variable);
}

const action_entry* host_session::find_action(std::string_view name) const {
  for (const action_entry& entry : actions_) {
    if (entry.name == name) return &entry;
  }
  return nullptr;
}

const action_entry* host_session::find_action_any_case(std::string_view name) const {
  for (const action_entry& entry : actions_) {
    if (equal_any_case(entry.name, name)) return &entry;
  }
  return nullptr;
}

exec_outcome host_session::exec(int32_t number, std::string_view parameters) {
  const host_text text(parameters);
  const char* variable = text.variable();
  sets_.clear();
  exec_outcome outcome;
  outcome.result = library_.entries().exec_action(number, &variable);
  outcome.sets.swap(sets_);
  return outcome;
}

// The callbacks run inside the plug-in's frames, which are built without unwind tables: an
// exception (bad_alloc) must never leave them, so a text that cannot be stored is dropped.
void VQ_STDCALL host_session::on_add_action(int32_t number, const char* name, const char* hint,
                                            const char* parameter_type, int32_t count,
                                            int32_t count_again) {
  if (!active_session) return;
  try {
    std::vector<action_entry>& actions = active_session->actions_;
    action_entry entry{number, read_callback_text(name), read_callback_text(hint),
                       read_callback_text(parameter_type), count, count_again};
    // Registering again announces the same numbers again: keep one entry per number.
    for (action_entry& known : actions) {
      if (known.number == number) {
        known = std::move(entry);
        return;
      }
    }
    actions.push_back(std::move(entry));
  } catch (...) {
  }
}

void VQ_STDCALL host_session::on_set_variable(const char* name, const char* value) {
  if (!active_session) return;
  try {
    variable_set set{read_callback_text(name), read_callback_text(value)};
    active_session->variables_.set(set.name, set.value);
    active_session->sets_.push_back(std::move(set));
  } catch (...) {
  }
}

}  // namespace vq::vqhost
