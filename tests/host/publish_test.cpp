#include "host/publish.h"

#include <gtest/gtest.h>

#include <string>

#include "support/callback_recorder.h"
#include "support/fake_os.h"
#include "host/result_text.h"

namespace vq {
namespace {

using testing::set_variable_calls;

class Publish : public testing::plugin_test {};

TEST_F(Publish, ResultTextIsStoredAndReplaced) {
  const std::string large(100000, 'x');
  // Past the first result's block, with a zero byte and a byte above 127 in it.
  const std::string odd = std::string("\0\xe9", 2) + std::string(200, 'y');
  publish_result("ab");
  EXPECT_EQ(result_text(), "ab");
  {
    // No memory for the stored copy: the value is still published as it is.
    testing::fake_os fake;
    fake.fail("HeapAlloc");
    publish_result(odd);
    EXPECT_EQ(result_text().data(), nullptr);
  }
  publish_result(odd);
  EXPECT_EQ(result_text(), odd) << "the next run stores again";
  publish_result(large);
  EXPECT_EQ(result_text(), large);
  publish_result("");
  EXPECT_EQ(result_text().data(), nullptr);
  EXPECT_EQ(result_text().size(), 0u);
  ASSERT_EQ(set_variable_calls.size(), 5u);
  EXPECT_EQ(set_variable_calls[0].name, "zk_resultado");
  EXPECT_EQ(set_variable_calls[0].value, "ab");
  EXPECT_EQ(set_variable_calls[1].name, "zk_resultado");
  EXPECT_EQ(set_variable_calls[1].value, odd);
  EXPECT_EQ(set_variable_calls[2].value, odd);
  EXPECT_EQ(set_variable_calls[3].value, large);
  EXPECT_EQ(set_variable_calls[4].value, std::nullopt);
}

// An empty name or value goes as the zero address, each on its own: an empty name still
// carries its value.
TEST_F(Publish, AnEmptyNameOrValueIsTheZeroAddress) {
  publish("", "");
  publish("v", std::string("\0\x01", 2));
  publish("", "x");
  ASSERT_EQ(set_variable_calls.size(), 3u);
  EXPECT_EQ(set_variable_calls[0].name, std::nullopt);
  EXPECT_EQ(set_variable_calls[0].value, std::nullopt);
  EXPECT_EQ(set_variable_calls[1].name, "v");
  EXPECT_EQ(set_variable_calls[1].value, std::string("\0\x01", 2));
  EXPECT_EQ(set_variable_calls[2].name, std::nullopt);
  EXPECT_EQ(set_variable_calls[2].value, "x");
  EXPECT_EQ(result_text().data(), nullptr) << "publish must not touch the result text";
}

}  // namespace
}  // namespace vq
