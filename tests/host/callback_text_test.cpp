#include "host/callback_text.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "host/callbacks.h"
#include "support/fake_os.h"
#include "support/callback_recorder.h"

namespace vq {
namespace {

using testing::fake_os;

TEST(CallbackText, LayoutOfEveryLength) {
  for (const std::string& text : {std::string("a"), std::string("zk_resultado"),
                                 std::string("a\0b", 3), std::string(1000, '\xff')}) {
    const callback_text made(text);
    ASSERT_NE(made.address(), nullptr);
    uint32_t count = 0;
    std::memcpy(&count, made.address() - 4, 4);
    EXPECT_EQ(count, text.size());
    EXPECT_EQ(std::string(made.address(), count), text);
    EXPECT_EQ(made.address()[count], '\0');
  }
}

TEST(CallbackText, EmptyTextIsZeroAddressAndCallsNothing) {
  fake_os fake;
  const callback_text made("");
  EXPECT_EQ(made.address(), nullptr);
  EXPECT_EQ(callback_text::reserved(0).address(), nullptr);
  EXPECT_TRUE(fake.log.empty());
}

TEST(CallbackText, FailedAllocationGivesZeroAddress) {
  fake_os fake;
  fake.fail("SysAllocStringByteLen");
  const callback_text made("abc");
  EXPECT_EQ(made.address(), nullptr);
}

class HostCallbacks : public testing::plugin_test {};

int live_strings_seen = -1;
void VQ_STDCALL count_live_strings(const char*, const char*) {
  live_strings_seen = testing::current_fake()->live_strings;
}

TEST_F(HostCallbacks, TextsLiveOnlyDuringTheCall) {
  fake_os fake;
  register_host_callbacks({nullptr, count_live_strings});
  host_set_variable("name", callback_text("value"));
  EXPECT_EQ(live_strings_seen, 2);
  EXPECT_EQ(fake.live_strings, 0);
}

TEST_F(HostCallbacks, CallbackStillCalledWhenATextCannotBeMade) {
  fake_os fake;
  fake.fail("SysAllocStringByteLen", 1);  // the value is made first
  host_set_variable("name", callback_text("value"));
  ASSERT_EQ(testing::set_variable_calls.size(), 1u);
  EXPECT_EQ(testing::set_variable_calls[0].name, "name");
  EXPECT_EQ(testing::set_variable_calls[0].value, std::nullopt);
  EXPECT_EQ(fake.live_strings, 0);
}

TEST_F(HostCallbacks, ZeroCallbacksAreNotCalled) {
  fake_os fake;
  register_host_callbacks({});
  host_set_variable("name", callback_text());
  host_add_action(1, "a", "b", "c", 1);
  EXPECT_TRUE(fake.log.empty());
}

}  // namespace
}  // namespace vq
