// Runs a test once per byte scanner pair (see search/scan_path.h): the SSE2 one every build
// may assume and the AVX2 one, skipped on a processor without it. A suite takes the fixture
// under its own name:
//   using Scan = vq::testing::scan_paths_fixture;
//   INSTANTIATE_TEST_SUITE_P(Paths, Scan, ::testing::ValuesIn(vq::testing::every_scan_path),
//                            vq::testing::scan_path_name);
#pragma once

#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "search/scan_switch.h"

namespace vq {

// How a failing test names its scanners.
inline void PrintTo(scan_path p, std::ostream* os) {
  *os << (p == scan_path::avx2 ? "avx2" : "sse2");
}

}  // namespace vq

namespace vq::testing {

class scan_paths_fixture : public ::testing::TestWithParam<scan_path> {
 protected:
  void SetUp() override {
    if (!use_scan_path(GetParam())) GTEST_SKIP() << "this processor cannot run these scanners";
  }
  void TearDown() override { use_scan_path(best_scan_path()); }
};

inline constexpr scan_path every_scan_path[] = {scan_path::sse2, scan_path::avx2};

inline std::string scan_path_name(const ::testing::TestParamInfo<scan_path>& info) {
  return info.param == scan_path::avx2 ? "avx2" : "sse2";
}

}  // namespace vq::testing
