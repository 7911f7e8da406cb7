// The file read action against the real system only: handles the test itself holds, the
// read-only attribute, devices and pipes, and the process error mode.
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "actions/file_read_fixture.h"
#include "platform/platform.h"
#include "plugin/plugin.h"
#include "support/fake_os.h"

namespace vq::testing {
namespace {

const std::string sample("\x41\x00\x0D\x0A\x42", 5);

class FileReadWin32 : public file_read_run {};

TEST_F(FileReadWin32, AnyOtherHandleOnTheFileKeepsItFromTheAction) {
  const std::string file = folder.write("held.bin", sample);
  const struct {
    DWORD access;
    DWORD share;
  } rows[] = {{GENERIC_READ, 0},
              {GENERIC_READ, FILE_SHARE_READ},
              {GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE},
              {GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE}};
  for (const auto& r : rows) {
    SCOPED_TRACE(std::to_string(r.access) + " share " + std::to_string(r.share));
    HANDLE held = CreateFileA(file.c_str(), r.access, r.share, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    fake_os fake;
    EXPECT_EQ(run(file, "1|5|"), std::nullopt);
    EXPECT_EQ(fake.create_file_calls.size(), 2u) << "both attempts refused";
    CloseHandle(held);
  }
  // A handle with no data access takes no part in sharing: it does not keep the file.
  HANDLE attributes_only = CreateFileA(file.c_str(), 0, 0, nullptr, OPEN_EXISTING,
                                       FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(attributes_only, INVALID_HANDLE_VALUE);
  EXPECT_EQ(run(file, "1|5|"), sample);
  CloseHandle(attributes_only);
}

TEST_F(FileReadWin32, ReadOnlyAttributeKeepsTheFileUnchanged) {
  const std::string file = folder.write("readonly.bin", sample);
  ASSERT_TRUE(SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_READONLY));
  // Windows refuses GENERIC_WRITE here (ERROR_ACCESS_DENIED); Wine running as root grants it.
  HANDLE probe = CreateFileA(file.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                             OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  const bool write_refused = probe == INVALID_HANDLE_VALUE;
  if (write_refused) {
    EXPECT_EQ(GetLastError(), DWORD{ERROR_ACCESS_DENIED});
  } else {
    CloseHandle(probe);
  }
  fake_os fake;
  EXPECT_EQ(run(file, "1|2147483647|"), sample);
  EXPECT_EQ(fake.create_file_calls.size(), write_refused ? 2u : 1u);
  EXPECT_TRUE(GetFileAttributesA(file.c_str()) & FILE_ATTRIBUTE_READONLY);
  EXPECT_EQ(folder.read("readonly.bin"), sample);
  SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_NORMAL);
}

// The handle is made inheritable, as the security attributes ask.
os_handle create_and_check_inheritance(const char* name, uint32_t access, uint32_t share,
                                       os_security_attributes* security, uint32_t disposition,
                                       uint32_t flags, os_handle template_file) {
  os_handle file = current_fake()->real.create_file_a(name, access, share, security,
                                                      disposition, flags, template_file);
  DWORD handle_flags = 0;
  EXPECT_TRUE(GetHandleInformation(file, &handle_flags));
  EXPECT_TRUE(handle_flags & HANDLE_FLAG_INHERIT);
  return file;
}

TEST_F(FileReadWin32, TheHandleIsInheritable) {
  const std::string file = folder.write("ten.bin", "0123456789");
  fake_os fake;
  os.create_file_a = create_and_check_inheritance;
  EXPECT_EQ(run(file, "1|3|"), "012");
}

TEST_F(FileReadWin32, TheErrorModeIsRestoredAfterEveryKindOfRun) {
  folder.write("ten.bin", "0123456789");
  for (const UINT mode : {0u, UINT{SEM_FAILCRITICALERRORS}, UINT{SEM_NOOPENFILEERRORBOX},
                          UINT{SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX}}) {
    for (const std::string& name :
         {folder.path("ten.bin"), folder.path("missing/x"), folder.path("NUL")}) {
      SCOPED_TRACE(name + " mode " + std::to_string(mode));
      const UINT outer = SetErrorMode(mode);
      SetLastError(0xDEADBEEF);
      set_variable_calls.clear();
      const std::string parameters = name + "|2|3||v";
      const char* text = parameters.c_str();
      pxExecAction(4, &text);
      const UINT now = SetErrorMode(mode);  // GetErrorMode is Vista's
      EXPECT_EQ(now, mode);
      EXPECT_EQ(set_variable_calls.size(), 1u);
      SetErrorMode(outer);
    }
  }
}

TEST_F(FileReadWin32, DevicesAndPipesAreClosedUnread) {
  // A named pipe with no client writing: a read would wait for ever.
  const std::string pipe_name = "\\\\.\\pipe\\vq-file-read-" + std::to_string(GetCurrentProcessId());
  HANDLE pipe = CreateNamedPipeA(pipe_name.c_str(), PIPE_ACCESS_DUPLEX, PIPE_TYPE_BYTE, 1, 64, 64,
                                 0, nullptr);
  ASSERT_NE(pipe, INVALID_HANDLE_VALUE);
  {
    fake_os fake;
    EXPECT_EQ(run(pipe_name, "1|100|"), std::nullopt);
    EXPECT_TRUE(fake.read_file_counts.empty()) << "read from a pipe";
  }
  CloseHandle(pipe);
  // Device names, as full paths in the test's own folder: each names the device on some
  // Windows versions and an ordinary file on others (Windows 11 takes most of them inside a
  // folder as file names). Either is right: the device, opened and closed unread (or not
  // opened at all: CON without a console, COM1 without the port); or a missing file, created
  // empty like any other. The test prefixes map Wine's COM1 to /dev/null: the machine's own
  // port can stall a close for minutes.
  namespace fs = std::filesystem;
  fs::create_directory(folder.root() / "dir");
  for (const char* name : {"NUL", "nul", "CON", "COM1", "NUL.txt", "dir\\COM1"}) {
    SCOPED_TRACE(name);
    fake_os fake;
    EXPECT_EQ(run(folder.path(name), "1|100|"), std::nullopt);
    // Only the folder's own entries tell an ordinary file: the system answers for a device name
    // as if it were there.
    const fs::path file = folder.root() / name;
    bool made = false;
    for (const auto& entry : fs::directory_iterator(file.parent_path())) {
      made = made || entry.path().filename() == file.filename();
    }
    if (made) {
      EXPECT_EQ(fs::file_size(file), 0u);
    } else {
      EXPECT_TRUE(fake.read_file_counts.empty()) << "read from a device";
    }
  }
}

}  // namespace
}  // namespace vq::testing
