// What the library does when it is detached from a process, shared by the Windows entry
// routine and the native library's unload.
#pragma once

namespace vq {

// At an unload (FreeLibrary, process_exit false) releases the result text. At process exit
// touches nothing: other threads may have died holding the heap lock, and the system reclaims
// everything anyway.
void on_library_detach(bool process_exit) noexcept;

}  // namespace vq
