// The DLL's binary face: exactly the agreed exports, system imports only, hardened and
// reproducible. Portable: it reads the file's bytes, so it runs natively too.
#include "library/pe_image.h"

#include <algorithm>
#include <cctype>
#include <iterator>
#include <set>

#include "library/library_fixture.h"
#include "plugin/export_names.h"

namespace vq::testing {
namespace {

std::string lower(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

TEST(LibraryImage, ExportsExactlyTheProtocolAndActionNames) {
  const pe_tables tables = read_pe_tables(read_whole_file(library_path()));
  ASSERT_TRUE(tables.valid) << tables.error;
  EXPECT_TRUE(tables.is_dll);
  // The names of velquist.def: an export it lacks, or one it has and the DLL lacks, fails.
  std::set<std::string> expected;
  for (const export_name& e : export_names) expected.insert(e.exported);
  const std::set<std::string> exported(tables.export_names.begin(), tables.export_names.end());
  EXPECT_EQ(exported, expected);
  EXPECT_EQ(tables.export_names.size(), expected.size()) << "an export is listed twice";
}

TEST(LibraryImage, ReproducibleAndHardened) {
  const pe_tables tables = read_pe_tables(read_whole_file(library_path()));
  ASSERT_TRUE(tables.valid) << tables.error;
  EXPECT_EQ(tables.timestamp, 0u) << "a link timestamp makes every build differ";
  constexpr uint32_t dynamic_base = 0x0040, nx_compat = 0x0100, no_seh = 0x0400;
  EXPECT_EQ(tables.dll_characteristics & dynamic_base, dynamic_base);
  EXPECT_EQ(tables.dll_characteristics & nx_compat, nx_compat);
  EXPECT_EQ(tables.dll_characteristics & no_seh, no_seh);
  constexpr uint32_t executable = 0x20000000, writable = 0x80000000;
  EXPECT_FALSE(tables.sections.empty());
  for (const auto& section : tables.sections) {
    EXPECT_NE(section.characteristics & (executable | writable), executable | writable)
        << section.name << " is both writable and executable";
  }
}

TEST(LibraryImage, ImportsOnlySystemLibraries) {
  const pe_tables tables = read_pe_tables(read_whole_file(library_path()));
  ASSERT_TRUE(tables.valid) << tables.error;
  const std::set<std::string> allowed = {"kernel32.dll", "oleaut32.dll", "msvcrt.dll"};
  EXPECT_FALSE(tables.import_libraries.empty());
  for (const std::string& name : tables.import_libraries) {
    EXPECT_TRUE(allowed.count(lower(name))) << "imports " << name;
  }
}

TEST(LibraryImage, CarriesNoRuntimeBaggage) {
  // Exception support or a threading library linked in statically shows in what they import.
  const pe_tables tables = read_pe_tables(read_whole_file(library_path()));
  ASSERT_TRUE(tables.valid) << tables.error;
  EXPECT_GT(tables.import_functions.size(), 5u);
  for (const std::string& name : tables.import_functions) {
    for (const char* unwanted : {"RaiseException", "AddVectoredExceptionHandler", "CreateThread",
                                 "_beginthreadex", "CreateSemaphoreA", "printf"}) {
      EXPECT_NE(name, unwanted);
    }
  }
}

TEST(LibraryImage, DamagedImagesAreRefusedNotOverread) {
  std::vector<unsigned char> bytes = read_whole_file(library_path());
  ASSERT_GT(bytes.size(), 1024u);
  for (std::size_t keep : {std::size_t{0}, std::size_t{64}, std::size_t{300}, std::size_t{1024}}) {
    std::vector<unsigned char> cut(bytes.begin(), bytes.begin() + static_cast<long>(keep));
    EXPECT_FALSE(read_pe_tables(cut).valid) << keep;
  }
}

}  // namespace
}  // namespace vq::testing
