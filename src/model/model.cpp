#include "model/model.h"

#include <algorithm>
#include <cstdlib>
#include <new>
#include <stdexcept>
#include <string>

namespace torva {

void* Model::operator new(std::size_t n) {
  void* p = std::calloc(1, n);
  if (!p) throw std::bad_alloc();
  return p;
}

void Model::operator delete(void* p) noexcept { std::free(p); }

// Default-initialised on purpose: the table members keep the zeros of the allocation.
std::unique_ptr<Model> new_model() { return std::unique_ptr<Model>(new Model); }

long long ROWNODES(const Model& m) {
  long long n = 0;
  for (int g = 1; g <= m.NROW; ++g) {
    const int t = m.PTYPE(g);
    n += 4 + (t >= 1 && t <= MAXPTYPE ? std::max(m.NSEG(t), 0) : 0);
  }
  return n;
}

namespace {
struct InternalError : std::logic_error {
  using std::logic_error::logic_error;
};
}  // namespace

void assert_failed(const char* cond, const char* msg, const char* file, int line) {
  throw InternalError(std::string(file) + ":" + std::to_string(line) + ": " + msg + " (" + cond +
                      ")");
}

}  // namespace torva
