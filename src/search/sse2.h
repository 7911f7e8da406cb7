// The instruction set every vector loop of the search engine assumes: SSE2, which every x86
// that runs Windows has (the 32-bit DLL is built with -msse2, and every 64-bit x86 has it).
// There is no portable fallback to keep untested, so a build without it stops here.
#pragma once

#ifndef __SSE2__
#error "Velquist needs SSE2: build for x86 with -msse2"
#endif

#include <emmintrin.h>
