#include "catalogue/catalogue.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/callbacks.h"
#include "plugin/plugin.h"
#include "plugin/state.h"
#include "support/callback_recorder.h"

namespace vq {
namespace {

using testing::add_action_calls;

std::string join_lines(const std::vector<std::string>& lines) {
  std::string text;
  for (std::size_t i = 0; i < lines.size(); ++i) text += (i ? "\r\n" : "") + lines[i];
  return text;
}

std::string usage(const std::string& name, const std::string& syntax) {
  return name + " \"" + syntax + "\"";
}

struct expected_action {
  int32_t number;
  std::string name;
  std::string hint;
};

std::vector<expected_action> expected_catalogue() {
  const std::string extract = "Where: [Source_String] is the Source String to extract chars";
  return {
      {1, "ZK_ST_at",
       join_lines({"Search some text within a variable: returns position if found",
                   usage("ZK_ST_at", "[Source_text]|[search_text]|[from_pos]|[direction]"),
                   "Where: [Text_var] is the Source text;" + std::string(21, ' ') +
                       "[search_text] is the string to search",
                   "[from_pos] is the offset on [source_text] to start search;",
                   "[direction]: LR = Left to Right / RL = Right to Left "})},
      {2, "ZK_ST_Left",
       join_lines({"Return the [n] Left characters of [Source_string]",
                   usage("ZK_ST_Left", "[Source_String]|[n]"), extract,
                   "[n] is the number of characters"})},
      {3, "ZK_ST_Right",
       join_lines({"Return the [n] Right characters of [Source_string]",
                   usage("ZK_ST_Right", "[Source_String]|[n]"), extract,
                   "[n] is the number of characters"})},
      {4, "ZK_ST_FileRead",
       join_lines({"Reads n characters from a binary file",
                   usage("ZK_ST_FileRead",
                         "[Filename]|[Start_position]|[number_of Chars]|All/None|return_variable")})},
  };
}

std::size_t count_line_breaks(const std::string& text) {
  std::size_t breaks = 0;
  for (std::size_t at = text.find("\r\n"); at != std::string::npos; at = text.find("\r\n", at + 2))
    ++breaks;
  return breaks;
}

class Catalogue : public testing::plugin_test {};

TEST_F(Catalogue, RegistrationAnnouncesFourActionsInOrder) {
  pxRegisterPlugIn(testing::record_add_action, 7, 8, testing::record_set_variable);
  const auto expected = expected_catalogue();
  ASSERT_EQ(add_action_calls.size(), expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i) {
    const auto& call = add_action_calls[i];
    SCOPED_TRACE(expected[i].name);
    EXPECT_EQ(call.number, expected[i].number);
    EXPECT_EQ(call.name, expected[i].name);
    EXPECT_EQ(call.hint, expected[i].hint);
    EXPECT_EQ(call.parameter_type, "ACTIONPARAM_ALPHA");
    EXPECT_EQ(call.count, 1);
    EXPECT_EQ(call.count_again, 1);
    // The usage line is line 2 and starts with the action's own name.
    const std::string& hint = *call.hint;
    const std::size_t line2 = hint.find("\r\n") + 2;
    EXPECT_EQ(hint.compare(line2, call.name->size() + 2, *call.name + " \""), 0);
  }
  EXPECT_EQ(count_line_breaks(*add_action_calls[0].hint), 4u);
  EXPECT_EQ(add_action_calls[0].hint->back(), ' ');
  EXPECT_EQ(count_line_breaks(*add_action_calls[3].hint), 1u);
  EXPECT_EQ(add_action_calls[3].hint->back(), '"');
  const std::string& hint1 = *add_action_calls[0].hint;
  const std::size_t line3 = hint1.find("Where:");
  EXPECT_EQ(hint1.find("\r\n", line3) - line3, 95u);
}

TEST_F(Catalogue, RegisteringAgainAnnouncesIdenticalValues) {
  pxRegisterPlugIn(testing::record_add_action, 0, 0, testing::record_set_variable);
  pxRegisterPlugIn(testing::record_add_action, 0, 0, testing::record_set_variable);
  ASSERT_EQ(add_action_calls.size(), 8u);
  for (std::size_t i = 0; i < 4; ++i) {
    const auto& first = add_action_calls[i];
    const auto& again = add_action_calls[i + 4];
    EXPECT_EQ(first.number, again.number);
    EXPECT_EQ(first.name, again.name);
    EXPECT_EQ(first.hint, again.hint);
    EXPECT_EQ(first.parameter_type, again.parameter_type);
  }
}

TEST_F(Catalogue, RegistrationStoresItsValuesAndToleratesZeroCallbacks) {
  pxRegisterPlugIn(nullptr, 0x1234, 0x5678, nullptr);
  EXPECT_TRUE(add_action_calls.empty());
  EXPECT_EQ(registered_host_callbacks().add_action, nullptr);
  EXPECT_EQ(state.registration_value2, 0x1234u);
  EXPECT_EQ(state.registration_value3, 0x5678u);
  EXPECT_EQ(registered_host_callbacks().set_variable, nullptr);
}

}  // namespace
}  // namespace vq
