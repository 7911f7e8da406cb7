// Runs a vqhost script: one action a line, each result printed as soon as its line has run.
#pragma once

#include <cstddef>
#include <cstdio>
#include <string>
#include <string_view>

#include "vqhost/host_session.h"

namespace vq::vqhost {

// No line, and no parameter text once its variables are inserted, may be longer than this:
// 16 MiB, the most the plug-in reads of a parameter text.
inline constexpr std::size_t max_line_length = 16777216;

// The result line printed for one set-variable call: the name, " = ", the value in double
// quotes, each escaped (escape.h), then a line feed: zk_resultado = " 4". An empty name is
// printed as "".
std::string format_set(const variable_set& set);

// Reads script (binary mode) line by line and runs each action line through session: the
// action is looked up by its exact name in the catalogue, "%name%" references are replaced
// (variable_store.h), and the parameter text goes to pxExecAction. The result lines go to out,
// flushed after every action. A bad line (unknown action, unclosed "%", a line that is too
// long) is reported on err as "vqhost: NAME:LINE: message", is not run, and the script goes
// on. A script that cannot be read (a folder, an I/O error) ends the run where it fails.
struct script_outcome {
  std::size_t bad_lines = 0;
  bool unreadable = false;
};
script_outcome run_script(std::FILE* script, std::string_view script_name, host_session& session,
                       std::FILE* out, std::FILE* err);

}  // namespace vq::vqhost
