#include "support/guarded_pages.h"

#include <windows.h>

#include <cstdlib>

namespace vq::testing {
namespace {
constexpr std::size_t page = 4096;
}

guarded_pages::guarded_pages(std::size_t pages) : size_(pages * page) {
  mapping_ = VirtualAlloc(nullptr, size_ + 2 * page, MEM_RESERVE, PAGE_NOACCESS);
  if (!mapping_) std::abort();
  begin_ = static_cast<char*>(mapping_) + page;
  if (!VirtualAlloc(begin_, size_, MEM_COMMIT, PAGE_READWRITE)) std::abort();
}

guarded_pages::~guarded_pages() { VirtualFree(mapping_, 0, MEM_RELEASE); }

}  // namespace vq::testing
