// Whole runs of the command-line host on one thread and on its default thread count, on a
// quiet machine and beside as many busy processes as the machine has processors (started
// and ended here), for
// - bent2d: an 8-row 2-D wharf bent in stiff clay (reduction factors off);
// - example3d: the bundled 3-D example group3x2_clay_sand_si.dat;
// - group400, group2500: the generated square groups in sand of 400 and 2500 rows;
// the run of the bundled single pile over the host's own start (`--help`); and the cap
// bench's parallel efficiency of a cap iteration at 400 and 2500 rows (quiet machine).
// Each figure is a ratio of two timings taken alternately in the same run, so a machine whose
// load drifts moves both sides alike. `ratio` is the default thread count's time over one
// thread's: the threads are worth their cost where it stays at or below 1.
//
// Options (beside Google Benchmark's own):
//   --host=PATH       the host to measure (default: `torva` beside this program)
//   --baseline=PATH   a second host measured in the same run, alternately with the first
//                     (`base_` figures), e.g. a build of an earlier version
//   --repeat=N        timings of each side per figure (default 3; the median is taken)
//   --busy=N          busy processes beside the runs marked busy (default: the processors)
//   --cap-bench=PATH  the cap bench whose parallel efficiency at 400 and 2500 rows is shown
//                     with the rest (default: bench_cap_bench beside this program)
//   --baseline-cap-bench=PATH  the same of the baseline (`base_efficiency`)
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "bench_model.h"

#ifndef TORVA_EXAMPLES_DIR
#define TORVA_EXAMPLES_DIR "examples"
#endif

