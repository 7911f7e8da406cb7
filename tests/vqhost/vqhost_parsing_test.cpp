// vqhost's own text handling: output escaping, script lines, "%name%" and the command line.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "vqhost/escape.h"
#include "support/temp_folder.h"
#include "vqhost/script_line.h"
#include "vqhost/script_runner.h"
#include "vqhost/variable_store.h"
#include "vqhost/vqhost.h"

namespace vq::vqhost {
namespace {

using namespace std::string_literals;

TEST(Escape, EveryByteHasOneUnambiguousSpelling) {
  const struct {
    std::string bytes, shown;
  } rows[] = {
      {"", ""},
      {" 4", " 4"},
      {"a\\b", "a\\\\b"},
      {"say \"hi\"", "say \\\"hi\\\""},
      {"\t\r\n", "\\t\\r\\n"},
      {"\0"s "1", "\\x001"},  // always two hex digits, so the 1 stays a 1
      {"\x1f\x7f\x80\xff", "\\x1f\\x7f\\x80\\xff"},
      {"~ !", "~ !"},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.shown);
    EXPECT_EQ(escape_bytes(r.bytes), r.shown);
  }
  EXPECT_EQ(quoted(""), "\"\"");
}

TEST(FormatSet, NameEqualsQuotedValue) {
  EXPECT_EQ(format_set({"zk_resultado", " 4"}), "zk_resultado = \" 4\"\n");
  EXPECT_EQ(format_set({"v", "a\0b"s}), "v = \"a\\x00b\"\n");
  EXPECT_EQ(format_set({"", ""}), "\"\" = \"\"\n");
  EXPECT_EQ(format_set({"my var", "x"}), "my var = \"x\"\n");
}

TEST(ScriptLine, NameOneBlankThenParameters) {
  const struct {
    std::string line;
    bool is_action;
    std::string name, parameters;
  } rows[] = {
      {"ZK_ST_Left Hello world|5", true, "ZK_ST_Left", "Hello world|5"},
      {"ZK_ST_Left Hello|5\r", true, "ZK_ST_Left", "Hello|5"},  // CR LF line end
      {"ZK_ST_Left a\r|1\r", true, "ZK_ST_Left", "a\r|1"},       // only the last CR goes
      {"ZK_ST_Left  a|1", true, "ZK_ST_Left", " a|1"},           // leading blank kept
      {"ZK_ST_Left a|1 ", true, "ZK_ST_Left", "a|1 "},           // trailing blank kept
      {"ZK_ST_Left", true, "ZK_ST_Left", ""},
      {"ZK_ST_Left ", true, "ZK_ST_Left", ""},
      {"ZK_ST_at \xe9t\xe9|\xe9", true, "ZK_ST_at", "\xe9t\xe9|\xe9"},
      {"ZK_ST_at a\0b|b"s, true, "ZK_ST_at", "a\0b|b"s},
      {" ZK_ST_Left a|1", true, "", "ZK_ST_Left a|1"},  // unknown action "", not skipped
      // Only a blank ends the name: a tab, a CR before the last byte, any other white space
      // is part of it.
      {"ZK_ST_Left\tx|1", true, "ZK_ST_Left\tx|1", ""},
      {"ZK_ST_Left\t x|1", true, "ZK_ST_Left\t", "x|1"},
      {"ZK_ST_Left\r x|1\r", true, "ZK_ST_Left\r", "x|1"},
      {"ZK_ST_Left\v\fx|1", true, "ZK_ST_Left\v\fx|1", ""},
      {"\v", true, "\v", ""},  // only blanks and tabs make a line blank
      {"\t#ZK_ST_Left a|1", true, "\t#ZK_ST_Left", "a|1"},  // "#" first, or no comment
      {"\t \r", false, "", ""},
      {"", false, "", ""},
      {"\r", false, "", ""},
      {" \t  ", false, "", ""},
      {"# ZK_ST_Left a|1", false, "", ""},
      {"#", false, "", ""},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(escape_bytes(r.line));
    const script_line parsed = parse_script_line(r.line);
    EXPECT_EQ(parsed.is_action, r.is_action);
    EXPECT_EQ(parsed.name, r.name);
    EXPECT_EQ(parsed.parameters, r.parameters);
  }
}

TEST(ReadLine, SplitsAtLineFeedsOnlyAndKeepsEveryOtherByte) {
  testing::temp_folder folder;
  const std::string path =
      folder.write("script", "one\r\n\ntwo\0\xff\r\n"s + std::string(32, 'w') + "\n" +
                                 std::string(33, 'x') + "\nlast");
  std::FILE* file = std::fopen(path.c_str(), "rb");
  ASSERT_NE(file, nullptr);
  std::string line;
  const struct {
    read_status status;
    std::string line;
  } expected[] = {
      {read_status::line, "one\r"},
      {read_status::line, ""},
      {read_status::line, "two\0\xff\r"s},
      {read_status::line, std::string(32, 'w')},  // the limit is 32: a line may have 32 bytes
      {read_status::too_long, ""},                 // but not 33; dropped whole
      {read_status::line, "last"},  // no final line feed
      {read_status::end, ""},
      {read_status::end, ""},
  };
  for (const auto& e : expected) {
    SCOPED_TRACE(escape_bytes(e.line));
    const read_status status = read_line(file, line, 32);
    EXPECT_EQ(status, e.status);
    if (status == read_status::line) {
      EXPECT_EQ(line, e.line);
    }
  }
  std::fclose(file);
}

TEST(ExpandVariables, NamesPercentsAndErrors) {
  variable_store variables;
  variables.set("name", "Ada");
  variables.set("zk_resultado", " 4");
  variables.set("pct", "%name%");
  variables.set("nul", "a\0b"s);
  const struct {
    std::string text;
    bool ok;
    std::string expanded;
  } rows[] = {
      {"", true, ""},
      {"plain|1", true, "plain|1"},
      {"Hello %name%|%zk_resultado%", true, "Hello Ada| 4"},
      {"%never_set%|1", true, "|1"},
      {"100%%", true, "100%"},
      {"%%name%%", true, "%name%"},
      {"%pct%", true, "%name%"},  // a value is never scanned again
      {"%nul%|2", true, "a\0b|2"s},
      {"%Name%", true, ""},  // names keep their letter case
      {"50% off", false, ""},
      {"%name", false, ""},
      {"%name%%", false, ""},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.text);
    const expansion result = expand_variables(r.text, variables, 1000);
    EXPECT_EQ(result.ok, r.ok) << result.error;
    if (r.ok) {
      EXPECT_EQ(result.text, r.expanded);
    }
  }
  EXPECT_NE(expand_variables("50% off", variables, 1000).error.find("byte 3"), std::string::npos);
}

