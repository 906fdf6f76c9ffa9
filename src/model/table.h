// Fixed-size, 1-based, column-major tables of the process-wide model.
//
// The engine keeps the whole model in fixed tables with compile-time capacity and a
// run-time count: a table never grows, and each capacity is a limit that the input check
// enforces. Indices are 1-based and the first index runs fastest, so every loop can be read
// against the engineering formulation line by line. Access is bounds-checked when TORVA_CHECKS is on (debug and
// sanitizer builds); the check that matters for users is the input check, which refuses
// counts beyond a table's capacity before anything is stored.
#pragma once

#include <array>
#include <cstddef>
#include <span>
#include <string_view>

namespace torva {

[[noreturn]] void assert_failed(const char* cond, const char* msg, const char* file, int line);

}  // namespace torva

#if defined(TORVA_CHECKS) && TORVA_CHECKS
#define TORVA_ASSERT(c, msg)                                                  \
  do {                                                                        \
    if (!(c)) ::torva::assert_failed(#c, msg, __FILE__, __LINE__);            \
  } while (0)
#else
#define TORVA_ASSERT(c, msg) \
  do {                       \
    if (false) {             \
      if (!(c)) {            \
      }                      \
    }                        \
  } while (0)
#endif

namespace torva {

// T(N) with indices 1..N.
template <class T, int N>
class Arr1 {
 public:
  T& operator()(int i) {
    TORVA_ASSERT(1 <= i && i <= N, "index out of table bounds");
    return v_[std::size_t(i - 1)];
  }
  const T& operator()(int i) const {
    TORVA_ASSERT(1 <= i && i <= N, "index out of table bounds");
    return v_[std::size_t(i - 1)];
  }
  T* data() { return v_.data(); }
  const T* data() const { return v_.data(); }
  std::span<T> span() { return {v_.data(), std::size_t(N)}; }
  std::span<const T> span() const { return {v_.data(), std::size_t(N)}; }
  void fill(const T& x) { v_.fill(x); }
  static constexpr int size = N;

 private:
  std::array<T, std::size_t(N)> v_;
};

// T(N1, N2), column-major: the first index runs fastest.
template <class T, int N1, int N2>
class Arr2 {
 public:
  T& operator()(int i, int j) {
    TORVA_ASSERT(1 <= i && i <= N1 && 1 <= j && j <= N2, "index out of table bounds");
    return v_[std::size_t(i - 1) + std::size_t(N1) * std::size_t(j - 1)];
  }
  const T& operator()(int i, int j) const { return const_cast<Arr2&>(*this)(i, j); }
  // Column j as a 0-based span, for kernels.
  std::span<T> column(int j) {
    TORVA_ASSERT(1 <= j && j <= N2, "column out of table bounds");
    return {v_.data() + std::size_t(N1) * std::size_t(j - 1), std::size_t(N1)};
  }
  T* data() { return v_.data(); }
  const T* data() const { return v_.data(); }
  void fill(const T& x) { v_.fill(x); }
  static constexpr int rows = N1, cols = N2;
  static constexpr int step2 = N1;  // distance in memory from (i, j) to (i, j + 1)

 private:
  std::array<T, std::size_t(N1) * std::size_t(N2)> v_;
};

// T(N1, N2, N3), column-major.
template <class T, int N1, int N2, int N3>
class Arr3 {
 public:
  T& operator()(int i, int j, int k) {
    TORVA_ASSERT(1 <= i && i <= N1 && 1 <= j && j <= N2 && 1 <= k && k <= N3,
                 "index out of table bounds");
    return v_[std::size_t(i - 1) +
              std::size_t(N1) * (std::size_t(j - 1) + std::size_t(N2) * std::size_t(k - 1))];
  }
  const T& operator()(int i, int j, int k) const { return const_cast<Arr3&>(*this)(i, j, k); }
  T* data() { return v_.data(); }
  const T* data() const { return v_.data(); }
  void fill(const T& x) { v_.fill(x); }

 private:
  std::array<T, std::size_t(N1) * std::size_t(N2) * std::size_t(N3)> v_;
};

// T(N1, N2, N3, N4), column-major.
template <class T, int N1, int N2, int N3, int N4>
class Arr4 {
 public:
  T& operator()(int i, int j, int k, int l) {
    TORVA_ASSERT(1 <= i && i <= N1 && 1 <= j && j <= N2 && 1 <= k && k <= N3 && 1 <= l &&
                     l <= N4,
                 "index out of table bounds");
    return v_[std::size_t(i - 1) +
              std::size_t(N1) *
                  (std::size_t(j - 1) +
                   std::size_t(N2) * (std::size_t(k - 1) + std::size_t(N3) * std::size_t(l - 1)))];
  }
  const T& operator()(int i, int j, int k, int l) const {
    return const_cast<Arr4&>(*this)(i, j, k, l);
  }
  T* data() { return v_.data(); }

 private:
  std::array<T, std::size_t(N1) * std::size_t(N2) * std::size_t(N3) * std::size_t(N4)> v_;
};

// T(N1, N2) and T(N1, N2, N3) indexed like Arr2 and Arr3 but stored with the first index
// running slowest: for per-row tables (the first index the pile row) the entries of one row
// lie together, so a model of few rows touches few pages and a row's loop runs over
// contiguous memory.
template <class T, int N1, int N2>
class RowArr2 {
 public:
  T& operator()(int i, int j) { return v_(j, i); }
  const T& operator()(int i, int j) const { return v_(j, i); }
  static constexpr int rows = N1, cols = N2;
  static constexpr int step2 = 1;  // distance in memory from (i, j) to (i, j + 1)

 private:
  Arr2<T, N2, N1> v_;
};

template <class T, int N1, int N2, int N3>
class RowArr3 {
 public:
  T& operator()(int i, int j, int k) { return v_(j, k, i); }
  const T& operator()(int i, int j, int k) const { return v_(j, k, i); }

 private:
  Arr3<T, N2, N3, N1> v_;
};

// A fixed-length, blank-padded character field (CHARACTER*N).
template <int N>
class Chars {
 public:
  Chars() { v_.fill(' '); }
  Chars& operator=(std::string_view s) {
    v_.fill(' ');
    for (std::size_t i = 0; i < s.size() && i < std::size_t(N); ++i) v_[i] = s[i];
    return *this;
  }
  // The whole field, trailing blanks included.
  std::string_view view() const { return {v_.data(), std::size_t(N)}; }
  // The field without its trailing blanks.
  std::string_view trimmed() const {
    std::size_t n = N;
    while (n > 0 && (v_[n - 1] == ' ' || v_[n - 1] == '\0')) --n;
    return {v_.data(), n};
  }
  char& operator[](int i1) {  // 1-based character position
    TORVA_ASSERT(1 <= i1 && i1 <= N, "character position out of field");
    return v_[std::size_t(i1 - 1)];
  }
  static constexpr int length = N;

 private:
  std::array<char, std::size_t(N)> v_;
};

}  // namespace torva
