// The 32-bit host-call thunk: whatever a callback removes from the stack, the thunk returns
// with every register and the stack pointer as a cdecl function must.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

extern "C" void vq_call_words(const void* fn, const uint32_t* words, uint32_t count);
extern "C" uint32_t vq_call_checked(const void* fn, const uint32_t* words, uint32_t count,
                                    uint32_t removes, uint32_t misalign, uint32_t* result);

namespace {

std::vector<uint32_t> seen;

extern "C" __attribute__((cdecl)) void cdecl_2(uint32_t a, uint32_t b) { seen = {a, b}; }
__attribute__((stdcall)) void stdcall_2(uint32_t a, uint32_t b) { seen = {a, b}; }
__attribute__((stdcall)) void stdcall_1(uint32_t a) { seen = {a}; }
__attribute__((stdcall)) void stdcall_3(uint32_t a, uint32_t b, uint32_t) { seen = {a, b}; }
__attribute__((stdcall)) void stdcall_9(uint32_t a, uint32_t b, uint32_t, uint32_t, uint32_t,
                                        uint32_t, uint32_t, uint32_t, uint32_t) {
  seen = {a, b};
}
extern "C" __attribute__((cdecl)) void cdecl_6(uint32_t a, uint32_t b, uint32_t c, uint32_t d,
                                               uint32_t e, uint32_t f) {
  seen = {a, b, c, d, e, f};
}
__attribute__((stdcall)) void stdcall_6(uint32_t a, uint32_t b, uint32_t c, uint32_t d,
                                        uint32_t e, uint32_t f) {
  seen = {a, b, c, d, e, f};
}
__attribute__((stdcall)) void stdcall_5(uint32_t a, uint32_t b, uint32_t c, uint32_t d,
                                        uint32_t e) {
  seen = {a, b, c, d, e};
}

TEST(HostCall, SurvivesEveryStackCleanup) {
  const struct {
    const char* name;
    const void* fn;
    std::vector<uint32_t> words;
    std::vector<uint32_t> expected_seen;
  } rows[] = {
      {"cdecl 2", reinterpret_cast<const void*>(cdecl_2), {7, 8}, {7, 8}},
      {"stdcall 2", reinterpret_cast<const void*>(stdcall_2), {7, 8}, {7, 8}},
      {"removes 4 of 8", reinterpret_cast<const void*>(stdcall_1), {7, 8}, {7}},
      {"removes 12 of 8", reinterpret_cast<const void*>(stdcall_3), {7, 8}, {7, 8}},
      {"removes 36 of 8", reinterpret_cast<const void*>(stdcall_9), {7, 8}, {7, 8}},
      {"cdecl 6", reinterpret_cast<const void*>(cdecl_6), {1, 2, 3, 4, 5, 6}, {1, 2, 3, 4, 5, 6}},
      {"stdcall 6", reinterpret_cast<const void*>(stdcall_6), {1, 2, 3, 4, 5, 6},
       {1, 2, 3, 4, 5, 6}},
      {"removes 20 of 24", reinterpret_cast<const void*>(stdcall_5), {1, 2, 3, 4, 5, 6},
       {1, 2, 3, 4, 5}},
  };
  for (const auto& r : rows) {
    for (uint32_t misalign : {0u, 4u, 8u, 12u}) {
      SCOPED_TRACE(std::string(r.name) + " misalign " + std::to_string(misalign));
      seen.clear();
      const uint32_t args[3] = {static_cast<uint32_t>(reinterpret_cast<uintptr_t>(r.fn)),
                                static_cast<uint32_t>(reinterpret_cast<uintptr_t>(r.words.data())),
                                static_cast<uint32_t>(r.words.size())};
      uint32_t result = 0;
      // vq_call_words is cdecl: it must come back having removed nothing.
      EXPECT_EQ(vq_call_checked(reinterpret_cast<const void*>(vq_call_words), args, 3, 0,
                                misalign, &result),
                0u)
          << "1 ebx, 2 esi, 4 edi changed; 8 stack pointer moved";
      EXPECT_EQ(seen, r.expected_seen);
    }
  }
}

}  // namespace

namespace {

TEST(HostCall, CheckerSeesAMismatchedCleanup) {
  // Called directly, a callback removing 4 bytes where 8 were pushed leaves the stack moved:
  // what the thunk exists to absorb.
  const uint32_t words[2] = {7, 8};
  uint32_t result = 0;
  EXPECT_EQ(vq_call_checked(reinterpret_cast<const void*>(stdcall_1), words, 2, 8, 4, &result),
            8u);
  EXPECT_EQ(vq_call_checked(reinterpret_cast<const void*>(cdecl_2), words, 2, 8, 0, &result), 8u);
  EXPECT_EQ(vq_call_checked(reinterpret_cast<const void*>(stdcall_2), words, 2, 8, 0, &result), 0u);
}

}  // namespace
