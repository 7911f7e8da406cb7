// Which scanners (scanners.h) the library runs: the choice is made once, on the first scan,
// from what the processor and the operating system support, and kept. Internal to the
// library: nothing here is exported.
#pragma once

namespace vq {

enum class scan_path : unsigned char {
  portable,  // machine words: any processor, the Pentium included
  sse2,      // 16-byte blocks
  avx2,      // 32-byte blocks
};

// What the first scan learns of the processor: CPUID's answers, and the OS's register state.
struct processor_report {
  unsigned max_leaf;   // highest basic CPUID leaf; 0 where there is no CPUID
  unsigned leaf1_ecx;  // CPUID leaf 1
  unsigned leaf1_edx;
  unsigned leaf7_ebx;  // CPUID leaf 7, subleaf 0; 0 when max_leaf < 7
  unsigned xcr0_low;   // XGETBV(0), read only when leaf 1 reports OSXSAVE; else 0
};

// The fastest scanners a processor so described runs.
scan_path scan_path_for(const processor_report& r) noexcept;

// The scanners in use now: at first the fastest this processor runs.
scan_path scan_path_in_use() noexcept;

}  // namespace vq
