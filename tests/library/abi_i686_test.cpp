// The calling-convention promises of the 32-bit DLL, both ways: exports survive a host that
// keeps only 4-byte stack alignment, and callbacks that clean up the stack differently from
// stdcall do not hurt the plug-in.
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "library/library_fixture.h"

extern "C" uint32_t vq_call_checked(const void* fn, const uint32_t* words, uint32_t count,
                                    uint32_t removes, uint32_t misalign, uint32_t* result);

namespace vq::testing {
namespace {

uint32_t word(const void* p) { return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(p)); }

std::vector<std::string> received;

// set-variable callbacks in the wrong conventions: cdecl removes nothing, the others remove
// 4 or 12 bytes where 8 were pushed.
extern "C" __attribute__((cdecl)) void set_cdecl(const char* name, const char* value) {
  received.push_back(read_bstr(name).value_or("") + "=" + read_bstr(value).value_or(""));
}
__attribute__((stdcall)) void set_removes_4(const char* name) {
  received.push_back(read_bstr(name).value_or("") + "=?");
}
__attribute__((stdcall)) void set_removes_12(const char* name, const char* value, uint32_t) {
  received.push_back(read_bstr(name).value_or("") + "=" + read_bstr(value).value_or(""));
}
__attribute__((stdcall)) void set_stdcall(const char* name, const char* value) {
  received.push_back(read_bstr(name).value_or("") + "=" + read_bstr(value).value_or(""));
}

std::vector<std::string> registered;
extern "C" __attribute__((cdecl)) void add_cdecl(int32_t number, const char* name, const char*,
                                                 const char*, int32_t count, int32_t again) {
  registered.push_back(std::to_string(number) + read_bstr(name).value_or("") +
                       std::to_string(count) + std::to_string(again));
}
__attribute__((stdcall)) void add_removes_20(int32_t number, const char* name, const char*,
                                             const char*, int32_t count) {
  registered.push_back(std::to_string(number) + read_bstr(name).value_or("") +
                       std::to_string(count) + "?");
}
__attribute__((stdcall)) void add_removes_32(int32_t number, const char* name, const char*,
                                             const char*, int32_t count, int32_t again, uint32_t,
                                             uint32_t) {
  registered.push_back(std::to_string(number) + read_bstr(name).value_or("") +
                       std::to_string(count) + std::to_string(again));
}

class Abi : public library_test {
 protected:
  // Calls an export through the misaligning thunk, checking the stdcall promises.
  uint32_t call(const void* fn, std::vector<uint32_t> words, uint32_t misalign) {
    uint32_t result = 0xDEADBEEF;
    const auto count = static_cast<uint32_t>(words.size());
    const uint32_t broken = vq_call_checked(fn, words.data(), count, 4 * count, misalign, &result);
    EXPECT_EQ(broken, 0u) << "1 ebx, 2 esi, 4 edi changed; 8 wrong stack cleanup";
    return result;
  }
};

TEST_F(Abi, CallbacksThatCleanUpDifferently) {
  const struct {
    const char* name;
    const void* add;
    const void* set;
    std::string expected_set;
  } rows[] = {
      {"cdecl", reinterpret_cast<const void*>(add_cdecl), reinterpret_cast<const void*>(set_cdecl),
       "zk_resultado=bc"},
      {"short", reinterpret_cast<const void*>(add_removes_20),
       reinterpret_cast<const void*>(set_removes_4), "zk_resultado=?"},
      {"long", reinterpret_cast<const void*>(add_removes_32),
       reinterpret_cast<const void*>(set_removes_12), "zk_resultado=bc"},
      {"stdcall", reinterpret_cast<const void*>(add_cdecl),
       reinterpret_cast<const void*>(set_stdcall), "zk_resultado=bc"},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.name);
    registered.clear();
    received.clear();
    call(reinterpret_cast<const void*>(px->register_plugin), {word(r.add), 0, 0, word(r.set)}, 0);
    ASSERT_EQ(registered.size(), 4u);
    EXPECT_EQ(registered[3].substr(0, 15), "4ZK_ST_FileRead");
    const std::string text = "abc|-1";
    const char* variable = text.c_str();
    for (int run = 0; run < 50; ++run) {
      EXPECT_EQ(call(reinterpret_cast<const void*>(px->exec_action), {3, word(&variable)}, 4), 1u);
    }
    ASSERT_EQ(received.size(), 50u);
    EXPECT_EQ(received.back(), r.expected_set);
  }
}

TEST_F(Abi, ExportsWorkOnAnyFourByteAlignment) {
  px->register_plugin(nullptr, 0, 0, reinterpret_cast<set_variable_fn>(set_stdcall));
  // Texts long enough to take the vector paths of the scanners and searches.
  std::string source(200000, 'a');
  source += "needle";
  const std::string search = source + "|needle|1|LR";
  const std::string back = source + "|aaaa|3|RL";
  const std::string left = source + "|-3";
  // A file whose stripped read takes the vector path of the stripping.
  const char* const file_name = "abi_misaligned_read.tmp";
  std::string lines;
  for (int i = 0; i < 400; ++i) lines += "line\t" + std::to_string(i) + "\r\n";
  {
    std::ofstream out(file_name, std::ios::binary);
    out << lines;
  }
  std::string stripped;
  for (char c : lines) if (static_cast<unsigned char>(c) >= 32) stripped += c;
  const std::string read = std::string(file_name) + "|1|100000|ALL|v";
  for (uint32_t misalign : {0u, 4u, 8u, 12u}) {
    SCOPED_TRACE(misalign);
    received.clear();
    EXPECT_EQ(call(reinterpret_cast<const void*>(px->at), {word(search.c_str())}, misalign), 0u);
    EXPECT_EQ(call(reinterpret_cast<const void*>(px->at), {word(back.c_str())}, misalign), 0u);
    EXPECT_EQ(call(reinterpret_cast<const void*>(px->left), {word(left.c_str())}, misalign), 0u);
    EXPECT_EQ(call(reinterpret_cast<const void*>(px->right), {word(left.c_str())}, misalign), 0u);
    EXPECT_EQ(call(reinterpret_cast<const void*>(px->file_read), {word(read.c_str())}, misalign),
              0u);
    const char* variable = search.c_str();
    EXPECT_EQ(call(reinterpret_cast<const void*>(px->exec_action), {1, word(&variable)}, misalign),
              1u);
    EXPECT_EQ(call(reinterpret_cast<const void*>(px->edit_action), {2, 0}, misalign), 1u);
    call(reinterpret_cast<const void*>(px->message), {1, 2}, misalign);
    call(reinterpret_cast<const void*>(px->register_script_processor), {1}, misalign);
    call(reinterpret_cast<const void*>(px->register_interface_access), {1}, misalign);
    char* texts[3] = {nullptr, nullptr, nullptr};
    call(reinterpret_cast<const void*>(px->init_plugin),
         {1, word(&texts[0]), word(&texts[1]), word(&texts[2])}, misalign);
    for (char* block : texts) loader::release_host_block(block);
    ASSERT_EQ(received.size(), 6u);
    EXPECT_EQ(received[0], "zk_resultado= 200001");
    EXPECT_EQ(received[1], "zk_resultado= 199997");
    EXPECT_EQ(received[2].size(), std::string("zk_resultado=").size() + source.size() - 3);
    EXPECT_EQ(received[4], "v=" + stripped);
  }
  std::remove(file_name);
}

}  // namespace
}  // namespace vq::testing
