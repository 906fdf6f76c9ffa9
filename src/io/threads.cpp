#include "io/threads.h"

#include <omp.h>

#include <algorithm>
#include <atomic>

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

namespace {
std::atomic<long long> nodes_per_thread{kNodesPerThread};
}  // namespace

void set_nodes_per_thread(long long nodes) {
  nodes_per_thread = nodes > 0 ? nodes : kNodesPerThread;
}

int LOOPTHR(int limit, long long nodes) {
  const long long worth = std::max(nodes, 0LL) / nodes_per_thread.load(std::memory_order_relaxed);
  return int(std::max(1LL, std::min<long long>(limit, worth)));
}

}  // namespace torva
