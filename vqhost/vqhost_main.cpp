// vqhost: a command-line host for a Velquist library (see vqhost.h).
#include <cstdio>
#include <exception>

#include "vqhost/system_library.h"
#include "vqhost/vqhost.h"

int main(int argc, char** argv) {
  // Windows would turn every "\n" written into CR LF and stop reading at a 0x1a byte; the
  // output must be the same bytes on every system.
  vq::loader::use_binary_stdio();
  try {
    return vq::vqhost::vqhost_main(argc, argv, {stdin, stdout, stderr});
  } catch (const std::exception& failure) {
    std::fprintf(stderr, "vqhost: %s\n", failure.what());
  }
  return vq::vqhost::exit_cannot_start;
}
