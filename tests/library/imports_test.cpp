// What Velquist.dll and vqhost.exe import, against the lists below of what they may: a function
// that Windows XP SP3 lacks makes the loader refuse the whole file there, so a new import fails
// this test until someone adds it here knowingly, having checked that XP SP3 has it.
//
// Every name below is in XP SP3. kernel32 and oleaut32: Microsoft's reference page of each
// function gives its minimum supported client as Windows 2000 Professional or Windows XP.
// msvcrt: each is exported by the msvcrt.dll of Windows 2000 (the C runtime of Visual C++ 6),
// which XP's msvcrt.dll keeps. The tick-count shim in testhost/win32/ keeps GetTickCount64 out.
#include <algorithm>
#include <set>
#include <string>

#include "library/library_fixture.h"
#include "library/pe_image.h"

namespace vq::testing {
namespace {

// Windows XP: 5.1.
constexpr uint32_t windows_xp = 0x00050001;

const std::set<std::string> library_may_import = {
    "kernel32.dll!CloseHandle",         "kernel32.dll!CreateFileA",
    "kernel32.dll!DeleteCriticalSection", "kernel32.dll!EnterCriticalSection",
    "kernel32.dll!FreeLibrary",         "kernel32.dll!GetFileSizeEx",
    "kernel32.dll!GetFileType",         "kernel32.dll!GetLastError",
    "kernel32.dll!GetModuleHandleA",    "kernel32.dll!GetProcAddress",
    "kernel32.dll!GetProcessHeap",      "kernel32.dll!GlobalAlloc",
    "kernel32.dll!GlobalFree",          "kernel32.dll!HeapAlloc",
    "kernel32.dll!HeapFree",            "kernel32.dll!InitializeCriticalSection",
    "kernel32.dll!LeaveCriticalSection", "kernel32.dll!LoadLibraryA",
    "kernel32.dll!ReadFile",            "kernel32.dll!SetErrorMode",
    "kernel32.dll!SetFilePointer",      "kernel32.dll!SetLastError",
    "kernel32.dll!Sleep",               "kernel32.dll!TlsGetValue",
    "kernel32.dll!VirtualProtect",      "kernel32.dll!VirtualQuery",
    "msvcrt.dll!_amsg_exit",            "msvcrt.dll!_initterm",
    "msvcrt.dll!_iob",                  "msvcrt.dll!_lock",
    "msvcrt.dll!_unlock",               "msvcrt.dll!abort",
    "msvcrt.dll!calloc",                "msvcrt.dll!free",
    "msvcrt.dll!fwrite",                "msvcrt.dll!memchr",
    "msvcrt.dll!memcpy",                "msvcrt.dll!memmove",
    "msvcrt.dll!realloc",               "msvcrt.dll!strlen",
    "msvcrt.dll!strncmp",               "msvcrt.dll!vfprintf",
    "oleaut32.dll!SysAllocStringByteLen", "oleaut32.dll!SysFreeString",
};

const std::set<std::string> vqhost_may_import = {
    "kernel32.dll!AddVectoredExceptionHandler", "kernel32.dll!CloseHandle",
    "kernel32.dll!CreateEventA",        "kernel32.dll!CreateSemaphoreA",
    "kernel32.dll!DeleteCriticalSection", "kernel32.dll!DuplicateHandle",
    "kernel32.dll!EnterCriticalSection", "kernel32.dll!FreeLibrary",
    "kernel32.dll!GetCurrentProcess",   "kernel32.dll!GetCurrentProcessId",
    "kernel32.dll!GetCurrentThread",    "kernel32.dll!GetCurrentThreadId",
    "kernel32.dll!GetHandleInformation", "kernel32.dll!GetLastError",
    "kernel32.dll!GetModuleHandleA",    "kernel32.dll!GetModuleHandleW",
    "kernel32.dll!GetProcAddress",      "kernel32.dll!GetProcessAffinityMask",
    "kernel32.dll!GetStartupInfoA",     "kernel32.dll!GetSystemTimeAsFileTime",
    "kernel32.dll!GetThreadContext",    "kernel32.dll!GetThreadPriority",
    "kernel32.dll!GetTickCount",        "kernel32.dll!GlobalFree",
    "kernel32.dll!InitializeCriticalSection", "kernel32.dll!IsDBCSLeadByteEx",
    "kernel32.dll!IsDebuggerPresent",   "kernel32.dll!LeaveCriticalSection",
    "kernel32.dll!LoadLibraryA",        "kernel32.dll!LoadLibraryW",
    "kernel32.dll!MultiByteToWideChar", "kernel32.dll!OpenProcess",
    "kernel32.dll!OutputDebugStringA",  "kernel32.dll!RaiseException",
    "kernel32.dll!ReleaseSemaphore",    "kernel32.dll!RemoveVectoredExceptionHandler",
    "kernel32.dll!ResetEvent",          "kernel32.dll!ResumeThread",
    "kernel32.dll!SetEvent",            "kernel32.dll!SetLastError",
    "kernel32.dll!SetProcessAffinityMask", "kernel32.dll!SetThreadContext",
    "kernel32.dll!SetThreadPriority",   "kernel32.dll!SetUnhandledExceptionFilter",
    "kernel32.dll!Sleep",               "kernel32.dll!SuspendThread",
    "kernel32.dll!TlsAlloc",            "kernel32.dll!TlsGetValue",
    "kernel32.dll!TlsSetValue",         "kernel32.dll!TryEnterCriticalSection",
    "kernel32.dll!VirtualProtect",      "kernel32.dll!VirtualQuery",
    "kernel32.dll!WaitForMultipleObjects", "kernel32.dll!WaitForSingleObject",
    "kernel32.dll!WideCharToMultiByte", "msvcrt.dll!__getmainargs",
    "msvcrt.dll!__initenv",             "msvcrt.dll!__mb_cur_max",
    "msvcrt.dll!__p__acmdln",           "msvcrt.dll!__p__commode",
    "msvcrt.dll!__p__fmode",            "msvcrt.dll!__set_app_type",
    "msvcrt.dll!__setusermatherr",      "msvcrt.dll!_amsg_exit",
    "msvcrt.dll!_beginthreadex",        "msvcrt.dll!_cexit",
    "msvcrt.dll!_close",                "msvcrt.dll!_endthreadex",
    "msvcrt.dll!_errno",                "msvcrt.dll!_fileno",
    "msvcrt.dll!_initterm",             "msvcrt.dll!_iob",
    "msvcrt.dll!_lock",                 "msvcrt.dll!_onexit",
    "msvcrt.dll!_read",                 "msvcrt.dll!_setjmp3",
    "msvcrt.dll!_setmode",              "msvcrt.dll!_strdup",
    "msvcrt.dll!_ultoa",                "msvcrt.dll!_unlock",
    "msvcrt.dll!abort",                 "msvcrt.dll!atoi",
    "msvcrt.dll!calloc",                "msvcrt.dll!exit",
    "msvcrt.dll!fclose",                "msvcrt.dll!ferror",
    "msvcrt.dll!fflush",                "msvcrt.dll!fopen",
    "msvcrt.dll!fprintf",               "msvcrt.dll!fputc",
    "msvcrt.dll!fputs",                 "msvcrt.dll!free",
    "msvcrt.dll!fwrite",                "msvcrt.dll!getc",
    "msvcrt.dll!localeconv",            "msvcrt.dll!longjmp",
    "msvcrt.dll!malloc",                "msvcrt.dll!memchr",
    "msvcrt.dll!memcmp",                "msvcrt.dll!memcpy",
    "msvcrt.dll!memmove",               "msvcrt.dll!memset",
    "msvcrt.dll!printf",                "msvcrt.dll!realloc",
    "msvcrt.dll!setlocale",             "msvcrt.dll!signal",
    "msvcrt.dll!strchr",                "msvcrt.dll!strcmp",
    "msvcrt.dll!strerror",              "msvcrt.dll!strlen",
    "msvcrt.dll!strncmp",               "msvcrt.dll!ungetc",
    "msvcrt.dll!vfprintf",              "msvcrt.dll!wcslen",
};

// vqhost.exe lies beside the library, in the build folder and in the test kit alike.
std::string vqhost_path() {
  const std::string& library = library_path();
  const std::size_t slash = library.find_last_of("\\/");
  return (slash == std::string::npos ? std::string() : library.substr(0, slash + 1)) +
         "vqhost.exe";
}

TEST(LibraryImage, ImportsOnlyWhatWindowsXpHas) {
  const struct {
    std::string file;
    const std::set<std::string>& allowed;
  } rows[] = {{library_path(), library_may_import}, {vqhost_path(), vqhost_may_import}};
  for (const auto& r : rows) {
    SCOPED_TRACE(r.file);
    const pe_tables tables = read_pe_tables(read_whole_file(r.file));
    ASSERT_TRUE(tables.valid) << tables.error;
    EXPECT_FALSE(tables.imports.empty());
    for (const std::string& name : tables.imports) {
      EXPECT_TRUE(r.allowed.count(name)) << "imports " << name << ", which is not on the list";
    }
    EXPECT_LE(tables.os_version, windows_xp) << "claims a newer system than XP";
    EXPECT_LE(tables.subsystem_version, windows_xp) << "claims a newer subsystem than XP's";
    EXPECT_GT(tables.os_version, 0u);
  }
}

}  // namespace
}  // namespace vq::testing
