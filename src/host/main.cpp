// torva: command-line host of the engine. It prepares "Names.dat", runs ITORVA(3) in the
// working directory, shows the latest progress line while the engine runs, turns Ctrl-C
// into a stop request, and exits with the engine's status.
#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "torva/itorva.h"

namespace fs = std::filesystem;

namespace {

// Extensions of "Names.dat" lines 6 to 27, in line order.
const char* const kExt[22] = {".echo", ".out", ".sum", ".plt", ".log", ".cas", ".pld", ".prg",
                              ".gcd",  ".es1", ".es2", ".pls", ".stp", ".pst", ".kmx", ".wrn",
                              ".trc",  ".lsd", ".cvd", ".stt", ".sus", ".mph"};
const char* const kRole[22] = {"echo report",         "results report",
                               "summary report",      "plot output",
                               "run log",             "outcome list",
                               "plot data",           "progress file",
                               "generated-curve details", "estimation records 1",
                               "estimation records 2", "per-pile scratch",
                               "stop-request file",   "pile-state file",
                               "stiffness-matrix log", "warning scratch",
                               "solver trace",        "load-settlement details",
                               "curve data",          "stiffness-model trace",
                               "summary scratch",     "moment-curvature listing"};

std::atomic<bool> g_interrupted{false};
void on_sigint(int) { g_interrupted = true; }

void usage(std::ostream& o) {
  o << "usage: torva [--mphi FILE] INPUT.dat\n"
       "       torva FOLDER\n"
       "\n"
       "Analyses the pile foundation of an input data file.\n"
       "\n"
       "  INPUT.dat   an input data file. torva writes \"Names.dat\" beside it, naming every\n"
       "              output after the input's base name (INPUT.out results, INPUT.echo input\n"
       "              echo, INPUT.sum summary, INPUT.log run log, ...), and runs there.\n"
       "  FOLDER      a folder that already holds \"Names.dat\"; torva runs there as it is.\n"
       "  --mphi FILE the moment-curvature listing to name on line 27 of \"Names.dat\"\n"
       "              (default INPUT.mph, created empty when missing).\n"
       "\n"
       "While the engine runs the latest progress line is shown. Ctrl-C asks the engine to\n"
       "stop: it ends the current step cleanly and returns status 4.\n"
       "Exit status: the engine's status code (0 analysis completed, 4 stopped on request,\n"
       "any other value an error that the run log explains).\n";
}

// Reads line `n` (1-based) of a text file, without its line end.
std::string nth_line(const fs::path& p, int n) {
  std::ifstream in(p);
  std::string line;
  for (int i = 1; i <= n && std::getline(in, line); ++i)
    if (i == n) {
      if (!line.empty() && line.back() == '\r') line.pop_back();
      return line;
    }
  return {};
}

std::string trim(std::string s) {
  while (!s.empty() && (s.back() == ' ' || s.back() == '\r')) s.pop_back();
  size_t i = 0;
  while (i < s.size() && s[i] == ' ') ++i;
  return s.substr(i);
}

const char* message_of(int st) {
  switch (st) {
    case 0: return "analysis completed";
    case 1: return "wrong entry argument";
    case 4: return "analysis stopped by user";
    case 40: return "the file-name list Names.dat is missing or short";
    case 41: return "a file of the run cannot be opened (see the run log when it exists)";
    case 42: return "a file of the run cannot be written";
    case 43: return "the input data file cannot be read (see the run log)";
    case 44: return "invalid input data (see the run log)";
    default: return "error in analysis (see the run log)";
  }
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  std::string mphi;
  std::string target;
  for (size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--help" || args[i] == "-h") {
      usage(std::cout);
      return 0;
    }
    if (args[i] == "--mphi" && i + 1 < args.size()) {
      mphi = args[++i];
    } else if (target.empty()) {
      target = args[i];
    } else {
      usage(std::cerr);
      return 2;
    }
  }
  if (target.empty()) {
    usage(std::cerr);
    return 2;
  }
  std::error_code ec;
  fs::path folder;
  if (fs::is_directory(target, ec)) {
    folder = fs::absolute(target);
    if (!fs::exists(folder / "Names.dat")) {
      std::cerr << "torva: " << (folder / "Names.dat").string() << " does not exist\n";
      return 2;
    }
  } else if (fs::is_regular_file(target, ec)) {
    const fs::path input = fs::absolute(target);
    folder = input.parent_path();
    const std::string base = input.stem().string();
    if (mphi.empty()) {
      mphi = base + ".mph";
      if (!fs::exists(folder / mphi)) std::ofstream(folder / mphi);
    } else if (!fs::exists(mphi)) {
      std::cerr << "torva: moment-curvature listing " << mphi << " does not exist\n";
      return 2;
    } else {
      mphi = fs::absolute(mphi).string();
    }
    std::ostringstream names;
    names << "TORVA 1.0   \n\n\n\n" << input.filename().string() << "\n";
    for (int r = 0; r < 21; ++r) names << base << kExt[r] << "\n";
    names << mphi << "\n";
    std::ofstream(folder / "Names.dat", std::ios::binary) << names.str();
  } else {
    std::cerr << "torva: " << target << " is neither an input data file nor a folder\n";
    return 2;
  }
  fs::current_path(folder, ec);
  if (ec) {
    std::cerr << "torva: cannot enter " << folder.string() << "\n";
    return 2;
  }
  const std::string progress = trim(nth_line("Names.dat", 13));
  const std::string stopfile = trim(nth_line("Names.dat", 18));
  // A stop request left from an earlier run must not stop this one.
  if (!stopfile.empty()) std::ofstream(stopfile, std::ios::trunc) << "0\n";

  std::signal(SIGINT, on_sigint);
  std::atomic<bool> done{false};
  int status = 0;
  std::thread engine([&] {
    status = ITORVA(3);
    done = true;
  });
  std::string shown;
  bool stop_sent = false;
  while (!done) {
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    if (g_interrupted && !stop_sent && !stopfile.empty()) {
      std::ofstream(stopfile, std::ios::trunc) << "1\n";
      stop_sent = true;
      std::cerr << "\ntorva: stop requested, ending the current step\n";
    }
    if (!progress.empty()) {
      std::string line = trim(nth_line(progress, 1));
      if (!line.empty() && line != shown) {
        shown = line;
        std::cerr << "\r" << line << "\033[K" << std::flush;
      }
    }
  }
  engine.join();
  if (!shown.empty()) std::cerr << "\n";
  std::cerr << "torva: status " << status << ": " << message_of(status) << "\n";
  if (status != 40) {
    const std::string base = trim(nth_line("Names.dat", 7));
    if (!base.empty() && (status == 0 || status == 4)) {
      std::cerr << "torva: results in " << (folder / base).string() << ", run log in "
                << (folder / trim(nth_line("Names.dat", 10))).string() << "\n";
    }
  }
  (void)kRole;
  return status;
}
