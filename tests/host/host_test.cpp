// The command-line host as a user meets it: its exit codes and messages, and earlier
// results that a refused run leaves byte for byte as they were.
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "support/filesizelimit.h"
#include "support/workdir.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;
using torva::testing::WorkDir;

struct HostRun {
  int code = -1;
  std::string out;  // standard output and standard error
};

// How the host is started beside its folder, its arguments and its log.
struct Start {
  std::vector<std::string> env;  // variables that say how the runtime runs (the caller's own left out)
  // SIGTERM held back from the start (blocked), so that one sent at once reaches the host
  // whatever it is doing when it arrives.
  bool hold_term = false;
  // SIGHUP ignored from the start, as `nohup` starts a program.
  bool ignore_hup = false;
  int out = -1;  // a descriptor for the standard output and error instead of the log
};

// Starts the host in `dir` with `args`; its output goes to a file beside the folder.
pid_t start_host(const fs::path& dir, const std::vector<std::string>& args, const fs::path& log,
                 const Start& how) {
  // Extra variables say how the runtime runs: the caller's own settings of it are left out.
  std::vector<std::string> env(how.env);
  const auto runtime_setting = [](const std::string& e) {
    for (const char* v : {"OMP_NUM_THREADS=", "OMP_WAIT_POLICY=", "GOMP_SPINCOUNT=", "KMP_BLOCKTIME=",
                          "KMP_LIBRARY=", "OMP_DISPLAY_ENV="})
      if (e.rfind(v, 0) == 0) return true;
    return false;
  };
  for (char** e = environ; *e; ++e)
    if (how.env.empty() || !runtime_setting(*e)) env.emplace_back(*e);
  std::vector<char*> envp;
  for (std::string& e : env) envp.push_back(e.data());
  envp.push_back(nullptr);
  std::vector<std::string> all{TORVA_HOST_EXE};
  all.insert(all.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (std::string& a : all) argv.push_back(a.data());
  argv.push_back(nullptr);
  posix_spawn_file_actions_t fa;
  posix_spawn_file_actions_init(&fa);
  if (how.out >= 0) {
    posix_spawn_file_actions_adddup2(&fa, how.out, 1);
  } else {
    posix_spawn_file_actions_addopen(&fa, 1, log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  }
  posix_spawn_file_actions_adddup2(&fa, 1, 2);
  posix_spawn_file_actions_addopen(&fa, 0, "/dev/null", O_RDONLY, 0);
  posix_spawnattr_t attr;
  posix_spawnattr_init(&attr);
  // The signals at their default actions, as a program started from a terminal has them
  // (the test process, or what started it, may ignore some, and the host would inherit that).
  short flags = POSIX_SPAWN_SETSIGDEF;
  sigset_t sigs;
  sigemptyset(&sigs);
  for (int sig : {SIGPIPE, SIGXFSZ, SIGTERM, SIGINT, SIGHUP})
    if (sig != SIGHUP || !how.ignore_hup) sigaddset(&sigs, sig);
  posix_spawnattr_setsigdefault(&attr, &sigs);
  // An ignored signal stays ignored in the program started.
  struct sigaction hup_was {};
  if (how.ignore_hup) {
    struct sigaction ign {};
    ign.sa_handler = SIG_IGN;
    ::sigaction(SIGHUP, &ign, &hup_was);
  }
  sigemptyset(&sigs);
  if (how.hold_term) sigaddset(&sigs, SIGTERM);
  posix_spawnattr_setsigmask(&attr, &sigs);
  if (how.hold_term) flags |= POSIX_SPAWN_SETSIGMASK;
  posix_spawnattr_setflags(&attr, flags);
  const fs::path prev = fs::current_path();
  fs::current_path(dir);
  pid_t pid = -1;
  posix_spawn(&pid, argv[0], &fa, &attr, argv.data(), envp.data());
  if (how.ignore_hup) ::sigaction(SIGHUP, &hup_was, nullptr);
  fs::current_path(prev);
  posix_spawn_file_actions_destroy(&fa);
  posix_spawnattr_destroy(&attr);
  return pid;
}

pid_t start_host(const fs::path& dir, const std::vector<std::string>& args, const fs::path& log,
                 const std::vector<std::string>& env_extra = {}) {
  Start how;
  how.env = env_extra;
  return start_host(dir, args, log, how);
}

// The host's end: its exit code, or 128 plus the signal that ended it (as a shell shows it),
// and its output.
HostRun finish_host(pid_t pid, const fs::path& log) {
  HostRun r;
  int st = 0;
  if (pid > 0 && waitpid(pid, &st, 0) == pid) {
    if (WIFEXITED(st)) r.code = WEXITSTATUS(st);
    if (WIFSIGNALED(st)) r.code = 128 + WTERMSIG(st);
  }
  std::ifstream in(log);
  std::ostringstream s;
  s << in.rdbuf();
  r.out = s.str();
  return r;
}

HostRun run_host(const fs::path& dir, const std::vector<std::string>& args) {
  const fs::path log = dir.parent_path() / (dir.filename().string() + ".host.txt");
  HostRun r = finish_host(start_host(dir, args, log), log);
  fs::remove(log);
  return r;
}

// LLVM's OpenMP runtime, which the ThreadSanitizer build links, maps a shared-memory file
// when it starts and faults on it (SIGBUS) under a small file-size limit: the host's runs
// under a limit are for the GCC builds (its runtime maps no file).
#if defined(__has_feature)
#if __has_feature(thread_sanitizer)
#define TORVA_LLVM_OPENMP_FAULTS_UNDER_A_FILE_LIMIT 1
#endif
#endif
#ifdef TORVA_LLVM_OPENMP_FAULTS_UNDER_A_FILE_LIMIT
#define SKIP_UNDER_A_FILE_LIMIT_WITH_LLVM_OPENMP() \
  GTEST_SKIP() << "LLVM's OpenMP runtime faults on its shared-memory file under a file-size limit"
#else
#define SKIP_UNDER_A_FILE_LIMIT_WITH_LLVM_OPENMP() static_cast<void>(0)
#endif

// The host run with its files limited to `bytes` (a write beyond the limit sends SIGXFSZ,
// which ends a program that does not ignore it); exit code -1 when the limit cannot be set.
HostRun run_host_with_file_limit(const fs::path& dir, const std::vector<std::string>& args, rlim_t bytes) {
  const fs::path log = dir.parent_path() / (dir.filename().string() + ".host.txt");
  pid_t pid = -1;
  {
    const torva::testing::FileSizeLimit limit(bytes);
    if (limit.set()) pid = start_host(dir, args, log);
  }
  HostRun r = finish_host(pid, log);
  fs::remove(log);
  return r;
}

std::string example(const std::string& name) {
  std::ifstream in(std::string(TORVA_SOURCE_DIR) + "/examples/" + name);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

// The 2 x 2 sand group under a lateral load far beyond its capacity: the cap converges
// only on a small part of the load.
std::string overloaded_group() {
  std::string s = example("group2x2_sand_us.dat");
  const std::string from = "\n400000.0 40000.0 0.0";
  const auto at = s.find(from);
  if (at != std::string::npos) s.replace(at, from.size(), "\n400000.0 4.0E7 0.0");
  return s;
}

// The overloaded group spread to a 10 x 10 grid of the same rows under 25 times the load: a
// run whose analysis lasts long enough, on any machine, for a stop request to reach it.
std::string long_overloaded_group() {
  std::string s = overloaded_group();
  const auto rows = s.find("PILE GROUP ROWS\n");
  const auto props = s.find("PILE PROPERTIES\n");
  const std::string from = "\n400000.0 4.0E7 0.0";
  const auto load = s.find(from);
  if (rows == std::string::npos || props == std::string::npos || load == std::string::npos)
    return s;
  std::ostringstream g;
  g << "PILE GROUP ROWS\n100\n";
  for (int i = 0; i < 10; ++i)
    for (int j = 0; j < 10; ++j)
      g << "2 2 1 0 0 0 0 0 1 1\n0.0 0.0 1.0 1.0 1.0 1.0 1.0\n0.0 " << (i - 4.5) * 4.5 << " "
        << (j - 4.5) * 4.5 << " 0.0 90.0 0.0 0.0\n";
  s.replace(rows, props - rows, g.str());
  s.replace(s.find(from), from.size(), "\n1.0E7 1.0E9 0.0");
  return s;
}

// Every file in the folder and its contents.
std::map<std::string, std::string> snapshot(const WorkDir& d) {
  std::map<std::string, std::string> files;
  for (const auto& e : fs::directory_iterator(d.path()))
    if (e.is_regular_file()) {
      const std::string name = e.path().filename().string();
      files[name] = d.read(name);
    }
  return files;
}

// Earlier results of a run named "job" that a refused run must leave as they are.
void earlier_run(const WorkDir& d) {
  for (const char* ext : {".out", ".echo", ".sum", ".log", ".cas", ".prg"})
    d.write(std::string("job") + ext, std::string("earlier ") + ext + " of job\n");
  d.write("Names.dat", "earlier file-name list\n");
}

// "Names.dat" naming the run "job", its line `line` replaced by `name`.
void names_with(WorkDir& d, int line, const std::string& name) {
  d.write_names("job.dat", "job");
  std::istringstream in(d.read("Names.dat"));
  std::ostringstream out;
  std::string l;
  for (int i = 1; std::getline(in, l); ++i) out << (i == line ? name : l) << "\n";
  d.write("Names.dat", out.str());
}

struct RefusedCase {
  const char* name;
  void (*prepare)(WorkDir&);  // earlier results and the input as the user left them
  std::vector<std::string> args;
  int code;
  const char* message;
};

// Each case's run is refused with its code and message, and leaves every file as it was.
template <std::size_t N>
void expect_refused(const RefusedCase (&cases)[N]) {
  for (const RefusedCase& c : cases) {
    SCOPED_TRACE(c.name);
    WorkDir d;
    c.prepare(d);
    const auto before = snapshot(d);
    const HostRun r = run_host(d.path(), c.args);
    EXPECT_EQ(r.code, c.code) << r.out;
    EXPECT_NE(r.out.find(c.message), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("no file was written"), std::string::npos) << r.out;
    EXPECT_EQ(snapshot(d), before);
  }
}

TEST(Host, RunsThatCannotStartAreRefusedBeforeAnythingIsWritten) {
  const RefusedCase cases[] = {
      {"input named like the results report",
       [](WorkDir& d) { earlier_run(d); d.write("job.out", example("group2x2_sand_us.dat")); },
       {"job.out"}, 61, "the input data file job.out and the results report job.out are one file"},
      {"input named like the run log",
       [](WorkDir& d) { earlier_run(d); d.write("job.log", example("group2x2_sand_us.dat")); },
       {"job.log"}, 61, "the input data file job.log and the run log job.log are one file"},
      {"input named like the file-name list",
       [](WorkDir& d) { earlier_run(d); d.write("Names.dat", example("group2x2_sand_us.dat")); },
       {"Names.dat"}, 61, "the file-name list Names.dat and the input data file Names.dat are one file"},
      {"input of the file-name list missing",
       [](WorkDir& d) {
         earlier_run(d);
         d.write_names("gone.dat", "job");
       },
       {"."}, 61, "gone.dat cannot be read"},
      {"a report that cannot be written",
       [](WorkDir& d) {
         earlier_run(d);
         d.write("job.dat", example("group2x2_sand_us.dat"));
         fs::remove(d.path() / "job.sum");
         fs::create_directory(d.path() / "job.sum");
       },
       {"job.dat"}, 61, "the summary report"},
      {"file-name list that cannot be written",
       [](WorkDir& d) {
         earlier_run(d);
         d.write("job.dat", example("group2x2_sand_us.dat"));
         fs::remove(d.path() / "Names.dat");
         fs::create_directory(d.path() / "Names.dat");
       },
       {"job.dat"}, 61, "file-name list"},
      {"moment-curvature listing with a name the engine would cut",
       [](WorkDir& d) {
         earlier_run(d);
         d.write("job.dat", example("group2x2_sand_us.dat"));
         d.write(std::string(250, 'm'), "");
       },
       {"--mphi", std::string(250, 'm'), "job.dat"}, 61, "the engine takes at most 256"},
      {"moment-curvature listing named like a report",
       [](WorkDir& d) {
         earlier_run(d);
         d.write("job.dat", example("group2x2_sand_us.dat"));
       },
       {"--mphi", "job.sum", "job.dat"}, 61, "the summary report job.sum and the moment-curvature listing "},
      {"file-name list naming the run log Names.dat",
       [](WorkDir& d) {
         earlier_run(d);
         d.write("job.dat", example("group2x2_sand_us.dat"));
         d.write_names("job.dat", "job");
         std::string list = d.read("Names.dat");
         list.replace(list.find("job.log"), 7, "Names.dat");
         d.write("Names.dat", list);
       },
       {"."}, 61, "the file-name list Names.dat and the run log Names.dat (Names.dat line 10) are one file"},
      {"folder without a file-name list",
       [](WorkDir& d) {
         earlier_run(d);
         fs::remove(d.path() / "Names.dat");
       },
       {"."}, 61, "Names.dat does not exist"},
      {"file-name list that ends early names the missing line",
       [](WorkDir& d) {
         earlier_run(d);
         d.write("Names.dat", "TORVA 1.0\n\n\n\njob.dat\njob.echo\n");
       },
       {"."}, 61, "Names.dat line 7 is missing: expected the name of the results report (the list ends after line 6;"},
      {"file-name list with a blank line names the line",
       [](WorkDir& d) {
         earlier_run(d);
         d.write("job.dat", example("group2x2_sand_us.dat"));
         names_with(d, 10, "     ");
       },
       {"."}, 61, "Names.dat line 10 is blank: expected the name of the run log"},
      {"file-name list that is a folder",
       [](WorkDir& d) {
         earlier_run(d);
         fs::remove(d.path() / "Names.dat");
         fs::create_directory(d.path() / "Names.dat");
       },
       {"."}, 61, "Names.dat is not a regular file"},
      {"moment-curvature listing in a missing folder",
       [](WorkDir& d) {
         earlier_run(d);
         d.write("job.dat", example("group2x2_sand_us.dat"));
         names_with(d, 27, "nofolder/job.mph");
       },
       {"."}, 61, "moment-curvature listing"},
      {"input data file that is a folder",
       [](WorkDir& d) {
         earlier_run(d);
         fs::create_directory(d.path() / "sub");
         names_with(d, 5, "sub");
       },
       {"."}, 61, "sub is a folder, not a regular file"},
      {"input data file that is a device",
       [](WorkDir& d) {
         earlier_run(d);
         names_with(d, 5, "/dev/zero");
       },
       {"."}, 61, "/dev/zero is a device"},
      {"input data file that is a FIFO",
       [](WorkDir& d) {
         earlier_run(d);
         ::mkfifo((d.path() / "job.dat").c_str(), 0644);
         names_with(d, 5, "job.dat");
       },
       {"."}, 61, "job.dat is a FIFO"},
      {"results report that is a device",
       [](WorkDir& d) {
         earlier_run(d);
         d.write("job.dat", example("group2x2_sand_us.dat"));
         names_with(d, 7, "/dev/full");
       },
       {"."}, 61, "the results report /dev/full is a device"},
      {"run log that is a FIFO",
       [](WorkDir& d) {
         earlier_run(d);
         d.write("job.dat", example("group2x2_sand_us.dat"));
         fs::remove(d.path() / "job.log");
         ::mkfifo((d.path() / "job.log").c_str(), 0644);
       },
       {"job.dat"}, 61, "job.log is a FIFO"},
      {"input named like the plate program's file list",
       [](WorkDir& d) { earlier_run(d); d.write("tslab.dat", example("group2x2_sand_us.dat")); },
       {"tslab.dat"}, 61, "the input data file tslab.dat and the plate program's file list tslab.dat are one file"},
      {"results report named like a plate program's work file",
       [](WorkDir& d) {
         earlier_run(d);
         d.write("job.dat", example("group2x2_sand_us.dat"));
         names_with(d, 7, "fort3");
       },
       {"."}, 61, "the results report fort3 (Names.dat line 7) and the plate program's work file fort3 are one file"},
      {"summary report a link to a results report not yet written",
       [](WorkDir& d) {
         earlier_run(d);
         d.write("job.dat", example("group2x2_sand_us.dat"));
         names_with(d, 7, "new.out");
         fs::remove(d.path() / "job.sum");
         fs::create_symlink("new.out", d.path() / "job.sum");
       },
       {"."}, 61, "the results report new.out (Names.dat line 7) and the summary report job.sum (Names.dat line 8) are one file"},
      {"input whose name ends in a blank",
       [](WorkDir& d) { earlier_run(d); d.write("job.dat ", example("group2x2_sand_us.dat")); },
       {"job.dat "}, 61, "\"job.dat \" ends in a blank"},
      {"input whose name holds a line end",
       [](WorkDir& d) { earlier_run(d); d.write("jo\nb.dat", example("group2x2_sand_us.dat")); },
       {"jo\nb.dat"}, 61, "holds a line end"},
      {"missing input",
       [](WorkDir& d) { earlier_run(d); },
       {"gone.dat"}, 61, "gone.dat does not exist"},
  };
  expect_refused(cases);
}

TEST(Host, ASecondRunInAFolderInUseIsRefused) {
  WorkDir d;
  earlier_run(d);
  d.write("job.dat", example("group2x2_sand_us.dat"));
  const auto before = snapshot(d);
  // The first run holds the folder as the host does.
  const int fd = ::open(d.path().c_str(), O_RDONLY | O_DIRECTORY);
  ASSERT_GE(fd, 0);
  ASSERT_EQ(::flock(fd, LOCK_EX | LOCK_NB), 0);
  const HostRun r = run_host(d.path(), {"job.dat"});
  ::close(fd);
  EXPECT_EQ(r.code, 62) << r.out;
  EXPECT_NE(r.out.find("another run is using the folder"), std::string::npos) << r.out;
  EXPECT_EQ(snapshot(d), before);
}

// Two runs started together in one folder: one runs, the other is refused, and the one that
// ran analysed its own input.
TEST(Host, TwoRunsStartedTogetherNeverSwapInputs) {
  WorkDir d;
  d.write("a.dat", example("single_pile_elastic_us.dat"));
  d.write("b.dat", example("group2x2_sand_us.dat"));
  const fs::path la = d.path() / "a.host.txt", lb = d.path() / "b.host.txt";
  const pid_t pa = start_host(d.path(), {"a.dat"}, la);
  const pid_t pb = start_host(d.path(), {"b.dat"}, lb);
  const HostRun ra = finish_host(pa, la), rb = finish_host(pb, lb);
  EXPECT_TRUE((ra.code == 0 && rb.code == 62) || (ra.code == 62 && rb.code == 0) ||
              (ra.code == 0 && rb.code == 0))
      << ra.out << rb.out;
  if (ra.code == 0) {
    EXPECT_NE(d.read("a.echo").find("SINGLE 24 IN STEEL PIPE"), std::string::npos);
  }
  if (rb.code == 0) {
    EXPECT_NE(d.read("b.echo").find("2 X 2 GROUP OF 18"), std::string::npos);
  }
}

// The host's exit code 60, and its last words and the end of the run log naming the one
// analysis not completed in full (`line`: the case, its outcome and the load reached).
void expect_one_incomplete(const HostRun& r, const std::string& log, const std::string& line) {
  EXPECT_EQ(r.code, 60) << r.out;
  EXPECT_NE(r.out.find("torva: not completed in full: " + line + "\n"), std::string::npos) << r.out;
  const std::string tail = "\n     ANALYSES NOT COMPLETED IN FULL :    1\n     " + line + "\n";
  ASSERT_GE(log.size(), tail.size());
  EXPECT_EQ(log.substr(log.size() - tail.size()), tail);
}

TEST(Host, AnAnalysisBelowItsFullLoadEndsTheRunLogAndTheExitCode) {
  WorkDir d;
  d.write("job.dat", overloaded_group());
  const HostRun r = run_host(d.path(), {"job.dat"});
  const std::string log = d.read("job.log");
  expect_one_incomplete(r, log, "LOAD CASE      1: SOLUTION BELOW THE TOTAL LOAD, LOAD REACHED    9.38 %");
  // The engine's own status stays that of a completed run.
  EXPECT_NE(log.find("     ANALYSIS COMPLETED\n"), std::string::npos);
  EXPECT_NE(r.out.find("torva: status 0:"), std::string::npos);
}

// The plate-cap example under ten times its vertical load, with a coarser smallest
// increment: the plate's stepping halves its increment below the smallest after half the
// load.
std::string overloaded_plate() {
  std::string s = example("group2x2_plate_us.fem");
  for (const auto& [from, to] : {std::pair<std::string, std::string>{"\n0.25 0.0 1.0 0.01 50 ", "\n0.25 0.0 1.0 0.1 10 "},
                                 {" 40000.0 -400000.0 ", " 40000.0 -4.0E6 "}}) {
    const auto at = s.find(from);
    if (at != std::string::npos) s.replace(at, from.size(), to);
  }
  return s;
}

// A plate cap whose stepping ends below its load says so as the rigid cap does: the
// outcome list, the run log's list, the results report and the exit code; the step log
// keeps its own line, and the engine writes nothing of its own to the standard error.
TEST(Host, APlateCapBelowItsFullLoadEndsWithItsOutcomeAndTheExitCode) {
  WorkDir d;
  d.write("job.dat", example("group2x2_plate_us.dat"));
  d.write("job.fem", overloaded_plate());
  const HostRun r = run_host(d.path(), {"job.dat"});
  const std::string log = d.read("job.log");
  expect_one_incomplete(r, log, "LOAD CASE      1: SOLUTION BELOW THE TOTAL LOAD, LOAD REACHED   50.00 %");
  EXPECT_NE(d.read("job.cas").find("\n    2 SOLUTION AT    50.00 % OF THE TOTAL LOAD\n"), std::string::npos)
      << d.read("job.cas");
  const std::string warning = "     ** WARNING **  PLATE MODEL OF THE CAP: REQUIRED INCREMENT LESS THAN MINIMUM SPECIFIED\n";
  EXPECT_NE(log.find(warning), std::string::npos) << log;
  EXPECT_NE(d.read("job.out").find(warning), std::string::npos);
  EXPECT_NE(d.read("job.out").find("RESULTS ARE FOR    50.00% OF THE TOTAL LOAD"), std::string::npos);
  EXPECT_NE(d.read("job.flg").find("\nerror, REQUIRED INCREMENT LESS THAN MINIMUM SPECIFIED\n"), std::string::npos);
  EXPECT_EQ(r.out.find("REQUIRED INCREMENT"), std::string::npos) << r.out;
  EXPECT_EQ(r.out.find("ITER ="), std::string::npos) << r.out;
}

// A plate model that the run refuses: the host says what failed, not only its code.
TEST(Host, APlateModelRefusedIsNamedByTheHost) {
  WorkDir d;
  d.write("job.dat", example("group2x2_plate_us.dat"));
  const HostRun r = run_host(d.path(), {"job.dat"});
  EXPECT_EQ(r.code, 47) << r.out;
  EXPECT_NE(r.out.find("torva: status 47: the plate model of the cap is missing"), std::string::npos) << r.out;
  const std::string log = d.read("job.log");
  EXPECT_NE(log.find("    PLATE MODEL OF THE CAP IS MISSING OR INVALID\n     MODEL FILE job.fem IS MISSING\n"),
            std::string::npos)
      << log;
}

TEST(Host, ACompletedRunExitsZeroAndSaysWhereItsFilesAre) {
  WorkDir d;
  d.write("job.dat", example("single_pile_elastic_us.dat"));
  const HostRun r = run_host(d.path(), {"job.dat"});
  EXPECT_EQ(r.code, 0) << r.out;
  EXPECT_EQ(d.read("job.log").find("NOT COMPLETED IN FULL"), std::string::npos);
  EXPECT_NE(r.out.find("torva: run log in " + (d.path() / "job.log").string()), std::string::npos);
  // Output that is not a terminal holds no control codes.
  EXPECT_EQ(r.out.find('\r'), std::string::npos);
  EXPECT_EQ(r.out.find('\033'), std::string::npos);
  EXPECT_EQ(d.read("job.stp"), "0\n");
}

TEST(Host, AStopRequestIsClearedWhenTheRunEnds) {
  WorkDir d;
  d.write("job.dat", long_overloaded_group());
  d.write("job.prg", "- ANALYSIS FOR LOAD COMB.   9/  9 FINISHED of an earlier run\n");
  const fs::path log = d.path() / "host.txt";
  const pid_t pid = start_host(d.path(), {"job.dat"}, log);
  // Ctrl-C once the analysis runs.
  for (int i = 0; i < 6000 && d.read("job.prg").find("LOAD CASE") == std::string::npos; ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  ::kill(pid, SIGINT);
  const HostRun r = finish_host(pid, log);
  EXPECT_EQ(r.code, 4) << r.out;
  EXPECT_NE(r.out.find("stop requested"), std::string::npos) << r.out;
  EXPECT_EQ(r.out.find("of an earlier run"), std::string::npos) << r.out;
  EXPECT_EQ(d.read("job.stp"), "0\n");
}

// OMP_NUM_THREADS limits the threads of a run; the default request (0) keeps its rule
// within that limit: 3 processors leave 2 threads for the 4 rows of the group.
TEST(Host, TheThreadCountHonoursOmpNumThreads) {
  WorkDir d;
  d.write("job.dat", example("group2x2_sand_us.dat"));
  const fs::path log = d.path().parent_path() / (d.path().filename().string() + ".host.txt");
  const HostRun r = finish_host(start_host(d.path(), {"job.dat"}, log, {"OMP_NUM_THREADS=3"}), log);
  fs::remove(log);
  EXPECT_EQ(r.code, 0) << r.out;
  const std::string runlog = d.read("job.log");
  EXPECT_NE(runlog.find("     Number Processors :  2/ 3\n"), std::string::npos) << runlog;
  EXPECT_EQ(runlog.find("/ 8\n"), std::string::npos);
}

TEST(Host, AWrongCommandLineNamesWhatWasRefused) {
  WorkDir d;
  d.write("a.dat", "");
  d.write("b.dat", "");
  const struct {
    std::vector<std::string> args;
    const char* message;
  } cases[] = {{{"--threads", "a.dat"}, "unknown option --threads"},
               {{"a.dat", "b.dat"}, "a.dat is given, and also b.dat"},
               {{"--mphi"}, "--mphi needs the name of a file"}};
  for (const auto& c : cases) {
    const HostRun r = run_host(d.path(), c.args);
    EXPECT_EQ(r.code, 2) << r.out;
    EXPECT_NE(r.out.find(c.message), std::string::npos) << r.out;
  }
}

TEST(Host, TheFolderIsShownByItsOwnPath) {
  WorkDir d;
  d.write("job.dat", example("single_pile_elastic_us.dat"));
  d.write_names("job.dat", "job");
  const HostRun r = run_host(d.path(), {"."});
  EXPECT_EQ(r.code, 0) << r.out;
  EXPECT_NE(r.out.find("results in " + (d.path() / "job.out").string() + "\n"), std::string::npos)
      << r.out;
  EXPECT_EQ(r.out.find("/./"), std::string::npos) << r.out;
}

// A report that fills the space it may take: the run ends with the status of a file that
// cannot be written, names the file and the system's reason, and never says "completed".
TEST(Host, AReportThatCannotBeWrittenInFullEndsTheRunWithItsName) {
  SKIP_UNDER_A_FILE_LIMIT_WITH_LLVM_OPENMP();
  WorkDir d;
  d.write("job.dat", example("group2x2_sand_us.dat"));
  // Files may grow to 16 kB; the results report needs more.
  const HostRun r = run_host_with_file_limit(d.path(), {"job.dat"}, 16384);
  EXPECT_EQ(r.code, 42) << r.out;
  const std::string out = (d.path() / "job.out").string();
  EXPECT_NE(r.out.find("A FILE OF THE RUN CANNOT BE WRITTEN: " + out + ": FILE TOO LARGE"),
            std::string::npos) << r.out;
  EXPECT_EQ(r.out.find("results in"), std::string::npos) << r.out;
  const std::string runlog = d.read("job.log");
  EXPECT_EQ(runlog.find("ANALYSIS COMPLETED"), std::string::npos);
  EXPECT_NE(runlog.find("    A FILE OF THE RUN CANNOT BE WRITTEN\n     " + out +
                        ": FILE TOO LARGE\n"),
            std::string::npos) << runlog;
}

// A file of the plate program of the cap that cannot be written in full is named as the
// run's own files are. Files may grow to 195 kB: only the plate's work files need more, and
// its element scratch file is the first to reach the limit.
TEST(Host, APlateProgramFileThatCannotBeWrittenEndsTheRunWithItsName) {
  SKIP_UNDER_A_FILE_LIMIT_WITH_LLVM_OPENMP();
  WorkDir d;
  d.write("job.dat", example("group2x2_plate_us.dat"));
  d.write("job.fem", example("group2x2_plate_us.fem"));
  const HostRun r = run_host_with_file_limit(d.path(), {"job.dat"}, 195 * 1024);
  EXPECT_EQ(r.code, 42) << r.out;
  const std::string failed = (d.path() / "fort3").string() + ": FILE TOO LARGE";
  EXPECT_NE(r.out.find("torva: A FILE OF THE RUN CANNOT BE WRITTEN: " + failed + "\n"), std::string::npos)
      << r.out;
  const std::string runlog = d.read("job.log");
  EXPECT_NE(runlog.find("    A FILE OF THE RUN CANNOT BE WRITTEN\n     " + failed + "\n"), std::string::npos)
      << runlog;
  EXPECT_NE(d.read("job.out").find(" **** FATAL ERROR **** PLATE MODEL OF THE CAP: A FILE CANNOT BE WRITTEN: " + failed + "\n"),
            std::string::npos);
}

// A run ended at any moment leaves no report with zero bytes in it, and none that mixes the
// earlier run's content with this one's: each is the earlier file whole, or the new run's
// beginning. SIGTERM (what `timeout` and batch schedulers send) ends the run as a stop
// request does.
TEST(Host, AKilledRunLeavesNoZeroBytesAndNoMixOfTwoRuns) {
  for (const int sig : {SIGKILL, SIGTERM}) {
    SCOPED_TRACE(sig == SIGKILL ? "SIGKILL" : "SIGTERM");
    WorkDir d;
    // The earlier run: every file of the set holds its own text.
    for (const char* ext : {".echo", ".out", ".sum", ".plt", ".log", ".cas", ".pld", ".gcd",
                            ".es1", ".es2", ".pls", ".pst", ".kmx", ".wrn", ".trc", ".lsd",
                            ".cvd", ".stt", ".sus"})
      d.write(std::string("job") + ext, std::string(30000, 'E') + " EARLIER RUN " + ext + "\n");
    const auto earlier = snapshot(d);
    const std::string earlier_title = "EARLIER RUN";
    d.write("job.dat", long_overloaded_group());
    const fs::path log = d.path().parent_path() / (d.path().filename().string() + ".host.txt");
    const pid_t pid = start_host(d.path(), {"job.dat"}, log);
    for (int i = 0; i < 6000 && d.read("job.prg").find("LOAD CASE") == std::string::npos; ++i)
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    ::kill(pid, sig);
    const HostRun r = finish_host(pid, log);
    fs::remove(log);
    if (sig == SIGTERM) {
      EXPECT_EQ(r.code, 4) << r.out;
      EXPECT_NE(d.read("job.log").find("*** ANALYSIS STOPPED BY USER ***"), std::string::npos);
    }
    for (const auto& [name, text] : snapshot(d)) {
      if (name == "job.dat" || name == "Names.dat" || name == "job.mph") continue;
      SCOPED_TRACE(name);
      const auto old = earlier.find(name);
      if (old != earlier.end() && old->second == text) continue;  // the earlier file whole
      EXPECT_EQ(text.find(earlier_title), std::string::npos);
      if (name != "job.pls" && name != "job.pst") {  // the record files hold binary words
        EXPECT_EQ(text.find('\0'), std::string::npos);
      }
    }
    // The run log says how far the run got: its last line is whole.
    const std::string runlog = d.read("job.log");
    ASSERT_FALSE(runlog.empty());
    EXPECT_EQ(runlog.back(), '\n');
    EXPECT_NE(runlog.find("     LOAD CASE :     1\n"), std::string::npos) << runlog;
  }
}

// A run without a stiffness estimation after one with: the estimation files are empty, not
// the earlier run's; so are the plate program's after a plate run that fails.
TEST(Host, EveryFileOfTheSetHoldsThisRunsContentOrIsEmpty) {
  WorkDir d;
  for (const char* ext : {".es1", ".es2", ".kmx", ".stt"})
    d.write(std::string("job") + ext, "an earlier run's stiffness estimation\n");
  d.write("job.dat", example("group2x2_sand_us.dat"));
  const HostRun r = run_host(d.path(), {"job.dat"});
  EXPECT_EQ(r.code, 0) << r.out;
  for (const char* ext : {".es1", ".es2", ".kmx", ".stt"})
    EXPECT_EQ(d.read(std::string("job") + ext), "") << ext;
  // A plate run that fails (its plate model file is missing) leaves no earlier listing or
  // results of the plate program.
  for (const char* ext : {".fel", ".fer", ".flg"})
    d.write(std::string("job") + ext, "an earlier plate run\n");
  d.write("job.dat", example("group2x2_plate_us.dat"));
  const HostRun plate = run_host(d.path(), {"job.dat"});
  EXPECT_NE(plate.code, 0) << plate.out;
  for (const char* ext : {".fel", ".fer", ".flg"})
    EXPECT_EQ(d.read(std::string("job") + ext).find("an earlier plate run"), std::string::npos) << ext;
}

// A line that holds more values than its record reads: the host's last words count the
// warnings and say where they are; the results report holds them after its heading.
TEST(Host, InputWarningsAreInTheLastWords) {
  WorkDir d;
  std::string s = example("single_pile_elastic_us.dat");
  const std::string from = "\n1.0E-4 1.0E-6 1.0 0.01\n";
  s.replace(s.find(from), from.size(), "\n1.0E-4 1.0E-6 1.0 0.01 7.5\n");
  d.write("job.dat", s);
  const HostRun r = run_host(d.path(), {"job.dat"});
  EXPECT_EQ(r.code, 0) << r.out;
  EXPECT_NE(r.out.find("torva: 1 input warning: check the values the run read; listed in " +
                       (d.path() / "job.log").string()),
            std::string::npos) << r.out;
  const std::string out = d.read("job.out");
  const auto at = out.find("     INPUT WARNINGS :    1\n     ** WARNING ** LINE 10 HOLDS MORE VALUES");
  EXPECT_NE(at, std::string::npos) << out;
  EXPECT_LT(at, out.find("LOAD CASE"));
}

// Threads without work sleep at once unless the user says how they wait: the runtime shows
// the spin count it took from the environment (GNU runtime; others show no spin count).
TEST(Host, ThreadsWaitPassivelyUnlessTheUserSaysOtherwise) {
  struct Case {
    std::vector<std::string> env;
    const char* spin;  // the spin count the runtime of the run shows last
  };
  const Case cases[] = {{{}, "'0'"},
                        {{"OMP_WAIT_POLICY=active"}, "'30000000000'"},
                        {{"GOMP_SPINCOUNT=1000"}, "'1000'"},
                        {{"OMP_NUM_THREADS=1"}, "'300000'"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.env.empty() ? "nothing set" : c.env[0]);
    WorkDir d;
    std::vector<std::string> env = c.env;
    env.push_back("OMP_DISPLAY_ENV=verbose");
    const fs::path log = d.path().parent_path() / (d.path().filename().string() + ".host.txt");
    const HostRun r = finish_host(start_host(d.path(), {"--help"}, log, env), log);
    fs::remove(log);
    EXPECT_EQ(r.code, 0);
    const std::size_t at = r.out.rfind("GOMP_SPINCOUNT = ");
    if (at == std::string::npos) GTEST_SKIP() << "the OpenMP runtime shows no spin count";
    EXPECT_EQ(r.out.substr(at + 17, std::strlen(c.spin)), c.spin) << r.out;
  }
}

TEST(Host, HelpNamesTheExitCodes) {
  WorkDir d;
  const HostRun r = run_host(d.path(), {"--help"});
  EXPECT_EQ(r.code, 0);
  for (const char* s : {"   0  ", "   4  ", "  60  ", "  61  ", "  41  ", "  42  ", "  62  ", "   2  ",
                        "  44  ", "OMP_NUM_THREADS", "--version"})
    EXPECT_NE(r.out.find(s), std::string::npos) << s;
  // A folder whose file-name list is missing or incomplete is refused with 61 (the engine's
  // own 40 is not reached): the help says so under 61.
  const std::size_t at = r.out.find("  61  "), end = r.out.find("  41  ");
  ASSERT_LT(at, end);
  EXPECT_NE(r.out.substr(at, end - at).find("Names.dat missing or incomplete"), std::string::npos) << r.out;
}

// A file-size limit (`ulimit -f`, as batch schedulers and shared hosts set one) never ends the
// host by its signal. A run that outgrows it ends with status 42 naming the file that reached
// it, and the summary report, which could still be written, ends saying so instead of looking
// complete; a limit too small for the file-name list refuses the run with nothing written.
TEST(Host, AFileSizeLimitEndsTheRunWithTheFileItStopped) {
  SKIP_UNDER_A_FILE_LIMIT_WITH_LLVM_OPENMP();
  const struct {
    const char* example;
    rlim_t bytes;
    int code;
    const char* message;
  } cases[] = {{"all_options_us", 50 * 1024, 42, "A FILE OF THE RUN CANNOT BE WRITTEN: "},
               {"all_options_us", 1024, 42, "A FILE OF THE RUN CANNOT BE WRITTEN: "},
               {"group2x2_plate_us", 1024, 42, "A FILE OF THE RUN CANNOT BE WRITTEN: "},
               {"all_options_us", 100, 61, "the file-name list"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.example) + ", " + std::to_string(c.bytes));
    WorkDir d;
    earlier_run(d);
    d.write("job.dat", example(std::string(c.example) + ".dat"));
    d.write("job.fem", example("group2x2_plate_us.fem"));
    const auto before = snapshot(d);
    const HostRun r = run_host_with_file_limit(d.path(), {"job.dat"}, c.bytes);
    ASSERT_EQ(r.code, c.code) << r.out;
    EXPECT_NE(r.out.find(c.message), std::string::npos) << r.out;
    if (c.code == 61) {
      EXPECT_NE(r.out.find(std::to_string(c.bytes) + " bytes"), std::string::npos) << r.out;
      EXPECT_EQ(snapshot(d), before);
      continue;
    }
    EXPECT_NE(r.out.find(d.path().string() + "/job."), std::string::npos) << r.out;
    EXPECT_NE(r.out.find(": FILE TOO LARGE\n"), std::string::npos) << r.out;
    EXPECT_EQ(r.out.find("results in"), std::string::npos) << r.out;
    // Every file that the limit cut is named, the run log too, which is then not pointed to.
    for (const auto& [name, text] : snapshot(d)) {
      if (text.size() != c.bytes) continue;
      EXPECT_NE(r.out.find(name), std::string::npos) << name << "\n" << r.out;
    }
    if (d.read("job.log").size() == c.bytes) {
      EXPECT_EQ(r.out.find("run log in"), std::string::npos) << r.out;
    }
    if (c.bytes > 20 * 1024) {
      const std::string sum = d.read("job.sum");
      EXPECT_NE(sum.find("A FILE OF THE RUN CANNOT BE WRITTEN"), std::string::npos) << sum.substr(sum.size() - 400);
    }
  }
}

// The reports of a run, without the lines that hold the time of day or the run's timing.
std::map<std::string, std::string> reports(const WorkDir& d) {
  std::map<std::string, std::string> r;
  for (const char* ext : {".out", ".sum", ".echo", ".cas", ".pld", ".log"}) {
    std::istringstream in(torva::testing::mask_variable_lines(d.read(std::string("job") + ext)));
    std::string line, kept;
    while (std::getline(in, line))
      if (line.find("Time:") == std::string::npos) kept += line + "\n";
    r[ext] = kept;
  }
  return r;
}

// A reader that closes the progress stream (a window closed, `head`, `grep -m1`) does not end
// the analysis: it runs to its end with the reports of an undisturbed run and its exit code.
TEST(Host, AReaderThatClosesTheProgressStreamLeavesTheRunToItsEnd) {
  WorkDir calm, cut;
  calm.write("job.dat", long_overloaded_group());
  cut.write("job.dat", long_overloaded_group());
  ASSERT_EQ(run_host(calm.path(), {"job.dat"}).code, 60);
  int pipe_fds[2];
  ASSERT_EQ(::pipe2(pipe_fds, O_CLOEXEC), 0);  // the host holds no read end
  Start how;
  how.out = pipe_fds[1];
  const fs::path log = cut.path().parent_path() / "unused.txt";
  const pid_t pid = start_host(cut.path(), {"job.dat"}, log, how);
  ::close(pipe_fds[1]);
  ::close(pipe_fds[0]);  // nobody reads the host's output
  const HostRun r = finish_host(pid, log);
  EXPECT_EQ(r.code, 60);
  auto disturbed = reports(cut);
  for (const auto& [ext, text] : reports(calm))
    EXPECT_TRUE(disturbed[ext] == text) << ext << " differs from the undisturbed run's";
}

// A file-name list that gives one file two roles is refused before any file is touched; so is
// one that names a file of the plate program (kept or written by the run) as a report, or one
// that the plate program could not write.
TEST(Host, ANamesListGivingOneFileTwoRolesIsRefusedBeforeAnythingIsTouched) {
  const RefusedCase cases[] = {
      {"results report named like the plate model file",
       [](WorkDir& d) {
         earlier_run(d);
         d.write("job.dat", example("group2x2_plate_us.dat"));
         d.write("job.fem", example("group2x2_plate_us.fem"));
         names_with(d, 7, "job.fem");
       },
       {"."}, 61, "the results report job.fem (Names.dat line 7) and the plate model file job.fem are one file"},
      {"summary report equal to the results report",
       [](WorkDir& d) {
         earlier_run(d);
         d.write("job.dat", example("group2x2_sand_us.dat"));
         names_with(d, 8, "./job.out");
       },
       {"."}, 61, "the results report job.out (Names.dat line 7) and the summary report ./job.out (Names.dat line 8) are one file"},
      {"summary report linked to the results report",
       [](WorkDir& d) {
         earlier_run(d);
         d.write("job.dat", example("group2x2_sand_us.dat"));
         d.write_names("job.dat", "job");
         fs::remove(d.path() / "job.sum");
         fs::create_hard_link(d.path() / "job.out", d.path() / "job.sum");
       },
       {"."}, 61, "the results report job.out (Names.dat line 7) and the summary report job.sum (Names.dat line 8) are one file"},
      {"run log named like the plate program's listing",
       [](WorkDir& d) {
         earlier_run(d);
         d.write("job.dat", example("group2x2_sand_us.dat"));
         names_with(d, 10, "job.fel");
       },
       {"."}, 61, "the run log job.fel (Names.dat line 10) and the plate program's listing job.fel are one file"},
      {"plate program's listing that is a folder",
       [](WorkDir& d) {
         earlier_run(d);
         d.write("job.dat", example("group2x2_plate_us.dat"));
         fs::create_directory(d.path() / "job.fel");
       },
       {"job.dat"}, 61, "the plate program's listing " },
      {"plate program's work file that is a FIFO",
       [](WorkDir& d) {
         earlier_run(d);
         d.write("job.dat", example("group2x2_plate_us.dat"));
         ::mkfifo((d.path() / "fort3").c_str(), 0644);
       },
       {"job.dat"}, 61, "fort3 is a FIFO"},
  };
  expect_refused(cases);
}

// A folder that holds an earlier plate run: whatever the next run is (a rigid cap, the cap
// model files only, a plate model that cannot be read), no file of the plate program is left
// from the earlier run beside the new reports.
TEST(Host, NoPlateFileOfAnEarlierRunIsLeftBesideTheNewReports) {
  const char* const plate_files[] = {"job.fel", "job.fer", "job.flg", "job.fmd", "job.fkw",
                                     "tslab.dat", "tslab.ftr", "fort2", "fort3", "fort4"};
  std::string broken_fem = example("group2x2_plate_us.fem");
  broken_fem.replace(broken_fem.find("\n0.25 0.0 1.0 0.01 50"), 5, "\nX.25");
  std::string model_only = example("group2x2_plate_us.dat");
  model_only.replace(model_only.find("\n1 3 0 1 0"), 10, "\n1 3 0 2 0");
  const struct {
    const char* name;
    std::string dat, fem;
  } cases[] = {{"rigid cap", example("group2x2_sand_us.dat"), ""},
               {"cap model files only", model_only, ""},
               {"plate model that cannot be read", example("group2x2_plate_us.dat"), broken_fem}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    WorkDir d;
    d.write("job.dat", example("group2x2_plate_us.dat"));
    d.write("job.fem", example("group2x2_plate_us.fem"));
    ASSERT_EQ(run_host(d.path(), {"job.dat"}).code, 0);
    for (const char* f : plate_files) d.write(f, std::string("earlier plate run: ") + f + "\n");
    d.write("job.dat", c.dat);
    if (!c.fem.empty()) d.write("job.fem", c.fem);
    const HostRun r = run_host(d.path(), {"job.dat"});
    for (const char* f : plate_files)
      EXPECT_EQ(d.read(f).find("earlier plate run"), std::string::npos) << f << "\n" << r.out;
  }
}

// A plate cap none of whose load steps converged: the summary report says so, as it does for
// a part of the load, and does not read as a completed run.
TEST(Host, APlateCapWithoutAConvergedStepSaysSoInTheSummary) {
  WorkDir d;
  d.write("job.dat", example("group2x2_plate_us.dat"));
  std::string fem = overloaded_plate();
  fem.replace(fem.find(" 40000.0 -4.0E6 "), 16, " 40000.0 -4.0E8 ");
  d.write("job.fem", fem);
  const HostRun r = run_host(d.path(), {"job.dat"});
  expect_one_incomplete(r, d.read("job.log"), "LOAD CASE      1: NO CONVERGENCE ON PILE CAP, LOAD REACHED    0.00 %");
  for (const char* ext : {".sum", ".out"}) {
    const std::string text = d.read(std::string("job") + ext);
    EXPECT_NE(text.find("TORVA COULD NOT GET SOLUTION FOR 100% OF THE LOAD"), std::string::npos) << ext;
  }
}

// A folder removed while its run goes on: the host names the file that failed and why, and
// points to no run log that is gone.
TEST(Host, AFolderRemovedDuringTheRunIsNamedByTheHost) {
  const fs::path log = fs::temp_directory_path() / ("torva_removed_" + std::to_string(::getpid()) + ".txt");
  pid_t pid = -1;
  fs::path folder;
  {
    WorkDir d;
    folder = d.path();
    d.write("job.dat", long_overloaded_group());
    pid = start_host(d.path(), {"job.dat"}, log);
    for (int i = 0; i < 6000 && d.read("job.prg").find("LOAD CASE") == std::string::npos; ++i)
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }  // the folder and every file in it are removed here
  const HostRun r = finish_host(pid, log);
  fs::remove(log);
  EXPECT_NE(r.code, 0) << r.out;
  EXPECT_NE(r.out.find("torva: A FILE OF THE RUN CANNOT BE "), std::string::npos) << r.out;
  EXPECT_NE(r.out.find(folder.string() + "/"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("was removed during the run"), std::string::npos) << r.out;
  EXPECT_EQ(r.out.find("run log in"), std::string::npos) << r.out;
  EXPECT_EQ(r.out.find("results in"), std::string::npos) << r.out;
}

// A SIGTERM that reaches the host before it has started the engine (here held back from the
// start, as one sent in its first milliseconds is) stops the run as it does later: status 4,
// and nothing of the earlier run is touched; also when the host starts itself again to set
// how its threads wait (the signal is taken by the host that runs, not by the one it
// replaces).
TEST(Host, AStopSignalBeforeTheRunStartsEndsWithStatus4AndTouchesNothing) {
  for (const char* env : {"", "OMP_NUM_THREADS=2"}) {
    SCOPED_TRACE(*env ? "the host starts itself again" : "the caller's environment");
    WorkDir d;
    earlier_run(d);
    d.write("job.dat", example("group2x2_sand_us.dat"));
    const auto before = snapshot(d);
    Start how;
    how.hold_term = true;
    if (*env) how.env = {env};
    const fs::path log = d.path().parent_path() / (d.path().filename().string() + ".host.txt");
    const pid_t pid = start_host(d.path(), {"job.dat"}, log, how);
    ASSERT_GT(pid, 0);
    ::kill(pid, SIGTERM);
    const HostRun r = finish_host(pid, log);
    fs::remove(log);
    EXPECT_EQ(r.code, 4) << r.out;
    EXPECT_NE(r.out.find("no file was written"), std::string::npos) << r.out;
    EXPECT_EQ(snapshot(d), before);
  }
}

// A host started with SIGHUP ignored (`nohup torva ... &`, so that the run outlives the
// terminal) keeps it ignored: a hangup does not stop the run.
TEST(Host, AHangupThatTheHostWasStartedToIgnoreDoesNotStopTheRun) {
  WorkDir d;
  d.write("job.dat", long_overloaded_group());
  Start how;
  how.ignore_hup = true;
  const fs::path log = d.path().parent_path() / (d.path().filename().string() + ".host.txt");
  const pid_t pid = start_host(d.path(), {"job.dat"}, log, how);
  for (int i = 0; i < 6000 && d.read("job.prg").find("LOAD CASE") == std::string::npos; ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  ::kill(pid, SIGHUP);
  const HostRun r = finish_host(pid, log);
  fs::remove(log);
  EXPECT_EQ(r.code, 60) << r.out;
  EXPECT_EQ(r.out.find("stop requested"), std::string::npos) << r.out;
}

// The model's warnings (here a ground that is not the top of the first soil layer) are
// counted in the host's last words, as the input warnings are, with where they are listed.
TEST(Host, ModelWarningsAreInTheLastWords) {
  WorkDir d;
  std::string s = example("single_pile_elastic_us.dat");
  const std::string from = "\n0.0 0.0 0.0 0.0 90.0 0.0 -0.01\n";
  s.replace(s.find(from), from.size(), "\n0.0 0.0 0.0 0.0 90.0 0.0 -2.0\n");
  d.write("job.dat", s);
  const HostRun r = run_host(d.path(), {"job.dat"});
  EXPECT_EQ(r.code, 0) << r.out;
  EXPECT_NE(r.out.find("torva: 1 model warning: check the model; listed in " +
                       (d.path() / "job.log").string() + " and " + (d.path() / "job.out").string()),
            std::string::npos) << r.out;
  EXPECT_NE(d.read("job.log").find("     MODEL WARNINGS :    1\n"), std::string::npos);
  EXPECT_EQ(r.out.find("input warning"), std::string::npos) << r.out;
}

// The progress of a long case reaches the output as it changes: its load steps, one line each
// when the output is not a terminal, without the engine's leading blank or dash.
TEST(Host, ProgressLinesShowTheLoadStepsAsTheyChange) {
  WorkDir d;
  d.write("job.dat", long_overloaded_group());
  const HostRun r = run_host(d.path(), {"job.dat"});
  EXPECT_EQ(r.code, 60) << r.out;
  EXPECT_NE(r.out.find("\nANALYSIS FOR LOAD CASE 1/1 ("), std::string::npos) << r.out;
  EXPECT_NE(r.out.find(" proc.) STEP: "), std::string::npos) << r.out;
  EXPECT_EQ(r.out.find("ITERATION"), std::string::npos) << r.out;
  std::istringstream in(r.out);
  for (std::string line; std::getline(in, line);) {
    ASSERT_FALSE(line.empty()) << r.out;
    EXPECT_NE(line[0], ' ') << line;
    EXPECT_NE(line[0], '-') << line;
  }
}

TEST(Host, VersionPrintsTheVersion) {
  WorkDir d;
  const HostRun r = run_host(d.path(), {"--version"});
  EXPECT_EQ(r.code, 0);
  EXPECT_EQ(r.out, "torva 1.0\n");
}

}  // namespace
