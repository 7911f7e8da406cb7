#include "support/guarded_pages.h"

#include <sys/mman.h>
#include <unistd.h>

#include <cstdlib>

namespace vq::testing {
namespace {
const std::size_t page = static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
}

guarded_pages::guarded_pages(std::size_t pages) : size_(pages * page) {
  mapping_ = mmap(nullptr, size_ + 2 * page, PROT_NONE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (mapping_ == MAP_FAILED) std::abort();
  begin_ = static_cast<char*>(mapping_) + page;
  if (mprotect(begin_, size_, PROT_READ | PROT_WRITE) != 0) std::abort();
}

guarded_pages::~guarded_pages() { munmap(mapping_, size_ + 2 * page); }

}  // namespace vq::testing
