// torva: command-line host of the engine. It checks that the run can start without
// harming earlier results, holds the folder for the run, prepares "Names.dat", runs
// ITORVA(3) in the folder, shows the latest progress line while the engine runs, turns
// Ctrl-C into a stop request, and ends with the engine's status and the analyses that did
// not complete in full.
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <mutex>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "host/waiting.h"
#include "io/textfile.h"
#include "model/run_tables.h"
#include "torva/itorva.h"

namespace fs = std::filesystem;

namespace {

// Exit codes of the host's own, beside the engine's status codes (which stay below 60).
constexpr int kExitUsage = 2;         // the command line is wrong
constexpr int kExitIncomplete = 60;   // status 0, but an analysis did not complete in full
constexpr int kExitCannotStart = 61;  // the run was refused before any file was written
constexpr int kExitBusy = 62;         // another run holds the folder

constexpr std::size_t kNameMax = 256;  // characters of a file name that the engine reads

// "Names.dat": line 5 names the input, lines 6 to 27 the files of the run (index 0 is
// line 5). Lines 6 to 26 are written by the run; line 27, the moment-curvature listing,
// is only read.
constexpr int kNames = 23;
constexpr int kMphiIndex = 22;
// Extensions of lines 6 to 27, in line order, and the role of each line.
const char* const kExt[22] = {".echo", ".out", ".sum", ".plt", ".log", ".cas", ".pld", ".prg",
                              ".gcd",  ".es1", ".es2", ".pls", ".stp", ".pst", ".kmx", ".wrn",
                              ".trc",  ".lsd", ".cvd", ".stt", ".sus", ".mph"};
// The role of each line, as the engine names it.
const char* const* const kRole = torva::kRoleName;
static_assert(torva::NROLES == kNames);
constexpr int kRunLog = 5, kProgress = 8, kStopReq = 13;

std::atomic<bool> g_interrupted{false};
// Ctrl-C, and the end that `timeout`, batch schedulers and a closed terminal ask for
// (SIGTERM, SIGHUP): a stop request, so that the run ends cleanly with status 4.
void on_stop_signal(int) { g_interrupted = true; }

// Files that the plate program of the cap writes under fixed names in the folder.
const char* const kPlateFiles[] = {"tslab.dat", "tslab.ftr", "fort2", "fort3", "fort4"};

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
       "              (default INPUT.mph, created empty when missing); at most 256\n"
       "              characters as an absolute path.\n"
       "\n"
       "Before anything is written torva checks that the input can be read, that no file\n"
       "of the run has the input's name, and that every file of the run can be written: a\n"
       "run that cannot start leaves the earlier reports as they were. One folder holds one\n"
       "run at a time: a second run started in a folder that is in use is refused.\n"
       "\n"
       "While the engine runs the latest progress line is shown. Ctrl-C (and SIGTERM or\n"
       "SIGHUP) asks the engine to stop: it ends the current step cleanly and returns\n"
       "status 4. The thread count is taken from OMP_NUM_THREADS when it is set (otherwise\n"
       "every processor), and each load case may ask for fewer.\n"
       "\n"
       "Exit status:\n"
       "   0  every analysis completed\n"
       "   4  stopped on request\n"
       "  60  the run ended normally, but an analysis did not complete in full (no\n"
       "      convergence, or results below the full load): torva lists each one, as the\n"
       "      end of the run log does\n"
       "  61  the run cannot start (input missing, unreadable or named like a file of the\n"
       "      run, a file that cannot be written or is a folder, FIFO or device, a name\n"
       "      ending in a blank or too long); torva names the file, nothing was written\n"
       "  42  a file of the run could not be written in full: torva names it and why\n"
       "  62  another run is using the folder\n"
       "   2  wrong command line\n"
       "  any other value: the engine's error code, which the run log explains\n";
}

std::string rtrim(std::string s) {
  while (!s.empty() && (s.back() == ' ' || s.back() == '\r')) s.pop_back();
  return s;
}

// The first line of a text file, without its line end (empty when it cannot be read).
std::string first_line(const std::string& p) {
  std::ifstream in(p);
  std::string line;
  std::getline(in, line);
  return rtrim(line);
}

