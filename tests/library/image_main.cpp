// The image checks of the built 32-bit files (exports, imports, hardening), run natively:
// velquist_image_tests PATH_TO_Velquist.dll, with vqhost.exe beside it. Under Wine the same
// tests run inside velquist_library_tests; this runs them where no 32-bit program can start.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace vq::testing {
namespace {
std::string path_of_library;
}  // namespace

const std::string& library_path() { return path_of_library; }

}  // namespace vq::testing

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s LIBRARY\n", argv[0]);
    return 2;
  }
  vq::testing::path_of_library = argv[1];
  return RUN_ALL_TESTS();
}
