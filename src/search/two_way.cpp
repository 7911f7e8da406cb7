#include "search/two_way.h"

#include "blocks/scan.h"

namespace vq {

namespace {

// Read access to a text, front to back.
struct forward_view {
  const char* p;
  std::size_t n;

  unsigned char operator[](std::size_t i) const noexcept {
    return static_cast<unsigned char>(p[i]);
  }

  // Smallest i in [from, to) with (*this)[i] == c, or to.
  std::size_t next(std::size_t from, std::size_t to, unsigned char c) const noexcept {
    return static_cast<std::size_t>(find_byte(p + from, p + to, static_cast<char>(c)) - p);
  }
};

// Read access to a text, back to front: index i is byte n - 1 - i.
struct backward_view {
  const char* p;
  std::size_t n;

  unsigned char operator[](std::size_t i) const noexcept {
    return static_cast<unsigned char>(p[n - 1 - i]);
  }

  std::size_t next(std::size_t from, std::size_t to, unsigned char c) const noexcept {
    const char* stop = p + (n - from);
    const char* hit = find_byte_last(p + (n - to), stop, static_cast<char>(c));
    return hit == stop ? to : n - 1 - static_cast<std::size_t>(hit - p);
  }
};

// The comparisons of a needle view x with a hay view y shifted by j, run over whole stretches
// at once. run_up: the smallest k in [i, x.n) with x[k] != y[k + j], or x.n. run_down: the
// smallest k in [lo, i] with x[k, i) equal to y[k + j, i + j).

std::size_t run_up(forward_view x, forward_view y, std::size_t i, std::size_t j) noexcept {
  return i + common_prefix(x.p + i, y.p + i + j, x.n - i);
}

std::size_t run_down(forward_view x, forward_view y, std::size_t lo, std::size_t i,
                     std::size_t j) noexcept {
  return i - common_suffix(x.p + lo, y.p + lo + j, i - lo);
}

// Read back to front, a stretch going up in the views goes down in memory, and the other way.
std::size_t run_up(backward_view x, backward_view y, std::size_t i, std::size_t j) noexcept {
  return i + common_suffix(x.p, y.p + (y.n - x.n - j), x.n - i);
}

std::size_t run_down(backward_view x, backward_view y, std::size_t lo, std::size_t i,
                     std::size_t j) noexcept {
  return i - common_prefix(x.p + (x.n - i), y.p + (y.n - i - j), i - lo);
}

// Most comparisons stop at their first byte: that one is made here, without a call. These and
// seek sit in the search's inner loop: forced inline, or the back-to-front copy stays a call.
template <class View>
[[gnu::always_inline]] inline std::size_t quick_run_up(View x, View y, std::size_t i,
                                                       std::size_t j) noexcept {
  if (i < x.n && x[i] != y[i + j]) return i;
  return run_up(x, y, i, j);
}

template <class View>
[[gnu::always_inline]] inline std::size_t quick_run_down(View x, View y, std::size_t lo,
                                                         std::size_t i, std::size_t j) noexcept {
  if (i > lo && x[i - 1] != y[i - 1 + j]) return i;
  return run_down(x, y, lo, i, j);
}

// Smallest k in [from, to) with y[k] == c, or to. A few single steps come first: where the
// byte is common, a scanner call costs more than it saves.
template <class View>
[[gnu::always_inline]] inline std::size_t seek(View y, std::size_t from, std::size_t to,
                                               unsigned char c) noexcept {
  const std::size_t stop = to - from > 8 ? from + 8 : to;
  for (; from < stop; ++from) {
    if (y[from] == c) return from;
  }
  return y.next(from, to, c);
}

// Start of the lexicographically greatest suffix of x[0, n) (under the inverted byte order
// when inverted is set), and its smallest period. n >= 1.
template <class View>
std::size_t maximal_suffix(View x, std::size_t n, bool inverted, std::size_t& period) noexcept {
  std::size_t start = 0;  // best suffix so far: x[start, n)
  std::size_t j = 0;      // x[j + k] is compared with x[start + k - 1]
  std::size_t k = 1;
  std::size_t p = 1;  // period of the best suffix's prefix read so far
  while (j + k < n) {
    const unsigned char a = x[j + k];
    const unsigned char b = x[start + k - 1];
    if (a == b) {
      if (k != p) {
        ++k;
      } else {
        j += p;
        k = 1;
      }
    } else if ((a < b) != inverted) {
      j += k;
      k = 1;
      p = j + 1 - start;
    } else {
      start = j + 1;
      j = start;
      k = p = 1;
    }
  }
  period = p;
  return start;
}

// Leftmost start of x[0, n) in y[0, h), both read through views. 1 <= n <= h.
template <class View>
std::size_t two_way(View y, std::size_t h, View x, std::size_t n) noexcept {
  std::size_t p1 = 1;
  std::size_t p2 = 1;
  const std::size_t s1 = maximal_suffix(x, n, false, p1);
  const std::size_t s2 = maximal_suffix(x, n, true, p2);
  // Critical factorization x = x[0, s) x[s, n); the right part is compared first.
  const std::size_t s = s1 > s2 ? s1 : s2;
  std::size_t per = s1 > s2 ? p1 : p2;
  bool periodic = true;
  for (std::size_t i = 0; i < s && periodic; ++i) periodic = x[i] == x[i + per];

  const std::size_t last = h - n;
  const unsigned char pivot = x[s];
  std::size_t j = 0;
  // Wherever the right part would be compared from s, a mismatch at s shifts by exactly one,
  // so the scanner jumps straight to the next place where that byte fits.
  if (periodic) {
    std::size_t mem = 0;  // x[0, mem) is known to match at j
    while (j <= last) {
      std::size_t i = mem > s ? mem : s;
      if (mem == 0) {
        j = seek(y, j + s, last + s + 1, pivot) - s;
        if (j > last) return not_found;
        i = s + 1;
      }
      i = quick_run_up(x, y, i, j);
      if (i < n) {
        j += i - s + 1;
        mem = 0;
        continue;
      }
      if (mem >= s || quick_run_down(x, y, mem, s, j) == mem) return j;
      j += per;
      mem = n - per;
    }
    return not_found;
  }
  per = (s > n - s ? s : n - s) + 1;
  while (j <= last) {
    j = seek(y, j + s, last + s + 1, pivot) - s;
    if (j > last) return not_found;
    const std::size_t i = quick_run_up(x, y, s + 1, j);
    if (i < n) {
      j += i - s + 1;
      continue;
    }
    if (quick_run_down(x, y, 0, s, j) == 0) return j;
    j += per;
  }
  return not_found;
}

}  // namespace

std::size_t two_way_first(const char* hay, std::size_t h, const char* needle,
                          std::size_t n) noexcept {
  return two_way(forward_view{hay, h}, h, forward_view{needle, n}, n);
}

std::size_t two_way_last(const char* hay, std::size_t h, const char* needle,
                         std::size_t n) noexcept {
  const std::size_t x = two_way(backward_view{hay, h}, h, backward_view{needle, n}, n);
  // A leftmost match of the reversed needle in the reversed hay, read back.
  return x == not_found ? not_found : h - n - x;
}

}  // namespace vq
