#include "io/threads.h"

#include <omp.h>

#include <algorithm>

#include "io/platform.h"

namespace torva {

int SETNTHR(int request, int& use_max, int& run_max, int rows, int cap_switch) {
  const int p = platform::processors();
  int n;
  if (request == 0)
    n = p > 3 ? p - 2 : (p >= 2 ? p - 1 : p);
  else
    n = std::min(request, p);
  n = std::min(n, rows);
  if (cap_switch == 1) n = std::min(n, 2);
  n = std::max(n, 1);  // never 0 or negative threads
  use_max = std::max(use_max, n);
  run_max = std::max(run_max, n);
  omp_set_num_threads(n);
  return n;
}

}  // namespace torva
