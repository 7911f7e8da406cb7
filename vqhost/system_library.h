// The few system services a host needs to load a library; one file per system implements them.
#pragma once

#include <string>

#include "plugin/export_names.h"

namespace vq::loader {

void* load_system_library(const std::string& path, std::string& error);
void* find_system_symbol(void* module, const char* name);
// The symbol an export is found under in this system's library format.
const char* system_symbol_name(const export_name& e);
void free_system_library(void* module);

// Puts standard input, output and error in binary mode, so that what a program reads and
// writes are the bytes themselves (no CR LF translation); nothing to do on POSIX systems.
void use_binary_stdio();

}  // namespace vq::loader
