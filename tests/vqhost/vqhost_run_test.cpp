// vqhost as a whole, run in-process over files standing in for its standard streams, against
// the library built beside the tests.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "catalogue/catalogue_golden.h"
#include "support/temp_folder.h"
#include "vqhost/host_session.h"
#include "vqhost/plugin_library.h"
#include "vqhost/script_runner.h"
#include "vqhost/vqhost.h"

namespace vq::vqhost {
namespace {

using namespace std::string_literals;

std::string library_file;     // the plug-in, from the command line
std::string no_exports_file;  // a library without the plug-in's exports

struct run_result {
  int status;
  std::string out;
  std::string err;
};

// Drops the three identity lines every loaded library prints first.
std::string results_of(const std::string& out) {
  std::string results;
  std::size_t at = 0;
  while (at < out.size()) {
    const std::size_t end = out.find('\n', at);
    const std::string line = out.substr(at, end == std::string::npos ? end : end - at + 1);
    const bool identity = line.starts_with("# title: ") || line.starts_with("# publisher: ") ||
                          line.starts_with("# description: ");
    if (!identity) results += line;
    at = end == std::string::npos ? out.size() : end + 1;
  }
  return results;
}

class VqhostRun : public ::testing::Test {
 protected:
  // Runs vqhost with args, standard input holding input.
  run_result run(const std::vector<std::string>& args, std::string_view input = {}) {
    const std::string in_path = folder.write("stdin", input);
    std::FILE* in = std::fopen(in_path.c_str(), "rb");
    std::FILE* out = std::fopen(folder.path("stdout").c_str(), "wb");
    std::FILE* err = std::fopen(folder.path("stderr").c_str(), "wb");
    EXPECT_TRUE(in && out && err);
    std::vector<const char*> argv{"vqhost"};
    for (const std::string& arg : args) argv.push_back(arg.c_str());
    const int status = vqhost_main(static_cast<int>(argv.size()), argv.data(), {in, out, err});
    std::fclose(in);
    std::fclose(out);
    std::fclose(err);
    return {status, folder.read("stdout").value_or(""), folder.read("stderr").value_or("")};
  }

  // Runs the script from a file named script.vqs through the plug-in.
  run_result run_script(std::string_view script) {
    return run({"--dll", library_file, "run", folder.write("script.vqs", script)});
  }

  // Runs the script, a file opened in mode, through run_script in a session of the test's.
  struct session_run {
    script_outcome outcome;
    std::string out, err;
  };
  session_run run_in(host_session& session, const std::string& name, std::string_view script,
                     const char* mode = "rb") {
    std::FILE* in = std::fopen(folder.write(name, script).c_str(), mode);
    std::FILE* out = std::fopen(folder.path("out").c_str(), "wb");
    std::FILE* err = std::fopen(folder.path("err").c_str(), "wb");
    EXPECT_TRUE(in && out && err);
    const script_outcome outcome = vqhost::run_script(in, name, session, out, err);
    std::fclose(in);
    std::fclose(out);
    std::fclose(err);
    return {outcome, folder.read("out").value_or(""), folder.read("err").value_or("")};
  }