// Lines 5 to 27 of an existing "Names.dat". Empty when they are all there, otherwise why
// not: the file cannot be read, or the first line missing (and the file it should name).
std::string read_names(const fs::path& p, std::vector<std::string>& names) {
  names.clear();
  std::error_code ec;
  if (!fs::exists(p, ec)) return p.string() + " does not exist";
  if (!fs::is_regular_file(p, ec)) return p.string() + " is not a regular file";
  std::ifstream in(p);
  if (!in) return p.string() + " cannot be read: " + std::strerror(errno);
  std::string line;
  for (int i = 1; i <= 4 + kNames; ++i) {
    if (!std::getline(in, line))
      return p.string() + " line " + std::to_string(i) + " is missing" +
             (i >= 5 ? std::string(": expected the name of the ") + kRole[i - 5] : "") +
             " (the list ends after line " + std::to_string(i - 1) +
             "; it holds 27 lines, the input on line 5 and the files of the run on lines 6 "
             "to 27)";
    // The engine reads a name as 256 characters without its trailing blanks.
    if (i >= 5) names.push_back(rtrim(line));
  }
  return {};
}

std::string message_of(int st) {
  switch (st) {
    case 0: return "analysis completed";
    case 1: return "wrong entry argument";
    case 4: return "analysis stopped by user";
    case 40: return "the file-name list Names.dat is missing or incomplete";
    case 41: return "a file of the run cannot be opened";
    case 42: return "a file of the run cannot be written";
    case 43: return "the input data file cannot be read";
    case 44: return "invalid input data";
    case 47: return "the plate model of the cap is missing, unreadable or invalid (the run log says which)";
    case 48: return "the plate model of the cap cannot be solved (the run log says why)";
    default: return "error in analysis";
  }
}

int refuse(const std::string& why) {
  std::cerr << "torva: " << why << "\ntorva: the run did not start; no file was written\n";
  return kExitCannotStart;
}

// The reasons the names of a run would harm the run or earlier files: a name the engine
// would cut, an input or listing that the run itself would overwrite.
std::string names_problem(const fs::path& folder, const std::vector<std::string>& names) {
  for (int k = 0; k < kNames; ++k) {
    if (names[k].empty())
      return (folder / "Names.dat").string() + " line " + std::to_string(k + 5) +
             " is blank: expected the name of the " + kRole[k];
    // "Names.dat" holds one name a line, read without its trailing blanks: such a name
    // would reach the engine as another file's.
    if (names[k].find_first_of("\n\r") != std::string::npos)
      return std::string("the name of the ") + kRole[k] + " \"" + names[k] +
             "\" holds a line end; rename the file";
    if (names[k].back() == ' ' || names[k].back() == '\t')
      return std::string("the name of the ") + kRole[k] + " \"" + names[k] +
             "\" ends in a blank; rename the file";
    if (names[k].size() > kNameMax)
      return std::string("the name of the ") + kRole[k] + " is " +
             std::to_string(names[k].size()) + " characters long; the engine takes at most " +
             std::to_string(kNameMax) + ": " + names[k];
  }
  auto same = [&](const std::string& a, const std::string& b) {
    return (folder / a).lexically_normal() == (folder / b).lexically_normal();
  };
  for (int k = 1; k < kMphiIndex; ++k)
    if (same(names[k], "Names.dat"))
      return "the " + std::string(kRole[k]) + " has the name of the file-name list Names.dat";
  for (int k = 0; k < kNames; ++k)
    for (const char* fixed : kPlateFiles)
      if (same(names[k], fixed))
        return "the " + std::string(kRole[k]) + " " + names[k] +
               " has the name of a file that the plate program of the cap writes (" +
               fixed + "); rename it";
  for (int read : {0, kMphiIndex}) {
    if (same(names[read], "Names.dat"))
      return "the " + std::string(kRole[read]) + " " + names[read] +
             " has the name of the file-name list that torva writes";
    for (int k = 1; k < kMphiIndex; ++k)
      if (same(names[read], names[k]))
        return "the " + std::string(kRole[read]) + " " + names[read] +
               " has the name of a file that the run writes (the " + kRole[k] +
               "); rename it";
  }
  return {};
}

