#include "io/platform.h"

#include <omp.h>

#include <chrono>
#include <ctime>
#include <mutex>

namespace torva::platform {

namespace {
std::function<double()> g_clock;
std::function<DateTime()> g_date;
std::function<int()> g_procs;
// The runtime's maximum thread count, read once per process before any run sets a
// thread count (a later omp_get_max_threads would report the last count set).
const int g_max_threads = omp_get_max_threads();
}  // namespace

double wall_seconds() {
  if (g_clock) return g_clock();
  using clock = std::chrono::steady_clock;
  return std::chrono::duration<double>(clock::now().time_since_epoch()).count();
}

DateTime now() {
  if (g_date) return g_date();
  std::time_t t = std::time(nullptr);
  std::tm tm{};
  localtime_r(&t, &tm);
  return {tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec};
}

int processors() {
  if (g_procs) return g_procs();
  // The limit an OpenMP user sets for the process (OMP_NUM_THREADS), which without it is
  // the number of processors the process may use.
  return g_max_threads;
}

int max_threads() { return g_max_threads; }

void set_clock(std::function<double()> f) { g_clock = std::move(f); }
void set_date(std::function<DateTime()> f) { g_date = std::move(f); }
void set_processors(std::function<int()> f) { g_procs = std::move(f); }

PathParts split_path(const std::string& path) {
  PathParts p;
  const auto slash = path.find_last_of('/');
  std::string file = path;
  if (slash != std::string::npos) {
    p.dir = path.substr(0, slash + 1);
    file = path.substr(slash + 1);
  }
  const auto dot = file.find_last_of('.');
  if (dot != std::string::npos && dot != 0) {
    p.name = file.substr(0, dot);
    p.ext = file.substr(dot);
  } else {
    p.name = file;
  }
  return p;
}

}  // namespace torva::platform