  testing::temp_folder folder;
};

TEST_F(VqhostRun, ScriptsPrintOneResultLinePerAction) {
  const struct {
    std::string script, results, error;  // error: a piece of standard error, empty for none
    int status;
  } rows[] = {
      {"ZK_ST_Left Hello world|5\n", "zk_resultado = \"Hello\"\n", "", 0},
      {"ZK_ST_Left ab|1", "zk_resultado = \"a\"\n", "", 0},  // no final line feed
      {"# note\r\n\r\nZK_ST_Left ab|1\r\n \t\r\n#ZK_ST_Left x|1\r\nZK_ST_Right ab|1\r\n",
       "zk_resultado = \"a\"\nzk_resultado = \"b\"\n", "", 0},
      {"ZK_ST_Left \xe9t\xe9|2\n", "zk_resultado = \"\\xe9t\"\n", "", 0},
      {"ZK_ST_Left  ab|1\n", "zk_resultado = \" \"\n", "", 0},
      {"ZK_ST_Left [%never_set%]|9\n", "zk_resultado = \"[]\"\n", "", 0},
      {"ZK_ST_at abcb|b|1|RL\nZK_ST_Left abcdef|%zk_resultado%\n",
       "zk_resultado = \" 4\"\nzk_resultado = \"abcd\"\n", "", 0},
      {"ZK_ST_Left 100%% sure|4\n", "zk_resultado = \"100%\"\n", "", 0},
      {"ZK_ST_Left\n", "zk_resultado = \"\"\n", "", 0},
      // The plug-in reads a parameter text up to its first zero byte.
      {"ZK_ST_Left ab\0cd|3\nZK_ST_Left abc|2\n"s, "zk_resultado = \"\"\nzk_resultado = \"ab\"\n",
       "", 0},
      // An empty variable name reaches the host as a zero address.
      {"ZK_ST_FileRead |1|1|None|\n", "\"\" = \"\"\n", "", 0},
      {"ZK_ST_Lft ab|1\nZK_ST_Left ab|1\n", "zk_resultado = \"a\"\n",
       "script.vqs:1: unknown action \"ZK_ST_Lft\"", 1},
      {"zk_st_left ab|1\n", "", "did you mean ZK_ST_Left?", 1},
      {"ZK\0ST ab|1\n"s, "", ":1: unknown action \"ZK\\x00ST\"", 1},
      {" ZK_ST_Left ab|1\n", "", ":1: unknown action \"\"", 1},
      {"ZK_ST_Left\tab|1\n", "", ":1: unknown action \"ZK_ST_Left\\tab|1\"", 1},
      {"ZK_ST_Left ab|1\nZK_ST_Left 50% off|1\nZK_ST_Left cd|1\n",
       "zk_resultado = \"a\"\nzk_resultado = \"c\"\n", "script.vqs:2: unclosed \"%\"", 1},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.script);
    const run_result result = run_script(r.script);
    EXPECT_EQ(result.status, r.status);
    EXPECT_EQ(results_of(result.out), r.results);
    if (r.error.empty()) {
      EXPECT_EQ(result.err, "");
    } else {
      EXPECT_NE(result.err.find(r.error), std::string::npos) << result.err;
    }
  }
}

// The set-variable calls the plug-in made to the test's own callback, not to vqhost's.
int sets_elsewhere = 0;
void VQ_STDCALL ignore_action(int32_t, const char*, const char*, const char*, int32_t, int32_t) {}
void VQ_STDCALL count_set(const char*, const char*) { ++sets_elsewhere; }

// A run that sets no variable is said so among the results, and is not a bad line. The library
// is registered again through a second handle with the test's callbacks: to vqhost's session,
// it is then a library whose actions set nothing.
TEST_F(VqhostRun, AnActionThatSetsNoVariableIsReportedSo) {
  host_session session;
  std::string error;
  ASSERT_TRUE(session.load(library_file, error)) << error;
  session.register_plugin();
  loader::plugin_library same;
  ASSERT_TRUE(same.open(library_file, error)) << error;
  same.entries().register_plugin(ignore_action, 0, 0, count_set);
  sets_elsewhere = 0;
  const session_run ran = run_in(session, "quiet.vqs", "ZK_ST_Left ab|1\nZK_ST_at a|a\n");
  EXPECT_EQ(sets_elsewhere, 2) << "both lines ran";
  EXPECT_EQ(ran.outcome.bad_lines, 0u);
  EXPECT_FALSE(ran.outcome.unreadable);
  EXPECT_EQ(ran.out, "# ZK_ST_Left set no variable\n# ZK_ST_at set no variable\n");
  EXPECT_EQ(ran.err, "");
}

// Not on Windows: msvcrt's getc on a stream open for writing only may return EOF without an
// error (Wine's does), and a folder does not open, so nothing makes a read fail at will there.
#ifndef _WIN32
TEST_F(VqhostRun, AScriptThatFailsToReadEndsTheRunAsUnreadable) {
  host_session session;
  std::string error;
  ASSERT_TRUE(session.load(library_file, error)) << error;
  session.register_plugin();
  // Open for appending only: its first read fails, as a pipe or a disk may mid-way.
  const session_run ran = run_in(session, "unreadable.vqs", "ZK_ST_Left ab|1\n", "ab");
  EXPECT_TRUE(ran.outcome.unreadable);
  EXPECT_EQ(ran.outcome.bad_lines, 0u);
  EXPECT_EQ(ran.out, "");
  EXPECT_TRUE(ran.err.starts_with("vqhost: unreadable.vqs:1: cannot read the script: "))
      << ran.err;
}
#endif

TEST_F(VqhostRun, LongLinesRunUpToTheLimitAndAreReportedPastIt) {
  // The longest line, 2^24 bytes, runs; one byte more is refused.
  constexpr std::size_t longest = 16777216;
  const std::string longest_line = "ZK_ST_Right " + std::string(longest - 16, 'x') + "ab|2";
  ASSERT_EQ(longest_line.size(), longest);
  const std::string too_long = "ZK_ST_Right " + std::string(longest - 15, 'y') + "ab|2";
  const run_result result = run_script(longest_line + "\n" + too_long + "\nZK_ST_Left ab|1\n");
  EXPECT_EQ(result.status, exit_bad_lines);
  EXPECT_EQ(results_of(result.out), "zk_resultado = \"ab\"\nzk_resultado = \"a\"\n");
  EXPECT_NE(result.err.find("script.vqs:2: line longer than"), std::string::npos) << result.err;
}

TEST_F(VqhostRun, StandardInputWithNoFileOrDash) {
  for (const char* dash : {"", "-"}) {
    SCOPED_TRACE(dash);
    std::vector<std::string> args{"--dll", library_file, "run"};
    if (*dash) args.push_back(dash);
    const run_result result = run(args, "ZK_ST_Left ab|1\r\nnope x\n");
    EXPECT_EQ(result.status, exit_bad_lines);
    EXPECT_EQ(results_of(result.out), "zk_resultado = \"a\"\n");
    EXPECT_NE(result.err.find("<stdin>:2: unknown action \"nope\""), std::string::npos);
  }
}

TEST_F(VqhostRun, ListShowsIdentityAndEveryHintLine) {
  const run_result result = run({"list", "--dll", library_file});
  EXPECT_EQ(result.status, exit_ok);
  EXPECT_EQ(result.err, "");
  EXPECT_TRUE(result.out.starts_with("# title: \"Velquist 1.0\"\n# publisher: \"")) << result.out;
  EXPECT_NE(result.out.find("# description: \"Advanced String Search\"\n"), std::string::npos);
  EXPECT_EQ(results_of(result.out), testing::catalogue_listing);
}

TEST_F(VqhostRun, WhatCannotStartSaysWhyAndPrintsNothing) {
  const std::string missing = folder.path("missing.vqs");
  const std::string nowhere = folder.path("nowhere.dll");
  const struct {
    std::vector<std::string> args;
    std::string error;
  } rows[] = {
      {{"--dll", library_file, "run", missing}, missing + ": cannot open the script"},
      {{"--dll", library_file, "run", folder.path("")}, folder.path("") + ": cannot "},
      {{"--dll", nowhere, "list"}, nowhere + ": cannot load the library"},
      {{"--dll", no_exports_file, "run", "-"}, ": no export named "},
      {{"list", "now"}, "too many arguments"},
      {{"--dll"}, "--dll needs a library path"},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.error);
    const run_result result = run(r.args, "ZK_ST_Left ab|1\n");
    EXPECT_EQ(result.status, exit_cannot_start);
    EXPECT_EQ(result.out, "");
    EXPECT_NE(result.err.find(r.error), std::string::npos) << result.err;
  }
  const run_result help = run({"--help"});
  EXPECT_EQ(help.status, exit_ok);
  EXPECT_TRUE(help.out.starts_with("usage: vqhost")) << help.out;
}

}  // namespace
}  // namespace vq::vqhost

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  if (argc < 3) {
    std::fprintf(stderr, "usage: %s LIBRARY NO_EXPORTS_LIBRARY\n", argv[0]);
    return 2;
  }
  vq::vqhost::library_file = argv[1];
  vq::vqhost::no_exports_file = argv[2];
  return RUN_ALL_TESTS();
}
