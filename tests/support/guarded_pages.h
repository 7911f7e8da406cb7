// Memory with no access on either side, to prove a scan never reads past what it was given.
#pragma once

#include <cstddef>

namespace vq::testing {

class guarded_pages {
 public:
  // pages readable and writable pages, between two pages that fault on any access.
  explicit guarded_pages(std::size_t pages = 1);
  ~guarded_pages();
  guarded_pages(const guarded_pages&) = delete;
  guarded_pages& operator=(const guarded_pages&) = delete;

  char* begin() const { return begin_; }
  char* end() const { return begin_ + size_; }

 private:
  void* mapping_ = nullptr;
  char* begin_ = nullptr;
  std::size_t size_ = 0;
};

}  // namespace vq::testing
