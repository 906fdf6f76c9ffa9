// torva: command-line host of the engine. It checks that the run can start without
// harming earlier results, holds the folder for the run, prepares "Names.dat", runs
// ITORVA(3) in the folder, shows the progress while the engine runs, turns Ctrl-C into a
// stop request, and ends with the engine's status, the file that failed when one did, and
// the analyses that did not complete in full.
#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <mutex>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "host/progress_text.h"
#include "host/waiting.h"
#include "io/fileset.h"
#include "io/textfile.h"
#include "model/run_tables.h"
#include "torva/itorva.h"

namespace fs = std::filesystem;

namespace {

constexpr const char* kVersion = "1.0";

// Exit codes of the host's own, beside the engine's status codes (which stay below 60).
constexpr int kExitUsage = 2;         // the command line is wrong
constexpr int kExitIncomplete = 60;   // status 0, but an analysis did not complete in full
constexpr int kExitCannotStart = 61;  // the run was refused before any file was written
constexpr int kExitBusy = 62;         // another run holds the folder
constexpr int kExitStopped = 4;       // stopped on request (the engine's own code for it)
constexpr int kExitNotWritten = 42;   // a file of the run could not be written in full

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

// Ctrl-C, and the end that `timeout`, batch schedulers and a closed terminal ask for
// (SIGTERM, SIGHUP): a stop request, so that the run ends cleanly with status 4.
std::atomic<bool> g_interrupted{false};
void on_stop_signal(int) { g_interrupted = true; }

// The host's signals, set before anything else it does. The stop signals become stop
// requests, unless the host was started with one ignored (as `nohup` starts a program with
// SIGHUP ignored), which stays ignored. A write that fails must fail with its error, which
// the run's checks report, instead of ending the process: a file-size limit (SIGXFSZ) gives
// status 42 naming the file, and a reader that closes the progress stream (SIGPIPE) only
// ends the progress lines. The stop signals stay held back until release_stop_signals: a
// host that starts itself again (see waiting.h) must not take one and then be replaced by
// an image that knows nothing of it; the one that runs takes it.
const int kStopSignals[] = {SIGINT, SIGTERM, SIGHUP};

void hold_stop_signals(int how) {
  sigset_t held;
  sigemptyset(&held);
  for (const int sig : kStopSignals) sigaddset(&held, sig);
  ::sigprocmask(how, &held, nullptr);
}

void take_signals() {
  hold_stop_signals(SIG_BLOCK);
  struct sigaction sa {};
  sigemptyset(&sa.sa_mask);
  sa.sa_flags = SA_RESTART;
  for (const int sig : kStopSignals) {
    struct sigaction was {};
    if (::sigaction(sig, nullptr, &was) == 0 && was.sa_handler == SIG_IGN) continue;
    sa.sa_handler = on_stop_signal;
    ::sigaction(sig, &sa, nullptr);
  }
  sa.sa_handler = SIG_IGN;
  for (const int sig : {SIGPIPE, SIGXFSZ}) ::sigaction(sig, &sa, nullptr);
}

// Takes the stop signals held back since take_signals (one that came meanwhile is taken now).
void release_stop_signals() { hold_stop_signals(SIG_UNBLOCK); }

// The engine's status codes and what each says, for the last words and the help.
struct StatusText {
  int code;
  const char* text;
};
const StatusText kStatusText[] = {
    {3, "a pile reaches below the deepest soil layer"},
    {13, "a pile reaches below the deepest soil layer (2-D)"},
    {21, "weak rock whose cohesive strength is zero"},
    {22, "a depth below the soil layers, for the unit weight"},
    {23, "a depth below the soil layers, for the cohesion"},
    {24, "a depth below the soil layers, for the friction angle"},
    {25, "a depth below the soil layers, for the side friction"},
    {26, "a depth below the soil layers, for the side resistance"},
    {27, "a depth below the soil layers, for the friction angle of the axial curves"},
    {28, "silt whose friction angle is zero"},
    {29, "silt whose slope angle is greater than its friction angle"},
    {30, "sand whose friction angle is zero"},
    {32, "a load-settlement curve whose E50 is zero"},
    {33, "a load-settlement curve whose cohesion is zero"},
    {34, "a torque-rotation curve whose E50 is zero"},
    {35, "a torque-rotation curve whose cohesion is zero"},
    {40, "the file-name list Names.dat is missing or incomplete"},
    {41, "a file of the run cannot be opened"},
    {42, "a file of the run cannot be written"},
    {43, "the input data file cannot be read"},
    {44, "invalid input data"},
    {45, "an internal check of the engine failed"},
    {46, "an option that this engine does not analyse"},
    {47, "the plate model of the cap is missing, unreadable or invalid"},
    {48, "the plate model of the cap cannot be solved"},
    {49, "a curve to be generated from the soil, but no soil layer"},
};

std::string message_of(int st) {
  switch (st) {
    case 0: return "analysis completed";
    case 1: return "wrong entry argument";
    case 4: return "analysis stopped by user";
    default: break;
  }
  for (const StatusText& t : kStatusText)
    if (t.code == st) return t.text;
  return "error in analysis";
}

void usage(std::ostream& o) {
  o << "usage: torva [--mphi FILE] INPUT.dat\n"
       "       torva FOLDER\n"
       "       torva --help | --version\n"
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
       "  --version   prints the version.\n"
       "\n"
       "Before anything is written torva checks that the input can be read, that no file\n"
       "serves the run in two roles (one name, or one file by two names), and that every\n"
       "file of the run, the plate program's included, can be written: a run that cannot\n"
       "start leaves the earlier reports as they were. One folder holds one run at a time: a\n"
       "second run started in a folder that is in use is refused.\n"
       "\n"
       "While the engine runs its progress is shown (on a terminal in place; otherwise one\n"
       "line per load step). Ctrl-C (and SIGTERM or SIGHUP) asks the engine to stop: it ends\n"
       "the current step cleanly and returns status 4. The thread count is taken from\n"
       "OMP_NUM_THREADS when it is set (otherwise every processor), and each load case may\n"
       "ask for fewer.\n"
       "\n"
       "Exit status:\n"
       "   0  every analysis completed\n"
       "   4  stopped on request\n"
       "  60  the run ended normally, but an analysis did not complete in full (no\n"
       "      convergence, or results below the full load): torva lists each one, as the\n"
       "      end of the run log does\n"
       "  61  the run cannot start (input missing, unreadable or named like a file of the\n"
       "      run, one file in two roles, a folder's Names.dat missing or incomplete, a file\n"
       "      that cannot be written or is a folder, FIFO or device, a name ending in a\n"
       "      blank or too long, a file-size limit below the file-name list); torva names\n"
       "      the file, nothing was written\n"
       "  41  a file of the run could not be opened: torva names it and why\n"
       "  42  a file of the run could not be written in full (no space left, a file-size\n"
       "      limit, the folder removed during the run): torva names it and why\n"
       "  62  another run is using the folder\n"
       "   2  wrong command line\n"
       "  other values: the engine's error codes, which the end of the run log explains:\n";
  for (const StatusText& t : kStatusText)
    if (t.code != 41 && t.code != 42) {
      char code[8];
      std::snprintf(code, sizeof code, "%4d", t.code);
      o << code << "  " << t.text << "\n";
    }
}

std::string rtrim(std::string s) {
  while (!s.empty() && (s.back() == ' ' || s.back() == '\r')) s.pop_back();
  return s;
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

int refuse(const std::string& why) {
  std::cerr << "torva: " << why << "\ntorva: the run did not start; no file was written\n";
  return kExitCannotStart;
}

// The reasons the names of a run would harm the run or earlier files: a name the engine
// would cut or read as another, and one file in two roles (two of the run's files, or a
// file the run reads and one it writes). `from_list`: the names come from the folder's
// "Names.dat", whose lines the message then names.
std::string names_problem(const fs::path& folder, const std::vector<std::string>& names,
                          bool from_list) {
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
  // The names are the folder's: the check looks at them from there.
  std::error_code ec;
  const fs::path here = fs::current_path(ec);
  fs::current_path(folder, ec);
  const std::vector<torva::RunFile> files = torva::run_files(names, kRole, !from_list);
  const auto [a, b] = torva::one_file_two_roles(files);
  fs::current_path(here, ec);
  if (a < 0) return {};
  auto shown = [&](const torva::RunFile& f) {
    std::string s = "the " + f.role + " " + f.name;
    if (from_list && f.line > 0) s += " (Names.dat line " + std::to_string(f.line) + ")";
    return s;
  };
  return shown(files[std::size_t(a)]) + " and " + shown(files[std::size_t(b)]) +
         " are one file: one file cannot serve two roles of a run; name another file for one "
         "of them";
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
// Files that `optional` marks need not exist: only an existing one is opened (the plate
// program's, which a run without a plate never creates). Files created by the check are
// added to `created`. Empty when all can.
std::string unwritable(const std::vector<std::string>& files, const std::vector<std::string>& roles,
                       const std::vector<bool>& optional, std::vector<std::string>& created) {
  for (std::size_t k = 0; k < files.size(); ++k) {
    std::error_code ec;
    const std::string shown = (fs::current_path(ec) / files[k]).lexically_normal().string();
    if (const std::string why = not_a_file(files[k]); !why.empty())
      return "the " + roles[k] + " " + shown + " " + why;
    const bool existed = fs::exists(fs::symlink_status(files[k], ec));
    if (optional[k] && !existed) continue;
    const int fd = ::open(files[k].c_str(), O_WRONLY | O_CLOEXEC | (optional[k] ? 0 : O_CREAT), 0666);
    if (fd < 0) return "the " + roles[k] + " " + shown + " cannot be written: " + std::strerror(errno);
    ::close(fd);
    if (!existed) created.push_back(files[k]);
  }
  return {};
}

// Writes a whole file; false when any part of it failed. An existing file is written over
// in place and cut to the new length: emptying it first would make the file system free
// its blocks and flush new ones at the close, the largest cost of a small run's files.
bool write_file(const std::string& p, const std::string& text) {
  return torva::rewrite_file(p, text);
}

// Empties the progress file and keeps space for the engine's messages in it (without
// changing its length): on a file system with no free block left, the message that names
// the file that failed still reaches the host. False (errno set) only when there is no
// space for it; a file system that cannot keep space ahead goes without.
bool prepare_progress(const std::string& p) {
  if (!write_file(p, "")) return false;
  const int fd = ::open(p.c_str(), O_WRONLY | O_CLOEXEC);
  if (fd < 0) return false;
  const int r = ::fallocate(fd, FALLOC_FL_KEEP_SIZE, 0, 4096);
  const int err = r == 0 ? 0 : errno;
  ::close(fd);
  errno = err;
  return r == 0 || (err != ENOSPC && err != EDQUOT);
}

// The heading of the list that ends the run log when analyses did not complete in full.
constexpr std::string_view kIncompleteList = "ANALYSES NOT COMPLETED IN FULL";

// The list that ends the run log when analyses did not complete in full: its heading and
// the lines after it.
std::vector<std::string> incomplete_list(const std::string& runlog) {
  std::ifstream in(runlog);
  std::vector<std::string> out;
  std::string line;
  bool in_list = false;
  while (std::getline(in, line)) {
    line = rtrim(line);
    if (line.find(kIncompleteList) != std::string::npos) {
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

// The engine's latest progress message (see progress_text.h; `ended`: only a whole one, as
// the display takes it while the engine may be writing it), read through a descriptor that
// the host opened before the run, so that it is found even when the folder is removed during
// the run.
std::vector<std::string> progress_lines(int fd, bool ended) {
  if (fd < 0) return {};
  char buf[4096];
  const ssize_t n = ::pread(fd, buf, sizeof buf, 0);
  if (n <= 0) return {};
  return torva_host::progress_lines(std::string_view(buf, std::size_t(n)), ended);
}

// The progress message as one line: its lines joined, runs of blanks made one, and no blank
// after "/" or "(" (the engine's counts are right-aligned in their columns).
std::string progress_line(const std::vector<std::string>& lines) {
  std::string out;
  for (const std::string& l : lines) {
    if (!out.empty()) out += ' ';
    for (const char c : l) {
      const bool blank = c == ' ';
      if (blank && (out.empty() || out.back() == ' ' || out.back() == '/' || out.back() == '('))
        continue;
      out += c;
    }
  }
  while (!out.empty() && out.back() == ' ') out.pop_back();
  return out;
}

// `line` without its word `word`, and the value after it when `value` (" ITERATION: 12").
std::string without(std::string line, std::string_view word, bool value) {
  std::size_t at = line.find(word);
  if (at == std::string::npos) return line;
  std::size_t end = at + word.size();
  if (value) {
    while (end < line.size() && line[end] == ' ') ++end;
    while (end < line.size() && line[end] != ' ') ++end;
  }
  if (at > 0 && line[at - 1] == ' ') --at;
  line.erase(at, end - at);
  return line;
}

// Shows the progress as it changes: on a terminal the latest message in place, cut to the
// terminal's width; otherwise a line for each new message that is not only a further
// iteration of the same load step, without control codes. Once the output cannot be
// written (a reader that closed its end), no more progress is written.
class ProgressView {
 public:
  ProgressView() : tty_(::isatty(STDERR_FILENO) == 1) {}
  void show(const std::vector<std::string>& lines) {
    if (dead_) return;
    std::string line = progress_line(lines);
    if (!tty_) line = without(without(line, "ITERATION:", true), "COMPLETED", false);
    if (line.empty() || line == shown_) return;
    shown_ = line;
    if (tty_) {
      struct winsize ws {};
      if (::ioctl(STDERR_FILENO, TIOCGWINSZ, &ws) == 0 && ws.ws_col > 1 && line.size() >= ws.ws_col)
        line.resize(ws.ws_col - 1u);
      std::cerr << "\r" << line << "\033[K" << std::flush;
    } else {
      std::cerr << line << "\n" << std::flush;
    }
    open_ = tty_;
    if (!std::cerr) {
      dead_ = true;
      open_ = false;
      std::cerr.clear();
    }
  }
  // Ends the line in place before other output.
  void close() {
    if (open_) std::cerr << "\n";
    open_ = false;
    std::cerr.clear();
  }

 private:
  bool tty_;
  bool open_ = false;
  bool dead_ = false;
  std::string shown_;
};

// Whether the run log holds the end of the run: its last lines are the end-of-run timing
// (the processors line) and, after it, only the list of analyses not completed in full.
// A run log that a full disk or a file-size limit cut ends elsewhere.
bool runlog_whole(const std::string& runlog) {
  std::ifstream in(runlog, std::ios::binary);
  std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (text.empty() || text.back() != '\n') return false;
  const std::size_t at = text.rfind("\n     Number Processors :");
  if (at == std::string::npos) return false;
  const std::size_t end = text.find('\n', at + 1);
  const std::string rest = text.substr(end + 1);
  return rest.empty() || rest.rfind("\n     " + std::string(kIncompleteList), 0) == 0;
}

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

// Files this process may not write beyond (`ulimit -f`), in bytes; 0 for no limit.
rlim_t file_size_limit() {
  struct rlimit lim {};
  if (::getrlimit(RLIMIT_FSIZE, &lim) != 0 || lim.rlim_cur == RLIM_INFINITY) return 0;
  return lim.rlim_cur;
}

}  // namespace

int main(int argc, char** argv) {
  take_signals();
  torva_host::wait_passively(argv, true);
  release_stop_signals();
  std::vector<std::string> args(argv + 1, argv + argc);
  std::string mphi;
  std::string target;
  for (size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--help" || args[i] == "-h") {
      usage(std::cout);
      return 0;
    }
    if (args[i] == "--version") {
      std::cout << "torva " << kVersion << "\n";
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
  if (const std::string p = names_problem(folder, names, !write_list); !p.empty()) return refuse(p);

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
  // exist and can be read (the default listing is created when missing), every file it
  // writes is a regular file or can be made one, and so is every file of the plate program
  // that exists. A run refused after this check leaves no file that the check created.
  std::vector<std::string> created;
  auto refuse_run = [&](const std::string& why) {
    for (const std::string& f : created) ::unlink(f.c_str());
    return refuse(why);
  };
  if (const std::string p = unreadable(folder, names[0], kRole[0]); !p.empty()) return refuse(p);
  const bool mphi_exists = fs::exists(names[kMphiIndex], ec);
  if (mphi_exists) {
    if (const std::string p = unreadable(folder, names[kMphiIndex], kRole[kMphiIndex]); !p.empty())
      return refuse(p);
  }
  std::vector<std::string> files, roles;
  std::vector<bool> optional;
  if (write_list) files.push_back("Names.dat"), roles.push_back("file-name list"), optional.push_back(false);
  for (int k = 1; k < kMphiIndex; ++k)
    files.push_back(names[k]), roles.push_back(kRole[k]), optional.push_back(false);
  if (!mphi_exists)
    files.push_back(names[kMphiIndex]), roles.push_back(kRole[kMphiIndex]), optional.push_back(false);
  for (const torva::RunFile& f : torva::plate_files(names[0]))
    if (f.written) files.push_back(f.name), roles.push_back(f.role), optional.push_back(true);
  if (const std::string p = unwritable(files, roles, optional, created); !p.empty()) return refuse_run(p);

  // What the host itself writes before the run must fit under a file-size limit: a list
  // cut short would name other files.
  std::string list;
  if (write_list) {
    std::ostringstream text;
    text << "TORVA " << kVersion << "   \n\n\n\n";
    for (const std::string& n : names) text << n << "\n";
    list = text.str();
  }
  if (const rlim_t limit = file_size_limit(); limit > 0 && limit < std::max<rlim_t>(list.size(), 2))
    return refuse_run("files of this process may not grow beyond " + std::to_string(limit) +
                      " bytes (ulimit -f), and the file-name list " +
                      (folder / "Names.dat").string() + " needs " + std::to_string(list.size()));

  // A stop asked for before the run starts: the run does not start, and nothing is touched.
  if (g_interrupted) {
    for (const std::string& f : created) ::unlink(f.c_str());
    std::cerr << "torva: stop requested before the run started; no file was written\n";
    return kExitStopped;
  }

  const std::string progress = names[kProgress];
  const std::string stopfile = names[kStopReq];
  const std::string runlog = (folder / names[kRunLog]).string();
  // Neither the progress of an earlier run nor its stop request carries over; a stop asked
  // for from here on reaches the engine's first poll.
  auto cannot_write = [&](const std::string& role, const std::string& name) {
    return refuse_run("the " + role + " " + (folder / name).string() + " cannot be written: " +
                      std::strerror(errno));
  };
  if (!prepare_progress(progress)) return cannot_write(kRole[kProgress], progress);
  if (!write_file(stopfile, g_interrupted ? "1\n" : "0\n")) return cannot_write(kRole[kStopReq], stopfile);
  if (write_list && !write_file("Names.dat", list)) return cannot_write("file-name list", "Names.dat");
  const int progress_fd = ::open(progress.c_str(), O_RDONLY | O_CLOEXEC);

  const auto log_before = log_time(runlog);
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
      view.show(progress_lines(progress_fd, true));
      lk.lock();
    }
  }
  engine.join();
  // A stop request must not stop the next call of the engine in this folder.
  write_file(stopfile, "0\n");
  view.close();

  // A folder removed during the run took its files with it: nothing the run wrote is left.
  struct stat st {};
  const bool folder_gone = ::stat(folder.c_str(), &st) != 0;
  // An earlier run's list is never taken for this run's: the run log is this run's only
  // when the engine wrote it.
  const bool own_log = !folder_gone && status != 40 && log_time(runlog) != log_before;
  const std::vector<std::string> incomplete =
      own_log ? incomplete_list(runlog) : std::vector<std::string>{};
  if (status == 0 && !incomplete.empty())
    std::cerr << "torva: status 0: the run ended, but not every analysis completed in full\n";
  else
    std::cerr << "torva: status " << status << ": " << message_of(status) << "\n";
  // A file that could not be opened or written: the engine's last progress message names it
  // and the system's reason, and every other file it could not write in full (the run log
  // may be one of them).
  bool log_failed = false;
  if (status == 41 || status == 42) {
    for (const std::string& l : progress_lines(progress_fd, false)) {
      std::cerr << "torva: " << l << "\n";
      log_failed = log_failed || l.find(runlog) != std::string::npos;
    }
  }
  // The run log that a failure cut is not pointed to as the place to look (the progress
  // file, under the same limit, may not have held its name).
  log_failed = log_failed || (own_log && (status == 41 || status == 42) && !runlog_whole(runlog));
  if (log_failed) std::cerr << "torva: the run log " << runlog << " could not be written in full\n";
  if (progress_fd >= 0) ::close(progress_fd);
  if (folder_gone) {
    std::cerr << "torva: the folder " << folder.string()
              << " was removed during the run: the files of the run went with it\n";
    return status == 0 ? kExitNotWritten : status;
  }
  if (status == 0 || status == 4)
    std::cerr << "torva: results in " << (folder / names[2]).string() << "\n";
  if (own_log && !log_failed) std::cerr << "torva: run log in " << runlog << "\n";
  // The last words: each analysis that did not complete in full, and the warnings of the
  // input and of the model (a value read from another line than meant, or a model that is
  // likely not the one meant, changes what was analysed).
  for (std::size_t k = 1; k < incomplete.size(); ++k) {
    const std::string& l = incomplete[k];
    std::cerr << "torva: not completed in full: " << l.substr(l.find_first_not_of(' ')) << "\n";
  }
  if (own_log) {
    const std::string report = (folder / names[2]).string();
    const std::string warnings = count_after(runlog, torva::kInputWarningsHead);
    if (!warnings.empty())
      std::cerr << "torva: " << warnings << (warnings == "1" ? " input warning" : " input warnings")
                << ": check the values the run read; listed in " << runlog
                << " and after the heading of " << report << "\n";
    const std::string model = count_after(runlog, torva::kModelWarningsHead);
    if (!model.empty())
      std::cerr << "torva: " << model << (model == "1" ? " model warning" : " model warnings")
                << ": check the model; listed in " << runlog << " and " << report << "\n";
  }
  if (status == 0 && !incomplete.empty()) return kExitIncomplete;
  return status;
}
