// The main of the programs that test the built library: PROGRAM LIBRARY, with vqhost.exe beside
// the library where the tests need it.
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
