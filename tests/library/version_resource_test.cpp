// The DLL's version resource, as Windows itself reads it.
#include <windows.h>

#include <string>
#include <vector>

#include "library/library_fixture.h"

namespace vq::testing {
namespace {

std::string version_string(const std::vector<char>& info, const char* key) {
  char* value = nullptr;
  UINT length = 0;
  const std::string path = std::string("\\StringFileInfo\\040904B0\\") + key;
  if (!VerQueryValueA(info.data(), path.c_str(), reinterpret_cast<void**>(&value), &length))
    return "<missing>";
  return std::string(value, length ? length - 1 : 0);
}

TEST(LibraryImage, CarriesVersionResource) {
  DWORD handle = 0;
  const DWORD size = GetFileVersionInfoSizeA(library_path().c_str(), &handle);
  ASSERT_GT(size, 0u);
  std::vector<char> info(size);
  ASSERT_TRUE(GetFileVersionInfoA(library_path().c_str(), 0, size, info.data()));
  EXPECT_EQ(version_string(info, "ProductName"), "Velquist");
  EXPECT_EQ(version_string(info, "FileDescription"), "Advanced String Search");
  EXPECT_EQ(version_string(info, "FileVersion"), "1.0");
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValueA(info.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
  EXPECT_EQ(fixed->dwFileVersionMS, 0x00010000u);
  EXPECT_EQ(fixed->dwProductVersionMS, 0x00010000u);
}

}  // namespace
}  // namespace vq::testing
