// Memory with no access on either side, to prove a scan never reads past what it was given.
#pragma once

#include <cstddef>
#include <cstdint>

namespace vq::testing {

// The parity of the 4 KiB page number of the faulting page after the readable ones. A scan that
// steps by a wrong page size (8 KiB for 4 KiB) overruns into that page from one parity only, and
// where the system maps a block is chance: a test that must catch it runs at both.
enum class page_parity { any, even, odd };

class guarded_pages {
 public:
  // pages readable and writable pages, between two pages that fault on any access. On systems
  // whose pages are 8 KiB or more every boundary is even, and odd is taken as any.
  explicit guarded_pages(std::size_t pages = 1, page_parity after_end = page_parity::any);
  ~guarded_pages();
  guarded_pages(const guarded_pages&) = delete;
  guarded_pages& operator=(const guarded_pages&) = delete;

  char* begin() const { return begin_; }
  char* end() const { return begin_ + size_; }

 private:
  void* mapping_ = nullptr;
  std::size_t mapping_size_ = 0;
  char* begin_ = nullptr;
  std::size_t size_ = 0;
};

// Where size readable bytes go in a mapping whose first page after the leading fault page is
// first and which has one spare page: there, or a page on when the parity asks for it.
inline char* first_readable(char* first, std::size_t size, std::size_t page,
                            page_parity after_end) {
  if (after_end == page_parity::any) return first;
  const bool odd = (reinterpret_cast<std::uintptr_t>(first + size) / 4096) % 2 != 0;
  return odd == (after_end == page_parity::odd) ? first : first + page;
}

}  // namespace vq::testing
