// The exported routines of Velquist.dll: the host protocol and the four action routines.
// All are stdcall on 32-bit Windows, where the host-protocol routines are exported under their
// decorated names (_pxExecAction@8) and the action routines under plain ones (ZK_ST_AT).
#pragma once

#include <cstdint>

#include "host/abi.h"

extern "C" {

// Stores the host handle and hands the title, publisher and description texts to the host: each
// variable's old block is released with GlobalFree, then it gets a new GlobalAlloc'd
// zero-terminated copy. A zero variable address is skipped; a failed allocation leaves it zero.
VQ_EXPORT void VQ_STDCALL pxInitPlugIn(vq::host_word host_handle, char** title, char** publisher,
                                       char** description) noexcept;

// Stores the callbacks and the two values, then registers the four actions.
VQ_EXPORT void VQ_STDCALL pxRegisterPlugIn(vq::add_action_fn add_action, vq::host_word value2,
                                           vq::host_word value3,
                                           vq::set_variable_fn set_variable) noexcept;

VQ_EXPORT void VQ_STDCALL pxRegisterScriptProcessor(vq::host_word value) noexcept;
VQ_EXPORT void VQ_STDCALL pxRegisterInterfaceAccess(vq::host_word value) noexcept;

// 1 for the action numbers 1 to 4, else 0. No editor; the second argument is never touched.
VQ_EXPORT int32_t VQ_STDCALL pxEditAction(int32_t action, vq::host_word unused) noexcept;

// Runs action 1 to 4 on the text in the host variable (zero, or a BSTR-laid-out text read up
// to its first zero byte and at most 2^24 bytes; a zero variable address is the empty text) and
// returns 1; any other number returns 0 and does nothing.
VQ_EXPORT int32_t VQ_STDCALL pxExecAction(int32_t action, const char* const* text) noexcept;

// Does nothing, for every message.
VQ_EXPORT void VQ_STDCALL pxMessage(vq::host_word code, vq::host_word value) noexcept;

// The action routines: each takes a zero-terminated parameter text (zero = empty), publishes
// once through the set-variable callback, and returns 0.
VQ_EXPORT int32_t VQ_STDCALL ZK_ST_AT(const char* parameters) noexcept;
VQ_EXPORT int32_t VQ_STDCALL ZK_ST_LEFT(const char* parameters) noexcept;
VQ_EXPORT int32_t VQ_STDCALL ZK_ST_RIGHT(const char* parameters) noexcept;
VQ_EXPORT int32_t VQ_STDCALL ZK_ST_FILEREAD(const char* parameters) noexcept;

}  // extern "C"
