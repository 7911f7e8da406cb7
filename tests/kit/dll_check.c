/* velquist_dll_check DLL SAMPLE: loads the plug-in library as a host does and checks what
   each action publishes on a table of cases (the examples/ demo's among them, SAMPLE being
   examples/sample.txt). Plain C for the Pentium, on nothing but kernel32, oleaut32 and the C
   runtime: on a processor below the Pentium Pro, where the C++ test programs cannot start, it
   still proves the library. Prints each failure and "N cases, M failed"; exit status 0 only
   when none failed, 2 when the library cannot be loaded. */
/* msvcrt's own printf: mingw-w64's replacement is built for the Pentium Pro. */
#define __USE_MINGW_ANSI_STDIO 0
#include <windows.h>
#include <oleauto.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

typedef void(__stdcall* add_action_fn)(int, const char*, const char*, const char*, int, int);
typedef void(__stdcall* set_variable_fn)(const char*, const char*);
typedef void(__stdcall* init_fn)(UINT_PTR, char**, char**, char**);
typedef void(__stdcall* register_fn)(add_action_fn, UINT_PTR, UINT_PTR, set_variable_fn);
typedef int(__stdcall* number_fn)(int, UINT_PTR);
typedef int(__stdcall* exec_fn)(int, const char* const*);
typedef int(__stdcall* routine_fn)(const char*);

/* What the plug-in announced and set, as the host's callbacks received it. */
static char announced[5][32];
static int sets;
static char set_name[64];
static char* set_value; /* the last value set, with set_length bytes */
static unsigned set_length;

static int cases, failed;

/* A callback text is a zero address (empty) or BSTR-laid-out bytes with their count before
   them; the count, not a zero byte, ends it. */
static unsigned text_length(const char* text) {
  return text ? ((const unsigned*)text)[-1] : 0;
}

static void __stdcall on_add_action(int number, const char* name, const char* hint,
                                    const char* type, int count, int count_again) {
  (void)hint, (void)type, (void)count, (void)count_again;
  if (number >= 1 && number <= 4 && name && text_length(name) < sizeof announced[0])
    memcpy(announced[number], name, text_length(name) + 1);
}

static void __stdcall on_set_variable(const char* name, const char* value) {
  ++sets;
  set_name[0] = 0;
  if (name && text_length(name) < sizeof set_name) memcpy(set_name, name, text_length(name) + 1);
  free(set_value);
  set_length = text_length(value);
  set_value = malloc(set_length + 1);
  if (!set_value) return;
  if (value) memcpy(set_value, value, set_length);
  set_value[set_length] = 0;
}

static void check(int ok, const char* what, const char* detail) {
  ++cases;
  if (ok) return;
  ++failed;
  printf("FAILED: %s%s%s\n", what, detail ? ": " : "", detail ? detail : "");
}

static exec_fn exec_action;

/* Runs action number on text through pxExecAction, in a host text variable as a host makes it
   (BSTR layout), and checks the one variable it must set. */
static void expect(int number, const char* text, unsigned text_bytes, const char* name,
                   const char* value, unsigned value_bytes) {
  BSTR variable = text_bytes ? SysAllocStringByteLen(text, text_bytes) : NULL;
  const char* host_variable = (const char*)variable;
  sets = 0;
  const int result = exec_action(number, &host_variable);
  ++cases;
  if (result != 1 || sets != 1 || strcmp(set_name, name) != 0 || !set_value ||
      set_length != value_bytes || memcmp(set_value, value, value_bytes) != 0) {
    ++failed;
    printf("FAILED: action %d on \"%.60s\" returned %d, made %d sets, the last %.40s = \"%.40s\""
           " (%u bytes)\n", number, text, result, sets, set_name, set_value ? set_value : "",
           set_length);
  }
  SysFreeString(variable);
}

#define EXPECT(number, text, name, value) \
  expect(number, text, sizeof text - 1, name, value, sizeof value - 1)

static void expect_file(const char* sample, const char* rest, const char* value,
                        unsigned value_bytes) {
  const size_t sample_bytes = strlen(sample), rest_bytes = strlen(rest);
  char* text = malloc(sample_bytes + rest_bytes + 2);
  if (!text) {
    check(0, "memory for a file read's text", NULL);
    return;
  }
  memcpy(text, sample, sample_bytes);
  text[sample_bytes] = '|';
  memcpy(text + sample_bytes + 1, rest, rest_bytes + 1);
  expect(4, text, (unsigned)(sample_bytes + rest_bytes + 1), "out", value, value_bytes);
  free(text);
}

/* A long text of one filler byte with a mark at each end: a search or a cut that loses bytes
   at a block's or a word's edge shows here, whichever scanners the processor runs. */
static void long_text_cases(void) {
  enum { length = 1 << 20 };
  char* text = malloc(length + 32);
  if (!text) {
    check(0, "memory for the long text", NULL);
    return;
  }
  memset(text, '.', length);
  text[0] = 'x';
  text[length - 1] = 'y';
  strcpy(text + length, "|y|1|LR");
  expect(1, text, length + 7, "zk_resultado", " 1048576", 8);
  strcpy(text + length, "|x|1|RL");
  expect(1, text, length + 7, "zk_resultado", " 1", 2);
  strcpy(text + length, "|.y|1|RL");
  expect(1, text, length + 8, "zk_resultado", " 1048575", 8);
  strcpy(text + length, "|-1");
  expect(3, text, length + 3, "zk_resultado", text + 1, length - 1);
  free(text);
}

