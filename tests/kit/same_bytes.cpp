// same_bytes FILE1 FILE2: exit status 0 when the two files hold the same bytes, 1 when they
// differ (the first differing offset is printed), 2 when one cannot be read. The test kit's
// comparison, so that it needs nothing of the system beyond the C runtime.
#include <cstdio>

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: same_bytes FILE1 FILE2\n");
    return 2;
  }
  std::FILE* first = std::fopen(argv[1], "rb");
  std::FILE* second = std::fopen(argv[2], "rb");
  if (!first || !second) {
    std::fprintf(stderr, "same_bytes: cannot read %s\n", first ? argv[2] : argv[1]);
    return 2;
  }
  for (long offset = 0;; ++offset) {
    const int a = std::fgetc(first);
    const int b = std::fgetc(second);
    if (a != b) {
      std::printf("%s and %s differ at byte %ld\n", argv[1], argv[2], offset);
      return 1;
    }
    if (a == EOF) return 0;
  }
}
