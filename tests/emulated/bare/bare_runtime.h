// What a program without the C library needs of its own: output and an entry point.
#pragma once

#include <cstddef>

namespace bare {

// Writes the bytes to standard output, as much of them as the system takes.
void write_out(const char* text, std::size_t length) noexcept;

}  // namespace bare

// The program proper, called by the entry point with the process's arguments; its result is
// the exit status.
int bare_main(int argc, char** argv) noexcept;