namespace {

namespace fs = torva_bench::fs;

struct Options {
  std::string host;
  std::string baseline;
  std::string cap_bench;
  std::string baseline_cap_bench;
  int repeat = 3;
  int busy = 0;
};
Options opt;

// The variables by which a user chooses the runtime's thread count and how its threads
// wait: a default run has none of them.
constexpr const char* kThreadVars[] = {"OMP_NUM_THREADS", "OMP_WAIT_POLICY", "GOMP_SPINCOUNT",
                                       "KMP_BLOCKTIME", "KMP_LIBRARY"};

// Runs `host` on `input` in the input's folder, on one thread or on the default count;
// returns the wall time in seconds, or a negative time when the run did not end with 0.
double run_host(const std::string& host, const fs::path& input, bool one_thread,
                bool help = false) {
  const auto t0 = std::chrono::steady_clock::now();
  const pid_t pid = fork();
  if (pid == 0) {
    for (const char* v : kThreadVars) unsetenv(v);
    if (one_thread) setenv("OMP_NUM_THREADS", "1", 1);
    const int null = open("/dev/null", O_WRONLY);
    if (null >= 0) {
      dup2(null, 1);
      dup2(null, 2);
    }
    if (chdir(input.parent_path().c_str()) != 0) _exit(127);
    const std::string name = help ? "--help" : input.filename().string();
    execl(host.c_str(), host.c_str(), name.c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }
  if (pid < 0) return -1.0;
  int st = 0;
  while (waitpid(pid, &st, 0) < 0 && errno == EINTR) {
  }
  const double t = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
  return WIFEXITED(st) && WEXITSTATUS(st) == 0 ? t : -1.0;
}

// Busy processes, one per processor unless told otherwise: each spins on plain arithmetic
// until it is ended (and ends with this program when that dies first).
class Busy {
 public:
  explicit Busy(int n) {
    for (int i = 0; i < n; ++i) {
      const pid_t pid = fork();
      if (pid == 0) {
        prctl(PR_SET_PDEATHSIG, SIGKILL);
        volatile double x = 1.0;
        for (;;) x = x * 1.0000001 + 1e-9;
      }
      if (pid > 0) pids_.push_back(pid);
    }
    usleep(100000);  // the system spreads them over the processors
  }
  ~Busy() {
    for (pid_t p : pids_) kill(p, SIGKILL);
    for (pid_t p : pids_) waitpid(p, nullptr, 0);
  }
  Busy(const Busy&) = delete;
  Busy& operator=(const Busy&) = delete;

 private:
  std::vector<pid_t> pids_;
};

double median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v.empty() ? 0.0 : v[v.size() / 2];
}

// A folder of its own per host and model (one folder holds one run at a time).
struct RunFolder {
  fs::path dir;
  fs::path input;
  RunFolder(const std::string& tag, const std::string& name, const std::string& text,
            const fs::path& companion = {}) {
    dir = fs::temp_directory_path() / ("torva_threads_" + std::to_string(::getpid()) + "_" + tag);
    fs::create_directories(dir);
    input = dir / name;
    std::ofstream(input) << text;
    if (!companion.empty()) fs::copy_file(companion, dir / companion.filename(), fs::copy_options::overwrite_existing);
  }
  ~RunFolder() {
    std::error_code ec;
    fs::remove_all(dir, ec);
  }
  RunFolder(const RunFolder&) = delete;
  RunFolder& operator=(const RunFolder&) = delete;
};

std::string read_file(const fs::path& p) {
  std::ifstream f(p);
  return std::string(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
}

// The bundled 2-D bent of three rows, widened to eight rows at 3 ft with the outer two
// battered 1:4, and the loads scaled with the rows.
std::string bent_input() {
  const std::string src = read_file(fs::path(TORVA_EXAMPLES_DIR) / "bent_2d_stiff_clay_us.dat");
  std::string out;
  std::size_t pos = 0;
  auto next = [&](std::string& l) {
    if (pos >= src.size()) return false;
    const std::size_t e = src.find('\n', pos);
    l = src.substr(pos, e == std::string::npos ? std::string::npos : e - pos);
    pos = e == std::string::npos ? src.size() : e + 1;
    return true;
  };
  std::string l;
  while (next(l)) {
    if (l == "PILE GROUP ROWS") {
      out += l + "\n8\n";
      for (int k = 0; k < 8; ++k) {
        const double angle = k == 0 ? -14.036 : (k == 7 ? 14.036 : 0.0);
        char rec[160];
        std::snprintf(rec, sizeof rec, "1 2 1 0 0 0 %d\n0.0 8.0 1.0 1.0 1.0\n0.0 %.1f %.3f 0.0\n",
                      k + 1, -10.5 + 3.0 * k, angle);
        out += rec;
      }
      for (int i = 0; i < 10 && next(l);) ++i;  // the three rows given
      continue;
    }
    if (l == "ROWS WITH GENERATED LOAD-SETTLEMENT CURVES") {
      out += l + "\n8\n1\n2\n3\n4\n5\n6\n7\n8\n";
      for (int i = 0; i < 4 && next(l);) ++i;
      continue;
    }
    if (l.rfind("240000.0 36000.0", 0) == 0) l.replace(0, 16, "640000.0 96000.0");
    out += l + "\n";
  }
  return out;
}

struct Case {
  std::string name;
  std::string file;
  std::string text;
  fs::path companion;
};

std::vector<Case> cases() {
  const fs::path ex(TORVA_EXAMPLES_DIR);
  return {{"bent2d", "bent8.dat", bent_input(), {}},
          {"example3d", "group3x2_clay_sand_si.dat", read_file(ex / "group3x2_clay_sand_si.dat"), {}},
          {"group400", "case.dat", torva_bench::group_input(400), {}},
          {"group2500", "case.dat", torva_bench::group_input(2500), {}}};
}

// One row of the closing table.
struct Figure {
  std::string name;
  double ratio, base_ratio, goal;
  bool at_least = false;  // the goal is a floor, not a ceiling
  bool has_base = !opt.baseline.empty();
};
std::vector<Figure> figures;
bool any_failed = false;  // a run or a figure failed: the program ends with 1

// One figure per host: the medians of one thread's and the default count's times, taken
// alternately; the baseline's timings alternate with the host's.
void BM_Threads(benchmark::State& state, const std::string& name, const Case& model, bool busy,
                double goal) {
  const bool with_base = !opt.baseline.empty();
  RunFolder a("a_" + model.name, model.file, model.text, model.companion);
  RunFolder b("b_" + model.name, model.file, model.text, model.companion);
  std::map<std::string, std::vector<double>> t;
  bool failed = false;
  for (auto _ : state) {
    Busy load(busy ? opt.busy : 0);
    for (int r = 0; r < opt.repeat; ++r) {
      for (bool one : {true, false}) {
        const double x = run_host(opt.host, a.input, one);
        failed |= x < 0;
        t[one ? "one" : "def"].push_back(x);
        if (with_base) {
          const double y = run_host(opt.baseline, b.input, one);
          failed |= y < 0;
          t[one ? "base_one" : "base_def"].push_back(y);
        }
      }
    }
  }
  if (failed) {
    any_failed = true;
    state.SkipWithError("a run of the host did not end with status 0");
    return;
  }
  const double one = median(t["one"]), def = median(t["def"]);
  state.counters["one_s"] = one;
  state.counters["default_s"] = def;
  state.counters["ratio"] = def / one;
  Figure f{name, def / one, 0.0, goal};
  if (with_base) {
    const double bone = median(t["base_one"]), bdef = median(t["base_def"]);
    state.counters["base_one_s"] = bone;
    state.counters["base_default_s"] = bdef;
    state.counters["base_ratio"] = bdef / bone;
    f.base_ratio = bdef / bone;
  }
  figures.push_back(f);
}

// The bundled single pile's run over the host's start and end with nothing to do.
void BM_SinglePileOverStart(benchmark::State& state) {
  const fs::path ex(TORVA_EXAMPLES_DIR);
  const std::string text = read_file(ex / "single_pile_elastic_us.dat");
  RunFolder a("a_single", "single.dat", text), b("b_single", "single.dat", text);
  std::map<std::string, std::vector<double>> t;
  bool failed = false;
  for (auto _ : state) {
    for (int r = 0; r < std::max(opt.repeat, 5); ++r) {
      for (int side = 0; side < (opt.baseline.empty() ? 1 : 2); ++side) {
        const std::string& host = side == 0 ? opt.host : opt.baseline;
        const fs::path& in = side == 0 ? a.input : b.input;
        const std::string k = side == 0 ? "" : "base_";
        const double s = run_host(host, in, false, true), x = run_host(host, in, false);
        failed |= s < 0 || x < 0;
        t[k + "start"].push_back(s);
        t[k + "run"].push_back(x);
      }
    }
  }
  if (failed) {
    any_failed = true;
    state.SkipWithError("a run of the host did not end with status 0");
    return;
  }
  Figure f{"single_pile_over_start", median(t["run"]) / median(t["start"]), 0.0, 3.0};
  state.counters["start_s"] = median(t["start"]);
  state.counters["run_s"] = median(t["run"]);
  state.counters["over_start"] = f.ratio;
  if (!opt.baseline.empty()) {
    f.base_ratio = median(t["base_run"]) / median(t["base_start"]);
    state.counters["base_over_start"] = f.base_ratio;
  }
  figures.push_back(f);
}

// The parallel efficiency of a cap iteration at `rows` rows on every processor, as the cap
// bench `path` reports it (its BM_ParallelEfficiency, run on a quiet machine); negative when
// it gives none.
double cap_efficiency(const std::string& path, int rows) {
  const std::string cmd = "'" + path + "' --benchmark_filter='^BM_ParallelEfficiency/" +
                          std::to_string(rows) + "/' --benchmark_format=json 2>/dev/null";
  FILE* p = popen(cmd.c_str(), "r");
  if (p == nullptr) return -1.0;
  std::string out;
  char buf[4096];
  for (std::size_t n; (n = std::fread(buf, 1, sizeof buf, p)) > 0;) out.append(buf, n);
  pclose(p);
  const std::size_t at = out.find("\"efficiency\": ");
  return at == std::string::npos ? -1.0 : std::strtod(out.c_str() + at + 14, nullptr);
}

void BM_CapEfficiency(benchmark::State& state, int rows, double goal) {
  double e = -1.0, b = 0.0;
  for (auto _ : state) {
    e = cap_efficiency(opt.cap_bench, rows);
    if (!opt.baseline_cap_bench.empty()) b = cap_efficiency(opt.baseline_cap_bench, rows);
  }
  if (e < 0.0 || b < 0.0) {
    any_failed = true;
    state.SkipWithError("the cap bench gave no efficiency");
    return;
  }
  state.counters["efficiency"] = e;
  if (!opt.baseline_cap_bench.empty()) state.counters["base_efficiency"] = b;
  figures.push_back(
      {"cap_efficiency/" + std::to_string(rows), e, b, goal, true, !opt.baseline_cap_bench.empty()});
}

fs::path beside_self(const char* argv0) {
  std::error_code ec;
  fs::path self = fs::read_symlink("/proc/self/exe", ec);
  if (ec) self = fs::absolute(argv0);
  return self.parent_path();
}

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  opt.host = (beside_self(argv[0]) / "torva").string();
  opt.cap_bench = (beside_self(argv[0]) / "bench_cap_bench").string();
  opt.busy = torva::platform::processors();
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    auto value = [&](const char* key) -> const char* {
      const std::size_t n = std::strlen(key);
      return a.compare(0, n, key) == 0 ? argv[i] + n : nullptr;
    };
    if (const char* v = value("--host=")) {
      opt.host = v;
    } else if (const char* v2 = value("--baseline=")) {
      opt.baseline = v2;
    } else if (const char* v5 = value("--cap-bench=")) {
      opt.cap_bench = v5;
    } else if (const char* v6 = value("--baseline-cap-bench=")) {
      opt.baseline_cap_bench = v6;
    } else if (const char* v3 = value("--repeat=")) {
      opt.repeat = std::max(1, std::atoi(v3));
    } else if (const char* v4 = value("--busy=")) {
      opt.busy = std::max(0, std::atoi(v4));
    } else {
      std::fprintf(stderr, "threads_bench: unknown option %s\n", argv[i]);
      return 2;
    }
  }
  for (const std::string& h : {opt.host, opt.baseline})
    if (!h.empty() && access(h.c_str(), X_OK) != 0) {
      std::fprintf(stderr, "threads_bench: no host at %s\n", h.c_str());
      return 2;
    }
  static const std::vector<Case> all = cases();
  for (const Case& m : all) {
    const bool small = m.name == "bent2d" || m.name == "example3d";
    for (bool busy : {false, true}) {
      // Goals: under contention never more than 1.2; quiet, the small models never slower
      // than one thread (the groups' quiet goals are the cap bench's efficiencies).
      const double goal = busy ? 1.2 : (small ? 1.0 : 0.0);
      const std::string name = m.name + (busy ? "/busy" : "/quiet");
      benchmark::RegisterBenchmark(name.c_str(), BM_Threads, name, m, busy, goal)
          ->Iterations(1)
          ->Unit(benchmark::kMillisecond)
          ->UseRealTime();
    }
  }
  benchmark::RegisterBenchmark("single_pile_over_start", BM_SinglePileOverStart)
      ->Iterations(1)
      ->Unit(benchmark::kMillisecond)
      ->UseRealTime();
  if (access(opt.cap_bench.c_str(), X_OK) == 0)
    for (const auto& [rows, goal] : {std::pair{400, 0.85}, std::pair{2500, 0.90}}) {
      const std::string name = "cap_efficiency/" + std::to_string(rows);
      benchmark::RegisterBenchmark(name.c_str(), BM_CapEfficiency, rows, goal)
          ->Iterations(1)
          ->Unit(benchmark::kMillisecond)
          ->UseRealTime();
    }
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();

  std::printf("\n%-26s %10s %10s %8s\n", "figure", "ratio", "baseline", "goal");
  for (const Figure& f : figures) {
    char base[32] = "-", goal[32] = "-";
    if (f.has_base) std::snprintf(base, sizeof base, "%.2f", f.base_ratio);
    if (f.goal > 0) std::snprintf(goal, sizeof goal, "%s %.2f", f.at_least ? ">=" : "<=", f.goal);
    std::printf("%-26s %10.2f %10s %8s\n", f.name.c_str(), f.ratio, base, goal);
  }
  return any_failed ? 1 : 0;
}
