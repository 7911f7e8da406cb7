// vqhost's command line: "list" prints what the plug-in announces, "run" runs a script.
#pragma once

#include <cstdio>
#include <string>

namespace vq::vqhost {

// Exit status: every line ran / some script lines were bad / vqhost could not start (usage,
// library, script file).
inline constexpr int exit_ok = 0;
inline constexpr int exit_bad_lines = 1;
inline constexpr int exit_cannot_start = 2;

enum class command { none, help, list, run };

struct command_line {
  command what = command::none;
  std::string library;  // empty: the library built beside vqhost
  std::string script;   // empty or "-": standard input
  std::string error;    // a usage error, when not empty
};

// Parses the arguments after the program name: "--dll PATH" (or "--dll=PATH") anywhere,
// "-h"/"--help", then "list" or "run [FILE|-]".
command_line parse_command_line(int argc, const char* const* argv);

struct std_streams {
  std::FILE* in;
  std::FILE* out;
  std::FILE* err;
};

// The whole program over the given streams (all in binary mode); argv[0] locates the default
// library. Returns the exit status.
int vqhost_main(int argc, const char* const* argv, const std_streams& io);

}  // namespace vq::vqhost
