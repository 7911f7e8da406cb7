// What every Windows program and DLL of ours imports, against lists of what Windows XP SP3 has:
// a function it lacks makes the loader refuse the whole file there. Wine cannot show this (its
// loader binds a missing import to a stub, and its kernel32 has Vista's functions whatever
// version a prefix reports), so this is the proof that XP loads them. It reads every .exe and
// .dll beside the library: the test kit's programs on Windows, the build folder under Wine and
// natively. A new import fails until someone adds it below knowingly, having checked its source:
// - kernel32, oleaut32, psapi and version: Microsoft's reference page of each function gives its
//   minimum supported client as Windows 2000 Professional or Windows XP.
// - msvcrt: mingw-w64's mingw-w64-crt/lib-common/msvcrt.def.in lists msvcrt.dll's exports in
//   sections by the system version that added them; every name below is in a section up to
//   "added in Windows XP" (_fstat64 and _wstat64 came with Windows 2000, the rest earlier).
// GetTickCount64 stays out through the shim in src/platform/win32/tick_count_xp.cpp.
#include <cctype>
#include <filesystem>
#include <map>
#include <set>
#include <string>

#include "library/library_fixture.h"
#include "library/pe_image.h"

namespace vq::testing {
namespace {

// Windows XP: 5.1.
constexpr uint32_t windows_xp = 0x00050001;

const std::map<std::string, std::set<std::string>> on_windows_xp = {
    {"kernel32.dll",
    {
      "AddVectoredExceptionHandler", "CloseHandle", "CreateEventA", "CreateFileA", "CreateFileW",
      "CreateHardLinkW", "CreateNamedPipeA", "CreatePipe", "CreateProcessA", "CreateSemaphoreA",
      "CreateThread", "DebugBreak", "DeleteCriticalSection", "DeleteFileA", "DeleteFileW",
      "DuplicateHandle", "EnterCriticalSection", "FileTimeToSystemTime", "FindFirstVolumeW",
      "FindNextVolumeW", "FindVolumeClose", "FormatMessageA", "FreeLibrary", "GetCommandLineA",
      "GetCurrentProcess", "GetCurrentProcessId", "GetCurrentThread", "GetCurrentThreadId",
      "GetDiskFreeSpaceExW", "GetExitCodeProcess", "GetFileAttributesA", "GetFileAttributesW",
      "GetFileInformationByHandle", "GetFileSizeEx", "GetFileType", "GetFullPathNameW",
      "GetHandleInformation", "GetLastError", "GetModuleFileNameA", "GetModuleHandleA",
      "GetModuleHandleW", "GetProcAddress", "GetProcessAffinityMask", "GetProcessHeap",
      "GetProcessTimes", "GetStartupInfoA", "GetStdHandle", "GetSystemTimeAdjustment",
      "GetSystemTimeAsFileTime", "GetTempFileNameA", "GetTempPathA", "GetTempPathW",
      "GetThreadContext", "GetThreadPriority", "GetThreadTimes", "GetTickCount",
      "GetVolumeInformationW", "GlobalAlloc", "GlobalFree", "HeapAlloc", "HeapFree",
      "InitializeCriticalSection", "IsDBCSLeadByteEx", "IsDebuggerPresent", "LeaveCriticalSection",
      "LoadLibraryA", "LoadLibraryW", "LocalFree", "MoveFileExW", "MultiByteToWideChar",
      "OpenProcess", "OpenThread", "OutputDebugStringA", "QueryPerformanceCounter",
      "QueryPerformanceFrequency", "RaiseException", "ReadFile", "ReleaseSemaphore",
      "RemoveDirectoryW", "RemoveVectoredExceptionHandler", "ResetEvent", "ResumeThread",
      "SetEndOfFile", "SetErrorMode", "SetEvent", "SetFileAttributesA", "SetFilePointer",
      "SetLastError", "SetProcessAffinityMask", "SetSystemTime", "SetThreadContext",
      "SetThreadPriority", "SetUnhandledExceptionFilter", "Sleep", "SuspendThread", "TlsAlloc",
      "TlsGetValue", "TlsSetValue", "TryEnterCriticalSection", "VirtualAlloc", "VirtualFree",
      "VirtualProtect", "VirtualQuery", "WaitForMultipleObjects", "WaitForSingleObject",
      "WideCharToMultiByte", "WriteFile",
    }},
    {"msvcrt.dll",
    {
      "__getmainargs", "__initenv", "__mb_cur_max", "__p__acmdln", "__p__commode", "__p__fmode",
      "__set_app_type", "__setusermatherr", "_amsg_exit", "_beginthreadex", "_cexit", "_close",
      "_creat", "_dup", "_dup2", "_endthreadex", "_errno", "_exit", "_fdopen", "_filelengthi64",
      "_fileno", "_findclose", "_fstat64", "_get_osfhandle", "_getcwd", "_initterm", "_iob",
      "_isatty", "_lock", "_lseeki64", "_mkdir", "_nextafter", "_onexit", "_open_osfhandle",
      "_read", "_set_error_mode", "_setjmp3", "_setmode", "_stat", "_strdup", "_stricmp",
      "_telli64", "_ultoa", "_unlock", "_wchdir", "_wchmod", "_wcsicmp", "_wfindfirst",
      "_wfindnext", "_wfopen", "_wfullpath", "_wgetcwd", "_wmkdir", "_wopen", "_write", "_wstat64",
      "_wutime", "abort", "atoi", "calloc", "exit", "fclose", "ferror", "fflush", "fgetc",
      "fgetpos", "fopen", "fprintf", "fputc", "fputs", "fread", "free", "fseek", "fsetpos",
      "ftell", "fwrite", "getc", "getenv", "getwc", "isalnum", "iscntrl", "islower", "isspace",
      "isupper", "iswctype", "isxdigit", "localeconv", "localtime", "longjmp", "malloc", "memchr",
      "memcmp", "memcpy", "memmove", "memset", "printf", "putc", "putwc", "realloc", "remove",
      "setlocale", "setvbuf", "signal", "strchr", "strcmp", "strcoll", "strerror", "strftime",
      "strlen", "strncmp", "strrchr", "strstr", "strtol", "strxfrm", "tolower", "toupper",
      "towlower", "towupper", "ungetc", "ungetwc", "vfprintf", "wcscat", "wcscmp", "wcscoll",
      "wcscpy", "wcsftime", "wcslen", "wcsstr", "wcsxfrm",
    }},
    {"oleaut32.dll",
    {
      "SysAllocStringByteLen", "SysFreeString",
    }},
    {"psapi.dll",
    {
      "GetProcessMemoryInfo",
    }},
    {"version.dll",
    {
      "GetFileVersionInfoA", "GetFileVersionInfoSizeA", "VerQueryValueA",
    }},
};

std::string lower(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

TEST(LibraryImage, EveryProgramImportsOnlyWhatWindowsXpHas) {
  namespace fs = std::filesystem;
  const fs::path folder = fs::absolute(fs::path(library_path())).parent_path();
  std::set<std::string> checked;
  for (const fs::directory_entry& entry : fs::directory_iterator(folder)) {
    const std::string name = lower(entry.path().filename().string());
    const std::string extension = lower(entry.path().extension().string());
    if (!entry.is_regular_file() || (extension != ".exe" && extension != ".dll")) continue;
    SCOPED_TRACE(entry.path().string());
    checked.insert(name);
    const pe_tables tables = read_pe_tables(read_whole_file(entry.path().string()));
    ASSERT_TRUE(tables.valid) << tables.error;
    for (const std::string& import : tables.imports) {
      const std::size_t bang = import.find('!');
      const auto library = on_windows_xp.find(import.substr(0, bang));
      EXPECT_TRUE(library != on_windows_xp.end() &&
                  library->second.count(import.substr(bang + 1)))
          << "imports " << import << ", which is not on the list";
    }
    EXPECT_LE(tables.os_version, windows_xp) << "claims a newer system than XP";
    EXPECT_LE(tables.subsystem_version, windows_xp) << "claims a newer subsystem than XP's";
    EXPECT_GT(tables.os_version, 0u);
  }
  // Never a pass for want of files.
  EXPECT_TRUE(checked.count("velquist.dll") && checked.count("vqhost.exe")) << folder;
}

}  // namespace
}  // namespace vq::testing