// Why an existing file cannot serve the run as a file to read or write (a folder, a FIFO
// or a device); empty for a regular file or a missing one.
std::string not_a_file(const std::string& p) {
  bool exists = false;
  const char* kind = torva::not_regular(p, exists);
  return kind ? std::string("is a ") + kind + ", not a regular file" : std::string();
}

// A file the run reads: it exists, is a regular file and can be read. Empty when so.
std::string unreadable(const fs::path& folder, const std::string& name, const char* role) {
  const std::string shown = (folder / name).lexically_normal().string();
  if (const std::string why = not_a_file(name); !why.empty())
    return std::string("the ") + role + " " + shown + " " + why;
  std::ifstream in(name);
  if (!in)
    return std::string("the ") + role + " " + shown + " cannot be read: " + std::strerror(errno);
  return {};
}

// Each file that the run writes can be opened for writing; nothing existing is changed.
// Files created by the check are removed again when one fails. Empty when all can.
std::string unwritable(const std::vector<std::string>& files,
                       const std::vector<std::string>& roles) {
  std::vector<std::string> created;
  std::string problem;
  for (std::size_t k = 0; k < files.size() && problem.empty(); ++k) {
    std::error_code ec;
    if (const std::string why = not_a_file(files[k]); !why.empty()) {
      problem = "the " + roles[k] + " " + (fs::current_path(ec) / files[k]).string() + " " + why;
      break;
    }
    const bool existed = fs::exists(fs::symlink_status(files[k], ec));
    const int fd = ::open(files[k].c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0666);
    if (fd < 0) {
      const std::string why = std::strerror(errno);
      problem = "the " + roles[k] + " " + (fs::current_path(ec) / files[k]).string() +
                " cannot be written: " + why;
      break;
    }
    ::close(fd);
    if (!existed) created.push_back(files[k]);
  }
  if (!problem.empty())
    for (const std::string& f : created) ::unlink(f.c_str());
  return problem;
}

// Writes a whole file; false when any part of it failed. An existing file is written over
// in place and cut to the new length: emptying it first would make the file system free
// its blocks and flush new ones at the close, the largest cost of a small run's files.
bool write_file(const std::string& p, const std::string& text) {
  return torva::rewrite_file(p, text);
}

// The list that ends the run log when analyses did not complete in full: its heading and
// the lines after it.
std::vector<std::string> incomplete_list(const std::string& runlog) {
  std::ifstream in(runlog);
  std::vector<std::string> out;
  std::string line;
  bool in_list = false;
  while (std::getline(in, line)) {
    line = rtrim(line);
    if (line.find("ANALYSES NOT COMPLETED IN FULL") != std::string::npos) {
      out.clear();
      in_list = true;
    }
    if (in_list && !line.empty()) out.push_back(line);
  }
  return out;
}

// When a file was last written (the minimum for a missing one).
fs::file_time_type log_time(const std::string& p) {
  std::error_code ec;
  const fs::file_time_type t = fs::last_write_time(p, ec);
  return ec ? fs::file_time_type::min() : t;
}

// Shows progress lines: on a terminal the latest one in place; otherwise each new line on
// a line of its own, without control codes.
class ProgressView {
 public:
  ProgressView() : tty_(::isatty(STDERR_FILENO) == 1) {}
  void show(const std::string& line) {
    if (line.empty() || line == shown_) return;
    shown_ = line;
    if (tty_)
      std::cerr << "\r" << line << "\033[K" << std::flush;
    else
      std::cerr << line << "\n" << std::flush;
    open_ = tty_;
  }
  // Ends the line in place before other output.
  void close() {
    if (open_) std::cerr << "\n";
    open_ = false;
  }

 private:
  bool tty_;
  bool open_ = false;
  std::string shown_;
};

}  // namespace

// The line of the run log that follows `head` (its first non-blank text), empty when none.
std::string count_after(const std::string& runlog, std::string_view head) {
  std::ifstream in(runlog);
  std::string line, found;
  while (std::getline(in, line))
    if (line.compare(0, head.size(), head) == 0) found = rtrim(line.substr(head.size()));
  const auto k = found.find_first_not_of(' ');
  return k == std::string::npos ? std::string() : found.substr(k);
}

