#include "library/library_fixture.h"

#include <cstring>
#include <filesystem>
#include <fstream>

namespace vq::testing {

std::optional<std::string> read_bstr(const char* text) {
  if (!text) return std::nullopt;
  uint32_t length = 0;
  std::memcpy(&length, text - 4, 4);
  EXPECT_GT(length, 0u);
  EXPECT_EQ(text[length], '\0');
  return std::string(text, length);
}

std::vector<variable_set> library_test::sets;

void VQ_STDCALL library_test::record_set(const char* name, const char* value) {
  sets.push_back({read_bstr(name), read_bstr(value)});
}
void VQ_STDCALL library_test::record_add(int32_t, const char*, const char*, const char*, int32_t,
                                         int32_t) {}

void library_test::SetUp() {
  std::string error;
  ASSERT_TRUE(library.open(library_path(), error)) << error;
  px = &library.entries();
  sets.clear();
}

void library_test::TearDown() { library.close(); }

variable_set library_test::exec(int32_t action, const std::string& parameters) {
  sets.clear();
  const char* text = parameters.c_str();
  EXPECT_EQ(px->exec_action(action, &text), 1);
  EXPECT_EQ(sets.size(), 1u);
  return sets.empty() ? variable_set{} : sets.back();
}

namespace {

// The built library as a host uses it.
class Library : public library_test {};

TEST_F(Library, IdentityTextsInHostOwnedBlocks) {
  char* texts[3] = {nullptr, nullptr, nullptr};
  px->init_plugin(1, &texts[0], &texts[1], &texts[2]);
  px->init_plugin(1, &texts[0], &texts[1], &texts[2]);
  ASSERT_NE(texts[0], nullptr);
  EXPECT_STREQ(texts[0], "Velquist 1.0");
  EXPECT_GT(std::strlen(texts[1]), 0u);
  EXPECT_STREQ(texts[2], "Advanced String Search");
  for (char* block : texts) loader::release_host_block(block);
}

TEST_F(Library, RunsEachActionThroughTheHostProtocol) {
  px->register_plugin(record_add, 0, 0, record_set);
  struct row {
    int32_t action;
    std::string parameters;
    std::optional<std::string> value;
  } rows[] = {
      {1, "abcb|b|1|RL", " 4"}, {1, "abcb|b|2|LR", " 2"}, {1, "x||0", " 0"},
      {2, "Hello world|5", "Hello"}, {3, "Hello world|5", "world"}, {2, "abc|0", std::nullopt},
  };
  for (const row& r : rows) {
    SCOPED_TRACE(r.parameters);
    const variable_set set = exec(r.action, r.parameters);
    EXPECT_EQ(set.name, "zk_resultado");
    EXPECT_EQ(set.value, r.value);
  }
  EXPECT_EQ(px->edit_action(4, 0), 1);
  EXPECT_EQ(px->edit_action(5, 0), 0);
  const char* text = "abc|1";
  EXPECT_EQ(px->exec_action(0, &text), 0);
}

TEST_F(Library, StateStartsEmptyAfterReload) {
  px->register_plugin(record_add, 0, 0, record_set);
  exec(2, "ab|1");
  library.close();
  std::string error;
  ASSERT_TRUE(library.open(library_path(), error)) << error;
  px = &library.entries();
  sets.clear();
  const char* text = "ab|1";
  EXPECT_EQ(px->exec_action(2, &text), 1) << "an unregistered plug-in still runs actions";
  EXPECT_TRUE(sets.empty());
}

TEST_F(Library, FileReadThroughTheExportedRoutine) {
  namespace fs = std::filesystem;
  const fs::path file = fs::temp_directory_path() / "vq-library-file-read.bin";
  std::ofstream(file, std::ios::binary).write("A\0\r\nB", 5);
  px->register_plugin(record_add, 0, 0, record_set);
  const std::string name = file.string();
  const std::string direct = name + "|2|9|all|data";
  EXPECT_EQ(px->file_read(direct.c_str()), 0);
  ASSERT_EQ(sets.size(), 1u);
  EXPECT_EQ(sets[0].name, "data");
  EXPECT_EQ(sets[0].value, "B");
  const variable_set dispatched = exec(4, name + "|1|2147483647|None|raw");
  EXPECT_EQ(dispatched.name, "raw");
  EXPECT_EQ(dispatched.value, std::string("A\0\r\nB", 5));
  fs::remove(file);
}

}  // namespace
}  // namespace vq::testing
