#include "vqhost/vqhost.h"

#include <cerrno>
#include <cstring>
#include <string_view>

#include "vqhost/escape.h"
#include "vqhost/host_session.h"
#include "vqhost/script_runner.h"

namespace vq::vqhost {
namespace {

constexpr std::string_view usage_text =
    "usage: vqhost [--dll PATH] list\n"
    "       vqhost [--dll PATH] run [FILE | -]\n"
    "  list        print the plug-in's identity texts and the actions it registers\n"
    "  run FILE    run a script, one action a line: NAME, one blank, the parameter text;\n"
    "              %name% inserts a variable, %% a percent sign; blank lines and lines\n"
    "              starting with # are skipped. No FILE, or -, reads standard input and\n"
    "              runs each line as soon as it is read.\n"
    "  --dll PATH  the plug-in library to load (default: the one beside vqhost)\n"
    "Each result is printed as: NAME = \"VALUE\", unprintable bytes escaped (\\x00, \\\\).\n"
    "Exit status: 0 every line ran, 1 some lines were bad (reported on standard error),\n"
    "2 vqhost could not start.\n";

void write(std::FILE* file, std::string_view text) {
  std::fwrite(text.data(), 1, text.size(), file);
}

// Whether the first byte of file can be read (or the file is empty); leaves file unmoved.
bool readable(std::FILE* file) {
  errno = 0;
  const int c = std::getc(file);
  if (c == EOF) return !std::ferror(file);
  std::ungetc(c, file);
  return true;
}

void print_identity(const identity_texts& identity, std::FILE* out) {
  write(out, "# title: " + quoted(identity.title) + "\n");
  write(out, "# publisher: " + quoted(identity.publisher) + "\n");
  write(out, "# description: " + quoted(identity.description) + "\n");
}

// One action a paragraph: number, name, parameter type and counts, then the hint one line at
// a time (the plug-in joins hint lines with CR LF), each quoted so trailing blanks show.
void print_catalogue(const host_session& session, std::FILE* out) {
  for (const action_entry& action : session.actions()) {
    std::string head = "\n" + std::to_string(action.number) + " " + escape_bytes(action.name) +
                       " (" + escape_bytes(action.parameter_type) + ", ";
    if (action.count == action.count_again) {
      head += std::to_string(action.count) + (action.count == 1 ? " parameter)" : " parameters)");
    } else {
      head += "counts " + std::to_string(action.count) + " and " +
              std::to_string(action.count_again) + ")";
    }
    write(out, head + "\n");
    const std::string_view hint = action.hint;
    std::size_t at = 0;
    for (;;) {
      const std::size_t end = hint.find("\r\n", at);
      write(out, "    " + quoted(hint.substr(at, end - at)) + "\n");
      if (end == std::string_view::npos) break;
      at = end + 2;
    }
  }
}

}  // namespace

command_line parse_command_line(int argc, const char* const* argv) {
  command_line parsed;
  bool library_given = false;
  std::string operands[3];
  int operand_count = 0;
  for (int i = 1; i < argc; ++i) {
    const std::string_view argument = argv[i] ? argv[i] : "";
    if (argument == "--dll" || argument.starts_with("--dll=")) {
      if (argument == "--dll" && i + 1 >= argc) {
        parsed.error = "--dll needs a library path";
        return parsed;
      }
      parsed.library = argument == "--dll" ? argv[++i] : std::string(argument.substr(6));
      library_given = true;
    } else if (argument == "-h" || argument == "--help") {
      parsed.what = command::help;
      return parsed;
    } else if (argument.size() > 1 && argument.front() == '-') {
      parsed.error = "unknown option " + quoted(argument);
      return parsed;
    } else if (operand_count < 3) {
      operands[operand_count++] = argument;
    } else {
      ++operand_count;
    }
  }
  if (library_given && parsed.library.empty()) {
    parsed.error = "--dll needs a library path";
  } else if (operand_count == 0) {
    parsed.error = "no command: say list or run";
  } else if (operands[0] == "list" && operand_count == 1) {
    parsed.what = command::list;
  } else if (operands[0] == "run" && operand_count <= 2) {
    parsed.what = command::run;
    parsed.script = operands[1];
  } else if (operands[0] != "list" && operands[0] != "run") {
    parsed.error = "unknown command " + quoted(operands[0]);
  } else {
    parsed.error = "too many arguments for " + operands[0];
  }
  return parsed;
}

int vqhost_main(int argc, const char* const* argv, const std_streams& io) {
  const command_line parsed = parse_command_line(argc, argv);
  if (parsed.what == command::help) {
    write(io.out, usage_text);
    return exit_ok;
  }
  if (!parsed.error.empty()) {
    write(io.err, "vqhost: " + parsed.error + "\n" + std::string(usage_text));
    return exit_cannot_start;
  }

  const bool from_stdin = parsed.what == command::run &&
                          (parsed.script.empty() || parsed.script == "-");
  const std::string script_name = from_stdin ? "<stdin>" : parsed.script;
  std::FILE* script = nullptr;
  if (parsed.what == command::run) {
    script = from_stdin ? io.in : std::fopen(parsed.script.c_str(), "rb");
    if (!script) {
      write(io.err, "vqhost: " + parsed.script + ": cannot open the script: " +
                        std::strerror(errno) + "\n");
      return exit_cannot_start;
    }
    // A folder opens fine on POSIX systems and fails at its first read: find out before the
    // library is loaded. Standard input is not peeked at, it may be someone typing.
    if (!from_stdin && !readable(script)) {
      write(io.err, "vqhost: " + parsed.script + ": cannot read the script: " +
                        std::strerror(errno) + "\n");
      std::fclose(script);
      return exit_cannot_start;
    }
  }

  host_session session;
  std::string error;
  const std::string library = parsed.library.empty()
                                  ? loader::default_library_path(argc > 0 ? argv[0] : nullptr)
                                  : parsed.library;
  int status = exit_ok;
  if (!session.load(library, error)) {
    write(io.err, "vqhost: " + error + "\n");
    status = exit_cannot_start;
  } else {
    print_identity(session.init_plugin(), io.out);
    session.register_plugin();
    if (parsed.what == command::list) {
      print_catalogue(session, io.out);
    } else {
      std::fflush(io.out);
      const script_outcome outcome = run_script(script, script_name, session, io.out, io.err);
      if (outcome.unreadable) {
        status = exit_cannot_start;
      } else if (outcome.bad_lines) {
        status = exit_bad_lines;
      }
    }
  }
  std::fflush(io.out);
  if (script && script != io.in) std::fclose(script);
  return status;
}

}  // namespace vq::vqhost
