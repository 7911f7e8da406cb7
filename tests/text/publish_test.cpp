#include "text/publish.h"

#include <gtest/gtest.h>

#include <string>

#include "plugin/state.h"
#include "support/test_host.h"

namespace vq {
namespace {

using testing::set_variable_calls;

class Publish : public testing::plugin_test {};

TEST_F(Publish, ResultTextIsStoredAndReplaced) {
  publish_result("ab");
  ASSERT_EQ(state.result_length, 2u);
  EXPECT_EQ(std::string(state.result_bytes, 2), "ab");
  publish_result(std::string(100000, 'x'));
  EXPECT_EQ(state.result_length, 100000u);
  publish_result("");
  EXPECT_EQ(state.result_bytes, nullptr);
  EXPECT_EQ(state.result_length, 0u);
  ASSERT_EQ(set_variable_calls.size(), 3u);
  EXPECT_EQ(set_variable_calls[0].name, "zk_resultado");
  EXPECT_EQ(set_variable_calls[0].value, "ab");
  EXPECT_EQ(set_variable_calls[2].value, std::nullopt);
}

TEST_F(Publish, EmptyNameAndValueAreZeroAddresses) {
  publish("", "");
  publish("v", std::string("\0\x01", 2));
  ASSERT_EQ(set_variable_calls.size(), 2u);
  EXPECT_EQ(set_variable_calls[0].name, std::nullopt);
  EXPECT_EQ(set_variable_calls[0].value, std::nullopt);
  EXPECT_EQ(set_variable_calls[1].name, "v");
  EXPECT_EQ(set_variable_calls[1].value, std::string("\0\x01", 2));
  EXPECT_EQ(state.result_bytes, nullptr) << "publish must not touch the result text";
}

}  // namespace
}  // namespace vq
