// The exported routines of Velquist.dll: the host protocol and the four action routines.
// All are stdcall on 32-bit Windows, where the host-protocol routines are exported under their
// decorated names (_pxExecAction@8) and the action routines under plain ones (ZK_ST_AT). None
// throws; a text read through a caller's pointer ends at its first zero byte, or at 2^24 bytes.
// [I] marks what a routine reads, [I/O] what it also writes.
#pragma once

#include <cstdint>

#include "host/abi.h"
#include "plugin/export_names.h"

extern "C" {

// [I] host_handle: stored. [I/O] title, publisher, description: old block GlobalFree'd, then a
// GlobalAlloc'd zero-terminated copy of the text. Zero variable address: skipped; no memory: 0.
VQ_EXPORT void VQ_STDCALL pxInitPlugIn(vq::host_word host_handle, char** title, char** publisher,
                                       char** description) noexcept;

// [I] add_action, set_variable: the host's callbacks; value2, value3: stored. Registers the four
// actions through add_action at once. A zero callback is stored and never called.
VQ_EXPORT void VQ_STDCALL pxRegisterPlugIn(vq::add_action_fn add_action, vq::host_word value2,
                                           vq::host_word value3,
                                           vq::set_variable_fn set_variable) noexcept;

// [I] value: stored, never used.
VQ_EXPORT void VQ_STDCALL pxRegisterScriptProcessor(vq::host_word value) noexcept;
// [I] value: stored, never used.
VQ_EXPORT void VQ_STDCALL pxRegisterInterfaceAccess(vq::host_word value) noexcept;

// [I] action; unused: never touched. Returns 1 for the action numbers 1 to 4, else 0; there is
// no editor to open.
VQ_EXPORT int32_t VQ_STDCALL pxEditAction(int32_t action, vq::host_word unused) noexcept;

// [I] action: 1 to 4, else returns 0 at once; text: address of the host variable holding the
// parameter text (zero address or value: empty; at most 2^24 bytes read). Runs it, returns 1.
VQ_EXPORT int32_t VQ_STDCALL pxExecAction(int32_t action, const char* const* text) noexcept;

// [I] code, value: ignored. Does nothing, for every message.
VQ_EXPORT void VQ_STDCALL pxMessage(vq::host_word code, vq::host_word value) noexcept;

// The action routines, one for each action export of plugin/velquist.def, each taking
// [I] parameters, zero = empty, publishing once and returning 0:
// - ZK_ST_AT "source|needle|from_pos|direction": the 1-based position of the match, " 0" for
//   none, under "zk_resultado".
// - ZK_ST_LEFT "text|n": the first n bytes (n < 0: all but the last -n; past either end: the
//   whole text) under "zk_resultado".
// - ZK_ST_RIGHT "text|n": the last n bytes (n < 0: all but the first -n; past either end: the
//   whole text) under "zk_resultado".
// - ZK_ST_FILEREAD "file|start|count|ALL or not|variable": up to count bytes from 1-based start
//   (ALL: bytes below 32 removed) under variable.
#define VQ_DECLARE_ACTION_ROUTINE(name) \
  VQ_EXPORT int32_t VQ_STDCALL name(const char* parameters) noexcept;
VQ_ACTION_EXPORTS(VQ_DECLARE_ACTION_ROUTINE)
#undef VQ_DECLARE_ACTION_ROUTINE

}  // extern "C"
