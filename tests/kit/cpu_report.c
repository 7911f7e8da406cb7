/* Prints what the processor reports through CPUID: its vendor, family and model, and one line
 * per feature that tells the processor models apart ("sse2: no"). tools/wine-under-qemu runs it
 * first, to prove that the programs after it see the emulated processor model and not the
 * machine's own. Plain C for the Pentium (no CMOV, no SSE), without the C runtime's start-up
 * code and importing only msvcrt, so that it starts on every processor it is asked about. */

/* msvcrt's own printf, not the C99 one mingw-w64 would link in (built with CMOV). */
#define __USE_MINGW_ANSI_STDIO 0
#include <cpuid.h>
#include <stdio.h>
#include <stdlib.h>

static void report(const char* name, unsigned int present) {
  printf("%s: %s\n", name, present ? "yes" : "no");
}

static int report_cpu(void) {
  unsigned int eax = 0, ebx = 0, ecx = 0, edx = 0;
  const unsigned int highest = __get_cpuid_max(0, &ebx);
  unsigned int vendor[4] = {0, 0, 0, 0};
  unsigned int features_edx = 0, features_ecx = 0, leaf7_ebx = 0;
  unsigned int family = 0, model = 0, stepping = 0;

  if (highest == 0 && ebx == 0) {
    /* __get_cpuid_max answers 0 both for "no CPUID" and for a processor whose highest leaf
     * is 0; a vendor text of zeros tells the first apart. */
    report("cpuid", 0);
    return 1;
  }
  __cpuid(0, eax, vendor[0], vendor[2], vendor[1]);
  printf("vendor: %.12s\n", (const char*)vendor);
  if (highest >= 1) {
    __cpuid(1, eax, ebx, features_ecx, features_edx);
    family = (eax >> 8) & 0xf;
    model = (eax >> 4) & 0xf;
    stepping = eax & 0xf;
    /* The extended fields count only where the base family says so. */
    if (family == 0xf) family += (eax >> 20) & 0xff;
    if (family == 0x6 || family >= 0xf) model |= ((eax >> 16) & 0xf) << 4;
  }
  if (highest >= 7) __cpuid_count(7, 0, eax, leaf7_ebx, ecx, edx);
  printf("family: %u\nmodel: %u\nstepping: %u\n", family, model, stepping);

  report("cmov", features_edx & bit_CMOV);
  report("mmx", features_edx & bit_MMX);
  report("sse", features_edx & bit_SSE);
  report("sse2", features_edx & bit_SSE2);
  /* The bits as reported: whether the system also saves the AVX registers is the product's
   * own check (XGETBV), not this report's. */
  report("avx", features_ecx & bit_AVX);
  report("avx2", leaf7_ebx & bit_AVX2);
  report("osxsave", features_ecx & bit_OSXSAVE);
  return 0;
}

/* The program's own entry (linked with -nostartfiles), in place of mingw-w64's start-up code,
 * which is built for the Pentium Pro (its command-line parse holds a CMOV): printing needs
 * none of it. exit() flushes standard output. */
void __cdecl cpu_report_start(void) {
  exit(report_cpu());
}

