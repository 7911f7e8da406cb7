// Runs a test once per scanner table (see blocks/scan_path.h): portable, SSE2 and AVX2, each
// skipped on a processor without it. A suite takes the fixture under its own name:
//   using Scan = vq::testing::scan_paths_fixture;
//   INSTANTIATE_TEST_SUITE_P(Paths, Scan, ::testing::ValuesIn(vq::testing::every_scan_path),
//                            vq::testing::scan_path_name);
#pragma once

#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "blocks/scan_switch.h"

namespace vq {

inline const char* scan_path_text(scan_path p) {
  return p == scan_path::avx2 ? "avx2" : p == scan_path::sse2 ? "sse2" : "portable";
}

// How a failing test names its scanners.
inline void PrintTo(scan_path p, std::ostream* os) { *os << scan_path_text(p); }

}  // namespace vq

namespace vq::testing {

inline constexpr scan_path every_scan_path[] = {scan_path::portable, scan_path::sse2,
                                                scan_path::avx2};

// Runs f() once per scanner table this processor has, with a trace naming it, and puts the
// best one back.
template <class F>
void for_each_scan_path(F&& f) {
  for (const scan_path p : every_scan_path) {
    if (!use_scan_path(p)) continue;
    SCOPED_TRACE(scan_path_text(p));
    f();
  }
  use_scan_path(best_scan_path());
}

class scan_paths_fixture : public ::testing::TestWithParam<scan_path> {
 protected:
  void SetUp() override {
    if (!use_scan_path(GetParam())) GTEST_SKIP() << "this processor cannot run these scanners";
  }
  void TearDown() override { use_scan_path(best_scan_path()); }
};

inline std::string scan_path_name(const ::testing::TestParamInfo<scan_path>& info) {
  return scan_path_text(info.param);
}

}  // namespace vq::testing
