#include "vqhost/script_runner.h"

#include <cerrno>
#include <cstring>

#include "vqhost/escape.h"
#include "vqhost/script_line.h"

namespace vq::vqhost {
namespace {

std::string error_text(int code) { return code ? std::strerror(code) : "input error"; }

void write(std::FILE* file, std::string_view text) {
  std::fwrite(text.data(), 1, text.size(), file);
}

void report(std::FILE* err, std::string_view script_name, std::size_t line_number,
            std::string_view message) {
  write(err, "vqhost: " + std::string(script_name) + ":" + std::to_string(line_number) + ": " +
                 std::string(message) + "\n");
  std::fflush(err);
}

// Runs one action line; returns an error message, empty when the line ran.
std::string run_line(const script_line& line, host_session& session, std::FILE* out) {
  const action_entry* action = session.find_action(line.name);
  if (!action) {
    std::string message = "unknown action " + quoted(line.name);
    if (const action_entry* near = session.find_action_any_case(line.name)) {
      message += " (names keep their letter case: did you mean " + near->name + "?)";
    }
    return message;
  }
  const expansion parameters =
      expand_variables(line.parameters, session.variables(), max_line_length);
  if (!parameters.ok) return parameters.error;

  const exec_outcome outcome = session.exec(action->number, parameters.text);
  if (outcome.result != 1) {
    return "the plug-in refused action " + std::to_string(action->number) + " (" + action->name +
           ")";
  }
  for (const variable_set& set : outcome.sets) write(out, format_set(set));
  if (outcome.sets.empty()) write(out, "# " + action->name + " set no variable\n");
  std::fflush(out);
  return {};
}

}  // namespace

std::string format_set(const variable_set& set) {
  return (set.name.empty() ? std::string("\"\"") : escape_bytes(set.name)) + " = " +
         quoted(set.value) + "\n";
}

script_outcome run_script(std::FILE* script, std::string_view script_name, host_session& session,
                          std::FILE* out, std::FILE* err) {
  script_outcome outcome;
  std::size_t line_number = 0;
  std::string text;
  for (;;) {
    errno = 0;
    const read_status status = read_line(script, text, max_line_length);
    if (status == read_status::end) break;
    ++line_number;
    if (status == read_status::error) {
      report(err, script_name, line_number, "cannot read the script: " + error_text(errno));
      outcome.unreadable = true;
      break;
    }
    if (status == read_status::too_long) {
      report(err, script_name, line_number,
             "line longer than " + std::to_string(max_line_length) + " bytes, not run");
      ++outcome.bad_lines;
      continue;
    }
    const script_line line = parse_script_line(text);
    if (!line.is_action) continue;
    const std::string message = run_line(line, session, out);
    if (!message.empty()) {
      report(err, script_name, line_number, message);
      ++outcome.bad_lines;
    }
  }
  return outcome;
}

}  // namespace vq::vqhost