TEST(ExpandVariables, StopsBeforeTheLimit) {
  variable_store variables;
  variables.set("big", std::string(600, 'b'));
  EXPECT_TRUE(expand_variables("%big%", variables, 600).ok);
  EXPECT_FALSE(expand_variables("x%big%", variables, 600).ok);
  EXPECT_FALSE(expand_variables("%big%%big%", variables, 1000).ok);
}

TEST(CommandLine, CommandsOptionsAndUsageErrors) {
  const struct {
    std::vector<const char*> args;
    command what;
    std::string library, script;
    bool error;
  } rows[] = {
      {{"list"}, command::list, "", "", false},
      {{"run", "a.vqs"}, command::run, "", "a.vqs", false},
      {{"run"}, command::run, "", "", false},
      {{"run", "-"}, command::run, "", "-", false},
      {{"--dll", "x.dll", "run", "a.vqs"}, command::run, "x.dll", "a.vqs", false},
      {{"run", "a.vqs", "--dll=y.so"}, command::run, "y.so", "a.vqs", false},
      {{"--help"}, command::help, "", "", false},
      {{}, command::none, "", "", true},
      {{"lst"}, command::none, "", "", true},
      {{"list", "extra"}, command::none, "", "", true},
      {{"run", "a", "b"}, command::none, "", "", true},
      {{"run", "--dll"}, command::none, "", "", true},
      {{"run", "--dll="}, command::none, "", "", true},
      {{"-x", "list"}, command::none, "", "", true},
  };
  for (const auto& r : rows) {
    std::vector<const char*> argv{"vqhost"};
    argv.insert(argv.end(), r.args.begin(), r.args.end());
    std::string trace;
    for (const char* a : r.args) trace += std::string(a) + " ";
    SCOPED_TRACE(trace);
    const command_line parsed = parse_command_line(static_cast<int>(argv.size()), argv.data());
    EXPECT_EQ(!parsed.error.empty(), r.error) << parsed.error;
    if (r.error) continue;
    EXPECT_EQ(parsed.what, r.what);
    EXPECT_EQ(parsed.library, r.library);
    EXPECT_EQ(parsed.script, r.script);
  }
}

}  // namespace
}  // namespace vq::vqhost
