// 32-bit x86: calls go through an assembly thunk that keeps the stack pointer in a callee-saved
// register across the call, so it does not matter how many bytes the callback removes.
#include "host/host_call.h"

#include <cstdint>

extern "C" void vq_call_words(const void* fn, const uint32_t* words, uint32_t count);

namespace vq {
namespace {
uint32_t word(const void* p) { return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(p)); }
}  // namespace

void host_call_add_action(add_action_fn fn, int32_t number, const char* name, const char* hint,
                          const char* parameter_type, int32_t count) noexcept {
  const uint32_t words[6] = {static_cast<uint32_t>(number), word(name), word(hint),
                             word(parameter_type), static_cast<uint32_t>(count),
                             static_cast<uint32_t>(count)};
  vq_call_words(reinterpret_cast<const void*>(fn), words, 6);
}

void host_call_set_variable(set_variable_fn fn, const char* name, const char* value) noexcept {
  const uint32_t words[2] = {word(name), word(value)};
  vq_call_words(reinterpret_cast<const void*>(fn), words, 2);
}

}  // namespace vq