static int check_library(int argc, char** argv) {
  if (argc != 3) {
    fprintf(stderr, "usage: velquist_dll_check DLL SAMPLE\n");
    return 2;
  }
  HMODULE library = LoadLibraryA(argv[1]);
  /* Through void (*)(void), the one function type any other converts from without a warning. */
#define ENTRY(type, name) ((type)(void (*)(void))GetProcAddress(library, name))
  init_fn init = ENTRY(init_fn, "_pxInitPlugIn@16");
  register_fn register_plugin = ENTRY(register_fn, "_pxRegisterPlugIn@16");
  number_fn edit = ENTRY(number_fn, "_pxEditAction@8");
  exec_action = ENTRY(exec_fn, "_pxExecAction@8");
  routine_fn at = ENTRY(routine_fn, "ZK_ST_AT");
  if (!library || !init || !register_plugin || !edit || !exec_action || !at) {
    printf("FAILED: cannot load %s and its exports (error %lu)\n", argv[1], GetLastError());
    return 2;
  }

  char* identity[3] = {NULL, NULL, NULL};
  init(1, &identity[0], &identity[1], &identity[2]);
  check(identity[0] && strcmp(identity[0], VQ_TITLE) == 0, "title", identity[0]);
  check(identity[1] && strcmp(identity[1], VQ_PUBLISHER) == 0, "publisher", identity[1]);
  check(identity[2] && strcmp(identity[2], "Advanced String Search") == 0, "description",
        identity[2]);
  for (int i = 0; i < 3; ++i) GlobalFree(identity[i]);

  register_plugin(on_add_action, 0, 0, on_set_variable);
  static const char* const names[5] = {"", "ZK_ST_at", "ZK_ST_Left", "ZK_ST_Right",
                                       "ZK_ST_FileRead"};
  for (int n = 1; n <= 4; ++n) check(strcmp(announced[n], names[n]) == 0, "announced", names[n]);
  for (int n = -1; n <= 5; ++n) check(edit(n, 0) == (n >= 1 && n <= 4), "pxEditAction", NULL);

  /* The demo's own lines (examples/demo.vqs), then edges. */
  EXPECT(2, "Hello world|5", "zk_resultado", "Hello");
  EXPECT(3, "Hello world|5", "zk_resultado", "world");
  EXPECT(2, "Hello world|-6", "zk_resultado", "Hello");
  EXPECT(3, "Hello world|-6", "zk_resultado", "world");
  EXPECT(2, "Hello world|99", "zk_resultado", "Hello world");
  EXPECT(2, "Hello world|0", "zk_resultado", "");
  EXPECT(1, "abcabc|bc|1|LR", "zk_resultado", " 2");
  EXPECT(1, "abcabc|bc|3|LR", "zk_resultado", " 5");
  EXPECT(1, "abcabc|bc|1|RL", "zk_resultado", " 5");
  EXPECT(1, "abcabc|bc|2|RL", "zk_resultado", " 2");
  EXPECT(1, "abcabc|x|1|LR", "zk_resultado", " 0");
  EXPECT(1, "aaaa|aa|1|RL", "zk_resultado", " 3");
  EXPECT(1, "abcb|b|-3|RL", "zk_resultado", " 4");
  EXPECT(1, "abcb|b|1|RL ", "zk_resultado", " 2");
  EXPECT(1, "abcb||4|RL", "zk_resultado", " 1");
  EXPECT(1, "abcb|b|2147483647|LR", "zk_resultado", " 0");
  EXPECT(1, "abcb|b|-2147483648|RL", "zk_resultado", " 0");
  EXPECT(1, "abcb|b|&H3|LR", "zk_resultado", " 4");
  EXPECT(1, "abcb|b|1.5|LR", "zk_resultado", " 2");
  EXPECT(1, "abcb|b|4294967298", "zk_resultado", " 2");
  EXPECT(2, "Hello|-99", "zk_resultado", "Hello");
  EXPECT(3, "Hello|-5", "zk_resultado", "");
  EXPECT(2, "a\0b|1", "zk_resultado", "");
  EXPECT(2, "", "zk_resultado", "");
  expect_file(argv[2], "1|100|None|out", "Velquist sample\r\ncolour:\tteal\r\nshape:\tcircle\r\n",
              46);
  expect_file(argv[2], "1|100|all|out", "Velquist samplecolour:tealshape:circle", 38);
  expect_file(argv[2], " 32|13|None|out", "shape:\tcircle", 13);
  expect_file(argv[2], "46|1|None|out", "\n", 1);
  expect_file(argv[2], "47|1|None|out", "", 0);
  long_text_cases();

  /* Numbers outside the table do nothing; a direct call with a zero address is an empty text. */
  const char* no_text = NULL;
  sets = 0;
  check(exec_action(5, &no_text) == 0 && exec_action(0, &no_text) == 0 && sets == 0,
        "pxExecAction outside 1 to 4", NULL);
  check(at(NULL) == 0 && sets == 1 && set_length == 2 && memcmp(set_value, " 0", 2) == 0,
        "ZK_ST_AT with a zero address", NULL);

  printf("%d cases, %d failed\n", cases, failed);
  return failed ? 1 : 0;
}

/* The program's own entry, in place of mingw-w64's start-up code, which is built for the
   Pentium Pro (its command-line parse holds a CMOV). msvcrt splits the command line as that
   code would have it split. */
typedef struct {
  int new_mode;
} startup_info;
_CRTIMP int __cdecl __getmainargs(int* argc, char*** argv, char*** env, int wildcards,
                                  startup_info* info);

void __cdecl dll_check_start(void) {
  int argc = 0;
  char** argv = NULL;
  char** env = NULL;
  startup_info info = {0};
  if (__getmainargs(&argc, &argv, &env, 0, &info) < 0) exit(2);
  exit(check_library(argc, argv));
}
