#include "support/guarded_pages.h"

#include <windows.h>

#include <cstdlib>

namespace vq::testing {
namespace {
constexpr std::size_t page = 4096;
}

// One spare page, so the readable ones can move by a page to give the wanted parity.
guarded_pages::guarded_pages(std::size_t pages, page_parity after_end)
    : mapping_size_((pages + 3) * page), size_(pages * page) {
  mapping_ = VirtualAlloc(nullptr, mapping_size_, MEM_RESERVE, PAGE_NOACCESS);
  if (!mapping_) std::abort();
  begin_ = first_readable(static_cast<char*>(mapping_) + page, size_, page, after_end);
  if (!VirtualAlloc(begin_, size_, MEM_COMMIT, PAGE_READWRITE)) std::abort();
}

guarded_pages::~guarded_pages() { VirtualFree(mapping_, 0, MEM_RELEASE); }

}  // namespace vq::testing
