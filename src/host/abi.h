// The binary conventions shared with the host: 32-bit stdcall on Windows, plain C elsewhere.
#pragma once

#include <cstdint>

#if defined(__i386__)
#define VQ_STDCALL __attribute__((stdcall))
#else
#define VQ_STDCALL
#endif

// Exports are listed in the module definition file on Windows; elsewhere visibility marks them.
#if defined(_WIN32)
#define VQ_EXPORT
#else
#define VQ_EXPORT __attribute__((visibility("default")))
#endif

namespace vq {

// A 32-bit value of the host protocol whose meaning is the host's business (pointer-wide in the
// native build, so that it can carry an address there too).
using host_word = std::uintptr_t;

// The host's callbacks. The plug-in never calls these types directly on 32-bit Windows: it
// goes through host_call, which survives callbacks that clean up the stack differently.
using add_action_fn = void(VQ_STDCALL*)(int32_t number, const char* name, const char* hint,
                                        const char* parameter_type, int32_t count,
                                        int32_t count_again);
using set_variable_fn = void(VQ_STDCALL*)(const char* name, const char* value);

}  // namespace vq
