#include "text/publish.h"

#include <gtest/gtest.h>

#include <string>

#include "support/callback_recorder.h"

namespace vq {
namespace {

using testing::set_variable_calls;

class Publish : public testing::plugin_test {};

TEST_F(Publish, ResultTextIsStoredAndReplaced) {
  publish_result("ab");
  EXPECT_EQ(result_text(), "ab");
  publish_result(std::string(100000, 'x'));
  EXPECT_EQ(result_text(), std::string(100000, 'x'));
  publish_result("");
  EXPECT_EQ(result_text().data(), nullptr);
  EXPECT_EQ(result_text().size(), 0u);
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
  EXPECT_EQ(result_text().data(), nullptr) << "publish must not touch the result text";
}

}  // namespace
}  // namespace vq
