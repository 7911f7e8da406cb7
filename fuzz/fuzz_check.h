// The one check of the fuzz targets: always on, also where NDEBUG removes assert, and a finding
// says what broke (the condition and a printf-style message) before it aborts.
#pragma once

#include <cstdio>
#include <cstdlib>

#define FUZZ_CHECK(condition, ...)                                                        \
  do {                                                                                    \
    if (!(condition)) {                                                                   \
      std::fprintf(stderr, "%s:%d: %s failed: ", __FILE__, __LINE__, #condition);        \
      std::fprintf(stderr, __VA_ARGS__);                                                  \
      std::fputc('\n', stderr);                                                           \
      std::abort();                                                                       \
    }                                                                                     \
  } while (0)
