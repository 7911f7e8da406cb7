#include <gtest/gtest.h>

#include <cstdio>

#include "blocks/scan_path.h"
#include "support/scan_paths.h"

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  // The scanners the first scan takes, asked before any test can flip them: the emulated
  // processors' runs (tests/emulated/run_model.sh) check this line against each model.
  std::printf("scan path chosen by the processor query: %s\n",
              vq::scan_path_text(vq::scan_path_in_use()));
  return RUN_ALL_TESTS();
}
