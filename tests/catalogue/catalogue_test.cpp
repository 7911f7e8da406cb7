#include "catalogue/catalogue.h"

#include <gtest/gtest.h>

#include <span>
#include <string>
#include <string_view>

#include "catalogue/catalogue_golden.h"
#include "host/callbacks.h"
#include "plugin/plugin.h"
#include "plugin/state.h"
#include "support/callback_recorder.h"

namespace vq {
namespace {

using testing::add_action_call;
using testing::add_action_calls;

// Bytes as vqhost shows them (vqhost/escape.h): printable ASCII as it is, but \ and " after a
// backslash; a tab, CR and LF as \t, \r and \n; any other byte as \x and two hex digits.
std::string shown(std::string_view bytes) {
  static constexpr char hex[] = "0123456789abcdef";
  std::string out;
  for (const char c : bytes) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '\\' || c == '"') {
      out += {'\\', c};
    } else if (c == '\t' || c == '\r' || c == '\n') {
      out += {'\\', c == '\t' ? 't' : c == '\r' ? 'r' : 'n'};
    } else if (byte >= 0x20 && byte < 0x7f) {
      out += c;
    } else {
      out += {'\\', 'x', hex[byte >> 4], hex[byte & 15]};
    }
  }
  return out;
}

// The calls as `vqhost list` prints them, the golden listing's format: a head line, then every
// hint line (the hint split at each CR LF) quoted on a line of its own.
std::string listed(std::span<const add_action_call> calls) {
  std::string text;
  for (const add_action_call& call : calls) {
    text += "\n" + std::to_string(call.number) + " " + shown(call.name.value_or("")) + " (" +
            shown(call.parameter_type.value_or("")) + ", ";
    if (call.count == call.count_again) {
      text += std::to_string(call.count) + (call.count == 1 ? " parameter)\n" : " parameters)\n");
    } else {
      text += "counts " + std::to_string(call.count) + " and " +
              std::to_string(call.count_again) + ")\n";
    }
    const std::string hint = call.hint.value_or("");
    for (std::size_t at = 0;;) {
      const std::size_t end = hint.find("\r\n", at);
      text += "    \"" + shown(hint.substr(at, end - at)) + "\"\n";
      if (end == std::string::npos) break;
      at = end + 2;
    }
  }
  return text;
}

class Catalogue : public testing::plugin_test {};

TEST_F(Catalogue, RegistrationAnnouncesFourActionsInOrder) {
  pxRegisterPlugIn(testing::record_add_action, 7, 8, testing::record_set_variable);
  EXPECT_EQ(listed(add_action_calls), testing::catalogue_listing);
  for (const add_action_call& call : add_action_calls) {
    SCOPED_TRACE(call.number);
    ASSERT_TRUE(call.name && call.hint && call.parameter_type) << "a zero address";
    // The usage line is line 2 and starts with the action's own name.
    const std::string& hint = *call.hint;
    const std::size_t line2 = hint.find("\r\n") + 2;
    EXPECT_EQ(hint.compare(line2, call.name->size() + 2, *call.name + " \""), 0);
  }
}

TEST_F(Catalogue, RegisteringAgainAnnouncesIdenticalValues) {
  pxRegisterPlugIn(testing::record_add_action, 0, 0, testing::record_set_variable);
  pxRegisterPlugIn(testing::record_add_action, 0, 0, testing::record_set_variable);
  ASSERT_EQ(add_action_calls.size(), 8u);
  EXPECT_EQ(listed(std::span(add_action_calls).first(4)), testing::catalogue_listing);
  EXPECT_EQ(listed(std::span(add_action_calls).last(4)), testing::catalogue_listing);
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
