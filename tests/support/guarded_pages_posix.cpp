#include "support/guarded_pages.h"

#include <sys/mman.h>
#include <unistd.h>

#include <cstdlib>

namespace vq::testing {
namespace {
const std::size_t page = static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
}

// One spare page, so the readable ones can move by a page to give the wanted parity.
guarded_pages::guarded_pages(std::size_t pages, page_parity after_end)
    : mapping_size_((pages + 3) * page), size_(pages * page) {
  mapping_ = mmap(nullptr, mapping_size_, PROT_NONE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (mapping_ == MAP_FAILED) std::abort();
  begin_ = first_readable(static_cast<char*>(mapping_) + page, size_, page, after_end);
  if (mprotect(begin_, size_, PROT_READ | PROT_WRITE) != 0) std::abort();
}

guarded_pages::~guarded_pages() { munmap(mapping_, mapping_size_); }

}  // namespace vq::testing