int usage_error(const std::string& why) {
  std::cerr << "torva: " << why << "\n\n";
  usage(std::cerr);
  return kExitUsage;
}

int main(int argc, char** argv) {
  torva_host::wait_passively(argv);
  std::vector<std::string> args(argv + 1, argv + argc);
  std::string mphi;
  std::string target;
  for (size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--help" || args[i] == "-h") {
      usage(std::cout);
      return 0;
    }
    if (args[i] == "--mphi") {
      if (i + 1 >= args.size()) return usage_error("--mphi needs the name of a file after it");
      mphi = args[++i];
    } else if (args[i].size() > 1 && args[i][0] == '-') {
      return usage_error("unknown option " + args[i]);
    } else if (target.empty()) {
      target = args[i];
    } else {
      return usage_error("one input or folder at a time: " + target + " is given, and also " +
                         args[i]);
    }
  }
  if (target.empty()) return usage_error("no input data file or folder is given");

  // The folder and the names of the run.
  std::error_code ec;
  fs::path folder;
  std::vector<std::string> names;
  bool write_list = false;
  if (fs::is_directory(target, ec)) {
    folder = fs::absolute(target).lexically_normal();
    if (folder.filename().empty()) folder = folder.parent_path();  // "x/." and "x/"
    if (!mphi.empty()) {
      std::cerr << "torva: --mphi is given with an input data file, not with a folder\n";
      return kExitUsage;
    }
    if (const std::string p = read_names(folder / "Names.dat", names); !p.empty())
      return refuse(p);
  } else if (fs::is_regular_file(target, ec)) {
    const fs::path input = fs::absolute(target);
    folder = input.parent_path();
    const std::string base = input.stem().string();
    names.push_back(input.filename().string());
    for (int r = 0; r < 21; ++r) names.push_back(base + kExt[r]);
    if (mphi.empty()) {
      names.push_back(base + ".mph");
    } else {
      if (!fs::exists(mphi, ec))
        return refuse("the moment-curvature listing " + mphi + " does not exist");
      if (const std::string p = unreadable(fs::current_path(ec), mphi, kRole[kMphiIndex]);
          !p.empty())
        return refuse(p);
      names.push_back(fs::absolute(mphi).lexically_normal().string());
    }
    write_list = true;
  } else if (!fs::exists(target, ec)) {
    return refuse(fs::absolute(target).lexically_normal().string() +
                  " does not exist: give an input data file or a folder holding Names.dat");
  } else {
    return refuse(fs::absolute(target).lexically_normal().string() +
                  " is neither an input data file nor a folder (" + not_a_file(target) + ")");
  }
  if (const std::string p = names_problem(folder, names); !p.empty()) return refuse(p);

  // One run at a time in a folder: the lock is held until the process ends.
  const int lock = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (lock < 0)
    return refuse("cannot open the folder " + folder.string() + ": " + std::strerror(errno));
  if (::flock(lock, LOCK_EX | LOCK_NB) != 0) {
    std::cerr << "torva: another run is using the folder " << folder.string()
              << "; one folder holds one run at a time: wait for it to end, or run in another"
                 " folder\n";
    return kExitBusy;
  }
  fs::current_path(folder, ec);
  if (ec) return refuse("cannot enter the folder " + folder.string());

  // What the run needs, checked before any earlier file is changed: the files it reads
  // exist and can be read (the default listing is created when missing), and every file
  // it writes is a regular file or can be made one.
  if (const std::string p = unreadable(folder, names[0], kRole[0]); !p.empty()) return refuse(p);
  const bool mphi_exists = fs::exists(names[kMphiIndex], ec);
  if (mphi_exists) {
    if (const std::string p = unreadable(folder, names[kMphiIndex], kRole[kMphiIndex]); !p.empty())
      return refuse(p);
  }
  std::vector<std::string> files, roles;
  if (write_list) files.push_back("Names.dat"), roles.push_back("file-name list");
  for (int k = 1; k < kMphiIndex; ++k) files.push_back(names[k]), roles.push_back(kRole[k]);
  if (!mphi_exists) files.push_back(names[kMphiIndex]), roles.push_back(kRole[kMphiIndex]);
  if (const std::string p = unwritable(files, roles); !p.empty()) return refuse(p);

  if (write_list) {
    std::ostringstream list;
    list << "TORVA 1.0   \n\n\n\n";
    for (const std::string& n : names) list << n << "\n";
    if (!write_file("Names.dat", list.str()))
      return refuse("the file-name list " + (folder / "Names.dat").string() +
                    " cannot be written: " + std::strerror(errno));
  }
  const std::string progress = names[kProgress];
  const std::string stopfile = names[kStopReq];
  const std::string runlog = (folder / names[kRunLog]).string();
  // Neither the progress of an earlier run nor its stop request carries over.
  write_file(progress, "");
  write_file(stopfile, "0\n");

  const auto log_before = log_time(runlog);
  for (int sig : {SIGINT, SIGTERM, SIGHUP}) std::signal(sig, on_stop_signal);
  std::mutex mu;
  std::condition_variable cv;
  bool done = false;
  int status = 0;
  std::thread engine([&] {
    const int st = ITORVA(3);
    std::lock_guard<std::mutex> g(mu);
    status = st;
    done = true;
    cv.notify_all();
  });
  ProgressView view;
  bool stop_sent = false;
  {
    std::unique_lock<std::mutex> lk(mu);
    while (!done) {
      // Woken at once when the engine ends; otherwise the progress and a stop signal are
      // looked at ten times a second.
      cv.wait_for(lk, std::chrono::milliseconds(100), [&] { return done; });
      if (done) break;
      lk.unlock();
      if (g_interrupted && !stop_sent) {
        write_file(stopfile, "1\n");
        stop_sent = true;
        view.close();
        std::cerr << "torva: stop requested, ending the current step\n";
      }
      view.show(first_line(progress));
      lk.lock();
    }
  }
  engine.join();
  // A stop request must not stop the next call of the engine in this folder.
  write_file(stopfile, "0\n");
  view.close();

  // An earlier run's list is never taken for this run's: the run log is this run's only
  // when the engine wrote it.
  const bool own_log = status != 40 && log_time(runlog) != log_before;
  const std::vector<std::string> incomplete =
      own_log ? incomplete_list(runlog) : std::vector<std::string>{};
  if (status == 0 && !incomplete.empty())
    std::cerr << "torva: status 0: the run ended, but not every analysis completed in full\n";
  else
    std::cerr << "torva: status " << status << ": " << message_of(status) << "\n";
  // A file that could not be opened or written: the engine's last progress message names it
  // and the system's reason (the run log may be that file).
  bool log_failed = false;
  if (status == 41 || status == 42) {
    std::string l = first_line(progress);
    if (l.rfind(" - ", 0) == 0) l = l.substr(3);
    if (!l.empty()) std::cerr << "torva: " << l << "\n";
    log_failed = status == 42 && l.find(runlog) != std::string::npos;
    if (log_failed) std::cerr << "torva: the run log " << runlog << " could not be written in full\n";
  }
  if (status == 0 || status == 4)
    std::cerr << "torva: results in " << (folder / names[2]).string() << "\n";
  if (own_log && !log_failed) std::cerr << "torva: run log in " << runlog << "\n";
  // The last words: each analysis that did not complete in full, and the input warnings
  // (a value read from another line than meant changes what was analysed).
  for (std::size_t k = 1; k < incomplete.size(); ++k) {
    const std::string& l = incomplete[k];
    std::cerr << "torva: not completed in full: " << l.substr(l.find_first_not_of(' ')) << "\n";
  }
  if (own_log) {
    const std::string warnings = count_after(runlog, "     INPUT WARNINGS :");
    if (!warnings.empty())
      std::cerr << "torva: " << warnings << (warnings == "1" ? " input warning" : " input warnings")
                << ": check the values the run read; listed in " << runlog
                << " and after the heading of " << (folder / names[2]).string() << "\n";
  }
  if (status == 0 && !incomplete.empty()) return kExitIncomplete;
  return status;
}
