// The result text: the value the last search, left or right run published.
//
// Nothing in the DLL reads it back. It is kept because the module's state holds the last such
// result from one run to the next (file read runs leave it alone), from the library's load,
// when it is empty, to its unload. It is released at FreeLibrary and never at process exit
// (see plugin/library_detach.h).
#pragma once

#include <string_view>

namespace vq {

// Stores a copy of value as the result text, replacing the previous one. When no memory can be
// had for the copy, the result text is left empty.
void store_result_text(std::string_view value) noexcept;

// The result text; empty (zero address) when nothing is stored.
std::string_view result_text() noexcept;

// Frees the result text, which is then empty.
void release_result_text() noexcept;

}  // namespace vq
