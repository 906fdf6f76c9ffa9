// Run driver, file set, status lines, timing reports and the thread-count rule.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <string>

#include "cap/example_fixture.h"
#include "cap/fvec.h"
#include "cap/fvec2d.h"
#include "cap/progress.h"
#include "driver/itorva.h"
#include "driver/runctl.h"
#include "echo/echo.h"
#include "input/readinput.h"
#include "io/platform.h"
#include "io/threads.h"
#include "model/status.h"
#include "pile/loads.h"
#include "stiffness/captstf.h"
#include "support/filesizelimit.h"
#include "support/workdir.h"

namespace torva {
namespace {

using torva::testing::WorkDir;

// Fixed clock, date and processor count for the length of a test.
struct FixedPlatform {
  FixedPlatform(double t = 0.0, int procs = 8) {
    platform::set_clock([t] { return t; });
    platform::set_date([] { return platform::DateTime{2026, 12, 10, 9, 30, 0}; });
    platform::set_processors([procs] { return procs; });
  }
  ~FixedPlatform() {
    platform::set_clock(nullptr);
    platform::set_date(nullptr);
    platform::set_processors(nullptr);
  }
};

struct TimingCase {
  double t;
  const char* line;
};

TEST(Timing, ExecutionTimeLineByMagnitude) {
  const TimingCase cases[] = {
      {0.4, "     Execution Time    :  400 ms"},
      {0.0, "     Execution Time    :    0 ms"},
      {75.25, "     Execution Time    :    1 min   15 sec  250 ms"},
      {3725.0, "     Execution Time    :       1 hr    2 min    5 sec    0 ms"},
      {12.5, "     Execution Time    :   12 sec  500 ms"}};
  WorkDir dir;
  for (const TimingCase& c : cases) {
    SCOPED_TRACE(c.t);
    auto m = new_model();
    ASSERT_TRUE(m->RUNLOG.open_write("log.txt"));
    m->TSTART = c.t;
    m->NTHRUN = 6;
    m->NTHMAX = 8;
    WRTIME(*m);
    m->RUNLOG.close();
    EXPECT_EQ(dir.read("log.txt"), std::string(c.line) + "\n     Number Processors :  6/ 8\n");
  }
}

TEST(Timing, CaseReportSplitsSerialParallelAndPrintTime) {
  WorkDir dir;
  auto m = new_model();
  ASSERT_TRUE(m->RUNLOG.open_write("log.txt"));
  m->TCASE = 2.5;
  m->TPAR = 1.25;
  m->TPRT = 0.5;
  m->NTHUSE = 4;
  m->NTHMAX = 8;
  WRTIMEX(*m);
  m->RUNLOG.close();
  EXPECT_DOUBLE_EQ(m->TSER, 0.75);
  EXPECT_EQ(dir.read("log.txt"),
            "     Execution Time    :    2 sec  500 ms\n"
            "     Number Processors :  4/ 8\n"
            "     Serial processing :     0.750 sec\n"
            "     Paral. processing :     1.250 sec\n"
            "     Print. processing :     0.500 sec\n");
}

struct ThreadCase {
  int procs, request, rows, cap, want;
};

TEST(Setnthr, ThreadCountRule) {
  const ThreadCase cases[] = {
      {8, 0, 10, 0, 6}, {8, 0, 4, 0, 4},  {8, 0, 10, 1, 2}, {1, 0, 10, 0, 1}, {8, 12, 100, 0, 8},
      {3, 0, 10, 0, 2}, {2, 0, 10, 0, 1}, {4, 0, 10, 0, 2}, {8, 0, 0, 0, 1},  {8, -3, 10, 0, 1}};
  for (const ThreadCase& c : cases) {
    SCOPED_TRACE(::testing::Message() << "procs " << c.procs << " request " << c.request);
    FixedPlatform p(0.0, c.procs);
    int use = 1, run = 1;
    EXPECT_EQ(SETNTHR(c.request, use, run, c.rows, c.cap), c.want);
    EXPECT_EQ(use, std::max(1, c.want));
    EXPECT_EQ(run, std::max(1, c.want));
  }
}

TEST(Setnthr, RunningMaximaOnlyRise) {
  FixedPlatform p(0.0, 8);
  int use = 5, run = 7;
  EXPECT_EQ(SETNTHR(2, use, run, 10, 0), 2);
  EXPECT_EQ(use, 5);
  EXPECT_EQ(run, 7);
}

// A loop takes one more thread for each full share of pile nodes, never more than the rule
// gave it, and always at least one.
TEST(Loopthr, ThreadsFollowTheWorkWithinTheRule) {
  const long long s = kNodesPerThread;
  const struct {
    int limit;
    long long nodes;
    int want;
  } cases[] = {{6, 0, 1},         {6, s - 1, 1},  {6, 2 * s - 1, 1}, {6, 2 * s, 2},
               {6, 5 * s + 7, 5}, {6, 100 * s, 6}, {1, 100 * s, 1},  {6, -5, 1}};
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message() << "limit " << c.limit << " nodes " << c.nodes);
    EXPECT_EQ(LOOPTHR(c.limit, c.nodes), c.want);
  }
}

// The nodes of each row's pile: its segments and four more; a row without a pile property
// still counts its four.
TEST(Loopthr, RowNodesSumEveryRowsPile) {
  auto m = new_model();
  m->NROW = 4;
  m->NSEG(1) = 100;
  m->NSEG(2) = 20;
  m->PTYPE(1) = 1;
  m->PTYPE(2) = 2;
  m->PTYPE(3) = 1;
  m->PTYPE(4) = 0;
  EXPECT_EQ(ROWNODES(*m), 104 + 24 + 104 + 4);
}

struct StatusCase {
  int code;
  std::vector<std::string> lines;
};

TEST(StatusLines, EveryCodeHasItsEndOfRunLines) {
  const std::string err = "    * ERROR IN ANALYSIS *";
  const std::string beyond = "    CURRENT DEPTH IS BEYOND THE EXTENT";
  const StatusCase cases[] = {
      {0, {"    ANALYSIS COMPLETED"}},
      {3, {err, "    PILE LENGTH EXTENDS BELOW THE BOTTOM", "    OF THE DEEPEST LAYER, NODE"}},
      {4, {"     *** ANALYSIS STOPPED BY USER ***"}},
      {13, {err, "    PILE LENGTH EXTENDS BELOW THE BOTTOM", "    OF THE DEEPEST LAYER, NODE2D"}},
      {21, {err, "    WEAK ROCK, THE COHESIVE STRENGTH IS ZERO"}},
      {22, {err, beyond, "    OF INPUT CURVE FOR UNIT WEIGHT"}},
      {23, {err, beyond, "    OF INPUT CURVE FOR COHESION"}},
      {24, {err, beyond, "    OF INPUT CURVE FOR FRICTION ANGLE"}},
      {25, {err, beyond, "    OF INPUT CURVE FOR SIDE FRICTION"}},
      {26, {err, beyond, "    OF INPUT CURVE FOR SIDE RESISTANCE"}},
      {27, {err, beyond, "    OF INPUT CURVE FOR FRICTION ANGLE"}},
      {28, {err, "    SILT, THE FRICTION ANGLE IS ZERO"}},
      {29, {err, "    SILT, SLOPE ANGLE GREATER THAN FRICTION ANGLE"}},
      {30, {err, "    SAND, THE FRICTION ANGLE IS ZERO"}},
      {32, {err, "     LS CURVE, E50 VALUE IS ZERO"}},
      {33, {err, "      LS CURVE, COHESION VALUE IS ZERO"}},
      {34, {err, "     TORQUE CURVE, E50 VALUE IS ZERO"}},
      {35, {err, "     TORQUE CURVE, COHESION VALUE IS ZERO"}},
      {40, {err, "    FILE-NAME LIST Names.dat IS MISSING OR INCOMPLETE"}},
      {41, {err, "    A FILE OF THE RUN CANNOT BE OPENED"}},
      {42, {err, "    A FILE OF THE RUN CANNOT BE WRITTEN"}},
      {43, {err, "    INPUT DATA FILE CANNOT BE READ"}},
      {44, {err, "    INVALID INPUT DATA"}},
      {45, {err, "    INTERNAL ERROR OF THE ENGINE"}},
      {46, {err, "    OPTION NOT AVAILABLE IN THIS ENGINE"}},
      {99, {err, "    99, UNKNOWN CODE"}}};
  for (const StatusCase& c : cases) {
    SCOPED_TRACE(c.code);
    std::string out[4];
    int n = 0;
    status_lines(c.code, out, n);
    ASSERT_EQ(n, int(c.lines.size()));
    for (int i = 0; i < n; ++i) EXPECT_EQ(out[i], c.lines[std::size_t(i)]);
  }
}

TEST(Itorva, WrongArgumentReturnsOneAndWritesNothing) {
  WorkDir dir;
  dir.write_names();
  for (int mode : {0, 2, 4, -1}) EXPECT_EQ(run_itorva(mode), 1);
  int files = 0;
  for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(dir.path())) ++files;
  EXPECT_EQ(files, 1);  // only Names.dat
}

TEST(Itorva, MissingNamesListIsAStatusNotACrash) {
  WorkDir dir;
  EXPECT_EQ(run_itorva(3), ST_NAMESDAT);
  EXPECT_FALSE(dir.exists("Names.dat"));
  dir.write("Names.dat", "TORVA\n\n\n\ncase.dat\ncase.echo\n");  // short list
  EXPECT_EQ(run_itorva(3), ST_NAMESDAT);
  EXPECT_FALSE(dir.exists("case.echo"));
}

// Writes "Names.dat" with its line `line` replaced by `text`.
void replace_names_line(const WorkDir& dir, int line, const std::string& text) {
  std::string names = dir.read("Names.dat");
  std::size_t at = 0;
  for (int i = 1; i < line; ++i) at = names.find('\n', at) + 1;
  names.replace(at, names.find('\n', at) - at, text);
  dir.write("Names.dat", names);
}

// A line of the file-name list that names no file (empty, or blanks only, or missing from
// a list that ends early) ends the run before any file is opened or emptied; the progress
// file, which the host reads, names the list, the line and what the line should hold. With
// no progress file named, the status alone says it.
TEST(Itorva, ALineOfTheNamesListThatNamesNoFileIsNamedByItsLine) {
  const struct {
    int line;
    const char* text;  // the line's text; none: the list ends before the line
    const char* role;
    int ends = 0;  // the list ends before this line too (0: it does not)
  } cases[] = {{5, "", "INPUT DATA FILE"},
               {10, "      ", "RUN LOG"},
               {18, "  ", "STOP-REQUEST FILE"},
               {27, " ", "MOMENT-CURVATURE LISTING"},
               {13, "   ", "PROGRESS FILE"},
               {14, nullptr, "GENERATED-CURVE DETAILS"},
               {22, nullptr, "SOLVER TRACE"},
               {27, nullptr, "MOMENT-CURVATURE LISTING"},
               {13, nullptr, "PROGRESS FILE"},
               {10, " ", "RUN LOG", 20}};  // the first line that names no file
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.line) + (c.text ? " blank" : " missing"));
    WorkDir dir;
    dir.write("case.dat", "TITLE\n");
    dir.write_names();
    if (c.text) replace_names_line(dir, c.line, c.text);
    if (const int ends = c.text ? c.ends : c.line; ends > 0) {
      const std::string names = dir.read("Names.dat");
      std::size_t at = 0;
      for (int i = 1; i < ends; ++i) at = names.find('\n', at) + 1;
      dir.write("Names.dat", names.substr(0, at));
    }
    dir.write("case.log", "earlier run log\n");
    EXPECT_EQ(run_itorva(3), ST_NAMESDAT);
    EXPECT_EQ(dir.read("case.log"), "earlier run log\n");
    EXPECT_FALSE(dir.exists("case.echo"));
    if (c.line == 13) {
      EXPECT_FALSE(dir.exists("case.prg"));
      continue;
    }
    EXPECT_EQ(dir.read("case.prg"),
              " - FILE-NAME LIST Names.dat IS MISSING OR INCOMPLETE\n"
              "     **** INPUT ERROR ****\n"
              "     FILE-NAME LIST: " + (dir.path() / "Names.dat").string() + "\n"
              "     LINE " + std::to_string(c.line) + "\n"
              "     FIELD NAME OF THE " + c.role +
                  ": FOUND " + (c.text ? "A BLANK LINE" : "THE END OF THE FILE") +
                  ", EXPECTED THE NAME OF A FILE\n\n");
  }
}

// A list refused for a line that names no file, whose progress file is the input: the
// message that names the line is not written over the input.
TEST(Itorva, ARefusedListWritesNoMessageOverTheInput) {
  WorkDir dir;
  dir.write("case.dat", "TITLE\n");
  dir.write_names();
  replace_names_line(dir, 13, "./case.dat");
  replace_names_line(dir, 10, " ");
  EXPECT_EQ(run_itorva(3), ST_NAMESDAT);
  EXPECT_EQ(dir.read("case.dat"), "TITLE\n");
}

// A run that cannot start leaves every earlier file as it was.
TEST(Itorva, MissingInputFileIsReportedAndNothingIsEmptied) {
  FixedPlatform p;
  WorkDir dir;
  dir.write_names("missing.dat");
  dir.write("case.log", "run log of an earlier run\n");
  dir.write("case.out", "results of an earlier run\n");
  EXPECT_EQ(run_itorva(3), ST_FILEOPEN);
  EXPECT_FALSE(dir.exists("missing.dat"));
  EXPECT_EQ(dir.read("case.log"), "run log of an earlier run\n");
  EXPECT_EQ(dir.read("case.out"), "results of an earlier run\n");
  EXPECT_FALSE(dir.exists("case.echo"));
}

TEST(Itorva, AnUnwritableReportLeavesTheOthersUntouched) {
  WorkDir dir;
  dir.write("case.dat", "TITLE\n");
  dir.write_names();
  dir.write("case.out", "results of an earlier run\n");
  std::filesystem::create_directory(dir.path() / "case.sum");  // cannot be opened as a file
  EXPECT_EQ(run_itorva(3), ST_FILEOPEN);
  EXPECT_EQ(dir.read("case.out"), "results of an earlier run\n");
  EXPECT_FALSE(dir.exists("case.echo"));
}

// Every file the run reads, and every file it writes, is checked before any is emptied:
// earlier reports stay byte for byte, and a FIFO or a device is refused instead of blocking
// the run or being read without end.
TEST(Itorva, FilesThatCannotServeTheRunAreRefusedBeforeAnythingIsEmptied) {
  const struct {
    const char* name;
    int line;           // the line of Names.dat that names the file
    const char* value;  // its name there
    const char* reason;
  } cases[] = {{"input that is a folder", 5, "sub", "sub: IS A FOLDER, NOT A REGULAR FILE"},
               {"input that is a device", 5, "/dev/zero", "/dev/zero: IS A DEVICE"},
               {"input that is a FIFO", 5, "fifo", "fifo: IS A FIFO"},
               {"listing in a missing folder", 27, "nofolder/case.mph",
                "nofolder/case.mph: NO SUCH FILE OR DIRECTORY"},
               {"results report that is a device", 7, "/dev/full", "/dev/full: IS A DEVICE"},
               {"estimation records that are a FIFO", 15, "fifo", "fifo: IS A FIFO"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    WorkDir dir;
    dir.write("case.dat", "TITLE\n");
    std::filesystem::create_directory(dir.path() / "sub");
    ASSERT_EQ(::mkfifo((dir.path() / "fifo").c_str(), 0644), 0);
    dir.write_names();
    replace_names_line(dir, c.line, c.value);
    for (const char* ext : {".out", ".log", ".echo", ".sum"})
      dir.write(std::string("case") + ext, std::string("earlier ") + ext + "\n");
    EXPECT_EQ(run_itorva(3), ST_FILEOPEN);
    for (const char* ext : {".out", ".log", ".echo", ".sum"})
      EXPECT_EQ(dir.read(std::string("case") + ext), std::string("earlier ") + ext + "\n");
    EXPECT_FALSE(dir.exists("case.cas"));
    const std::string prg = dir.read("case.prg");
    EXPECT_NE(prg.find(" - A FILE OF THE RUN CANNOT BE OPENED: "), std::string::npos) << prg;
    EXPECT_NE(prg.find(c.reason), std::string::npos) << prg;
  }
}

// A file-name list that gives one file two roles (by one name, by two names of one file, or
// by the name of a file of the plate program), or a plate program's file that the run could
// not write, is refused before any file is opened or emptied. A progress file that is one of
// the two is not written either.
TEST(Itorva, OneFileInTwoRolesIsRefusedBeforeAnythingIsTouched) {
  const struct {
    const char* name;
    int line;           // the line of Names.dat that names the file (0: the list as written)
    const char* value;  // its name there
    const char* reason;  // in the progress file (none: no progress file is written)
    int line2 = 0;       // a second line of Names.dat replaced (0: none)
    const char* value2 = "";
  } cases[] = {
      {"summary report equal to the results report", 8, "./case.out",
       "case.out: NAMED AS THE RESULTS REPORT (Names.dat LINE 7) AND AS THE SUMMARY REPORT "
       "(Names.dat LINE 8): ONE FILE CANNOT SERVE TWO ROLES"},
      {"results report named like the plate model file", 7, "case.fem",
       "case.fem: NAMED AS THE RESULTS REPORT (Names.dat LINE 7) AND AS THE PLATE MODEL FILE: "},
      {"run log named like the plate program's step log", 10, "sub/../case.flg",
       "case.flg: NAMED AS THE RUN LOG (Names.dat LINE 10) AND AS THE PLATE PROGRAM'S STEP LOG: "},
      {"summary report linked to the results report", 8, "linked.sum",
       "linked.sum: NAMED AS THE RESULTS REPORT (Names.dat LINE 7) AND AS THE SUMMARY REPORT"},
      {"progress file equal to the results report", 13, "case.out", nullptr},
      {"summary report a link to a results report not yet written", 7, "new.out",
       "dangling.sum: NAMED AS THE RESULTS REPORT (Names.dat LINE 7) AND AS THE SUMMARY REPORT", 8,
       "dangling.sum"},
      {"progress file equal to the input, beside another pair", 8, "case.out", nullptr, 13, "case.dat"},
      {"progress file equal to the file-name list, beside another pair", 8, "case.out", nullptr, 13,
       "Names.dat"},
      {"plate program's listing that is a folder", 0, "", "case.fel: IS A FOLDER, NOT A REGULAR FILE"},
      {"plate program's work file that is a FIFO", 0, "", "fort3: IS A FIFO, NOT A REGULAR FILE"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    WorkDir dir;
    dir.write("case.dat", "TITLE\n");
    dir.write("case.fem", "earlier plate model\n");
    std::filesystem::create_directory(dir.path() / "sub");
    dir.write_names();
    for (const char* ext : {".out", ".log", ".echo", ".sum", ".fer"})
      dir.write(std::string("case") + ext, std::string("earlier ") + ext + "\n");
    std::filesystem::create_hard_link(dir.path() / "case.out", dir.path() / "linked.sum");
    std::filesystem::create_symlink("new.out", dir.path() / "dangling.sum");
    std::filesystem::create_directory(dir.path() / "case.fel");
    ::mkfifo((dir.path() / "fort3").c_str(), 0644);
    if (c.line > 0) {
      replace_names_line(dir, c.line, c.value);
      if (c.line2 > 0) replace_names_line(dir, c.line2, c.value2);
      std::filesystem::remove(dir.path() / "case.fel");
      std::filesystem::remove(dir.path() / "fort3");
    } else if (std::string(c.reason).find("fort3") != std::string::npos) {
      std::filesystem::remove(dir.path() / "case.fel");
    }
    dir.write("case.prg", "earlier progress\n");
    const std::string names = dir.read("Names.dat");
    EXPECT_EQ(run_itorva(3), ST_FILEOPEN);
    for (const char* ext : {".out", ".log", ".echo", ".sum", ".fer", ".fem"})
      EXPECT_NE(dir.read(std::string("case") + ext).find("earlier"), std::string::npos) << ext;
    EXPECT_EQ(dir.read("case.dat"), "TITLE\n");
    EXPECT_EQ(dir.read("Names.dat"), names);
    EXPECT_FALSE(dir.exists("case.cas"));
    EXPECT_FALSE(dir.exists("new.out"));
    const std::string prg = dir.read("case.prg");
    if (!c.reason) {
      EXPECT_EQ(prg, "earlier progress\n");
      continue;
    }
    EXPECT_NE(prg.find(" - A FILE OF THE RUN CANNOT BE OPENED: " + dir.path().string() + "/"), std::string::npos) << prg;
    EXPECT_NE(prg.find(c.reason), std::string::npos) << prg;
  }
}

TEST(Itorva, OutputInAMissingFolderIsReported) {
  WorkDir dir;
  dir.write("case.dat", "TITLE\n");
  dir.write_names("case.dat", "nofolder/case");
  EXPECT_EQ(run_itorva(3), ST_FILEOPEN);
  EXPECT_FALSE(std::filesystem::exists(dir.path() / "nofolder"));
}

TEST(Itorva, StopRequestBeforeTheRun) {
  FixedPlatform p;
  WorkDir dir;
  dir.write("case.dat", "TITLE 1\nTITLE 2\n");
  dir.write_names();
  dir.write("case.stp", "1\n");
  dir.write("case.out", "stale results of an earlier run\n");
  EXPECT_EQ(run_itorva(3), ST_STOP);
  EXPECT_EQ(dir.read("case.prg"), " - ANALYSIS STARTED\n\n");
  EXPECT_EQ(dir.read("case.log"),
            "     \n"
            "      *** ANALYSIS STOPPED BY USER ***\n"
            "     Execution Time    :    0 ms\n"
            "     Number Processors :  1/" +
                std::string(platform::max_threads() < 10 ? " " : "") +
                std::to_string(platform::max_threads()) + "\n");
  EXPECT_EQ(dir.read("case.out"), "      \n      *** ANALYSIS STOPPED BY USER ***\n");
  EXPECT_EQ(dir.read("case.sum"),
            "      \n      *** ANALYSIS STOPPED BY USER ***\n\n\n\n\n"
            "                 *****     SUMMARY FOR LOAD CASES AND COMBINATIONS      *****\n");
  EXPECT_EQ(dir.read("case.stp"), "1\n");  // the engine never writes the stop request
  Model* m = current_model();
  ASSERT_NE(m, nullptr);
  EXPECT_FALSE(m->RUNLOG.is_open());
  EXPECT_FALSE(m->REPORT.is_open());
  EXPECT_FALSE(m->INPUT.is_open());
}

TEST(Itorva, StopFileThatIsNotOneDoesNotStop) {
  FixedPlatform p;
  WorkDir dir;
  dir.write("case.dat", "TITLE 1\nTITLE 2\n");
  dir.write_names();
  for (const char* v : {"0\n", "STOP\n", ""}) {
    dir.write("case.stp", v);
    EXPECT_NE(run_itorva(3), ST_STOP) << v;
  }
}

// The stop request is one integer, the first value of the file: only the whole integer 1 stops.
TEST(StopPoll, OnlyTheInteger1IsARequest) {
  struct Case {
    const char* text;
    bool stop;
  };
  const Case cases[] = {
      {"1\n", true},   {"1", true},       {"  1  \r\n", true}, {"\n\n1\n", true},
      {"+1\n", true},  {"1 0\n", true},   {"1,\n", true},     {"1.0\n", false},
      {"1abc\n", false}, {"1e0\n", false}, {"1.\n", false},    {"0\n", false},
      {"2\n", false},  {"-1\n", false},   {"STOP\n", false},  {"", false},
      {"  \n", false}, {"4294967297\n", false}};
  WorkDir dir;
  auto m = new_model();
  m->FNAME[R_STOPREQ] = "case.stp";
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    dir.write("case.stp", c.text);
    EXPECT_EQ(stop_requested(*m), c.stop);
    EXPECT_EQ(dir.read("case.stp"), c.text);  // the engine never writes the request
  }
  std::filesystem::remove(dir.path() / "case.stp");
  EXPECT_FALSE(stop_requested(*m));
  EXPECT_TRUE(dir.exists("case.stp"));  // a missing file is created empty, as the host expects
}

// A failed internal check ends the run in order: the run log shows the time the run took (not
// the clock's reading) and the check's own message with its file and line.
TEST(Itorva, InternalFailureLogsElapsedTimeAndTheCheck) {
  FixedPlatform p(2402.5);  // a clock that reads 40 min when the run starts and ends
  WorkDir dir;
  dir.write("case.dat", "TITLE 1\nTITLE 2\n");
  dir.write_names();
  auto m = new_model();
  int status = ST_OK;
  int line = 0;
  run_frame(*m, status, [&line](Model& mm, int& st) {
    OPENFILES(mm, st);
    line = __LINE__ + 1;
    assert_failed("row <= NROW", "planted failure", __FILE__, line);
  });
  EXPECT_EQ(status, ST_INTERNAL);
  const std::string log = dir.read("case.log");
  EXPECT_NE(log.find("     * ERROR IN ANALYSIS *\n"
                     "     INTERNAL ERROR OF THE ENGINE\n"
                     "     " __FILE__ ":" + std::to_string(line) +
                     ": planted failure (row <= NROW)\n"
                     "     Execution Time    :    0 ms\n"),
            std::string::npos)
      << log;
  EXPECT_FALSE(m->RUNLOG.is_open());
}

// A check that fails inside a parallel pile-row loop (the cap's force sum in 3-D and 2-D,
// the equivalent stiffness at the origin; here on a row whose pile property was lost after
// the input checks) ends the run as one outside the loop does: the run log carries the
// check's file, line and text, not only the engine's error, and nothing leaves the loop.
TEST(Itorva, InternalFailureInsideThePileRowLoopLogsTheCheck) {
#if !(defined(TORVA_CHECKS) && TORVA_CHECKS)
  GTEST_SKIP() << "the table checks are off in this build";
#endif
  enum Loop { FORCE_SUM, STIFFNESS };
  const struct {
    const char* example;
    Loop loop;
  } cases[] = {
      {"group2x2_sand_us.dat", FORCE_SUM},
      {"bent_2d_stiff_clay_us.dat", FORCE_SUM},
      {"group2x2_sand_us.dat", STIFFNESS},
  };
  for (const auto& k : cases) {
    SCOPED_TRACE(::testing::Message() << k.example << " loop " << k.loop);
    WorkDir dir;
    dir.write("case.dat", testing::read_example(k.example));
    dir.write("case.mph", "");
    dir.write_names();
    auto m = new_model();
    int status = ST_OK;
    run_frame(*m, status, [&k](Model& mm, int& st) {
      OPENFILES(mm, st);
      if (st == ST_OK) READINPUT(mm, st);
      mm.NTHMAX = 2;
      mm.NTHUSE = mm.NTHRUN = 1;
      if (st == ST_OK) CONVINPUT(mm);
      if (st == ST_OK) ECHOINPUT(mm, st);
      if (st != ST_OK) return;
      mm.ICASE = 1;
      mm.ICOMB = 0;
      SETCURCASE(mm, 1);
      mm.NTHREQ = mm.NTHUSE = 2;
      mm.PTYPE(2) = 0;
      Vec6 F, U;
      for (int i = 1; i <= 6; ++i) F(i) = U(i) = 0.0;
      if (k.loop == STIFFNESS) {
        Mat6 K;
        CAPTSTF(mm, st, 0, 1, 1, 1.0, F, U, K);
      } else if (mm.NDIM == 2) {
        Vec3 F3, U3;
        U3.fill(0.0);
        FVEC2D(mm, F3, U3, st);
      } else {
        FVEC(mm, F, U, st);
      }
    });
    EXPECT_EQ(status, ST_INTERNAL);
    const std::string log = dir.read("case.log");
    EXPECT_NE(log.find("     INTERNAL ERROR OF THE ENGINE\n"
                       "     "),
              std::string::npos)
        << log;
    EXPECT_NE(log.find(": index out of table bounds ("), std::string::npos) << log;
  }
}

// Trailing blanks go (a blank line keeps one blank), but no line is cut: the along-pile
// extreme lines of the summary run past 120 columns and would lose their last quantities.
// A file whose lines cannot all be written turns a completed (or stopped) run into status
// 42; the run log names the file and the reason, and the progress file too, for the host,
// also when the run log itself is the file.
TEST(Finish, AFileThatCannotBeWrittenEndsTheRunWithItsNameAndReason) {
  for (const bool runlog_fails : {false, true}) {
    SCOPED_TRACE(runlog_fails ? "run log" : "results report");
    FixedPlatform p;
    WorkDir dir;
    auto m = new_model();
    for (int r = 0; r < NROLES; ++r)
      m->FNAME[r] = r == 0 ? "case.dat" : "case" + std::string(torva::testing::kRoleExt[r - 1]);
    const FileRole failing = runlog_fails ? R_RUNLOG : R_REPORT;
    m->FNAME[failing] = "/dev/full";  // a device that refuses every write: no space left
    ASSERT_TRUE((runlog_fails ? m->RUNLOG : m->REPORT).open_append("/dev/full"));
    ASSERT_TRUE((runlog_fails ? m->REPORT : m->RUNLOG).open_write(runlog_fails ? "case.out" : "case.log"));
    m->REPORT.line("A RESULT LINE");
    m->RUNLOG.line("     ANALYSIS FOR LOAD CASE   1/  1 FINISHED");
    for (const int before : {ST_OK, ST_STOP}) {
      int status = before;
      FINISH(*m, status);
      EXPECT_EQ(status, ST_FILEWRITE);
    }
    EXPECT_EQ(dir.read("case.prg"),
              " - A FILE OF THE RUN CANNOT BE WRITTEN: /dev/full: NO SPACE LEFT ON DEVICE\n\n");
    if (!runlog_fails) {
      const std::string log = dir.read("case.log");
      EXPECT_EQ(log.find("ANALYSIS COMPLETED"), std::string::npos) << log;
      EXPECT_NE(log.find("     * ERROR IN ANALYSIS *\n     A FILE OF THE RUN CANNOT BE WRITTEN\n"
                         "     /dev/full: NO SPACE LEFT ON DEVICE\n"),
                std::string::npos) << log;
    }
  }
}

// Files cut short by a file-size limit: the run log names the first and every other one, so
// does the progress file for the host, and the summary report, which could still take them,
// ends with the status lines instead of reading as the report of a whole run.
TEST(Finish, EveryFileCutShortIsNamedAndTheSummarySaysTheRunEndedThere) {
  FixedPlatform p;
  WorkDir dir;
  auto m = new_model();
  for (int r = 0; r < NROLES; ++r)
    m->FNAME[r] = r == 0 ? "case.dat" : "case" + std::string(torva::testing::kRoleExt[r - 1]);
  ASSERT_TRUE(m->REPORT.open_write("case.out"));
  ASSERT_TRUE(m->SUMMARY.open_write("case.sum"));
  ASSERT_TRUE(m->PLOTDATA.open_write("case.pld"));
  ASSERT_TRUE(m->RUNLOG.open_write("case.log"));
  int status = ST_OK;
  {
    const torva::testing::FileSizeLimit limit(8192);
    ASSERT_TRUE(limit.set());
    for (TextFile* f : {&m->REPORT, &m->PLOTDATA})
      for (int i = 0; i < 200; ++i) f->line(std::string(99, 'R'));
    m->SUMMARY.line("A SUMMARY LINE");
    FINISH(*m, status);
  }
  EXPECT_EQ(status, ST_FILEWRITE);
  const std::string out = (dir.path() / "case.out").string(), pld = (dir.path() / "case.pld").string();
  EXPECT_EQ(dir.read("case.prg"), " - A FILE OF THE RUN CANNOT BE WRITTEN: " + out + ": FILE TOO LARGE\n"
                                  " - ALSO NOT WRITTEN IN FULL (FILE TOO LARGE): case.pld\n\n");
  const std::string log = dir.read("case.log");
  EXPECT_NE(log.find("     A FILE OF THE RUN CANNOT BE WRITTEN\n     " + out + ": FILE TOO LARGE\n"
                     "     ALSO NOT WRITTEN IN FULL: " + pld + ": FILE TOO LARGE\n"),
            std::string::npos) << log;
  EXPECT_NE(dir.read("case.sum").find("A SUMMARY LINE\n     \n     * ERROR IN ANALYSIS *\n"
                                      "     A FILE OF THE RUN CANNOT BE WRITTEN\n     " + out + ": FILE TOO LARGE\n"),
            std::string::npos) << dir.read("case.sum");
}

TEST(Finish, SummaryScratchIsCopiedWholeLineByLine) {
  WorkDir dir;
  dir.write_names();
  auto m = new_model();
  for (int r = 0; r < NROLES; ++r) m->FNAME[r] = r == 0 ? "case.dat" : "case" + std::string(torva::testing::kRoleExt[r - 1]);
  const std::string longline = "X" + std::string(140, 'Y') + "Z";
  dir.write("case.sus", "ABC" + std::string(117, ' ') + "\n" + std::string(120, ' ') + "\n" +
                            longline + "\n");
  ASSERT_TRUE(m->SUMMARY.open_write("case.sum"));
  int status = 0;
  FINISH(*m, status);
  const std::string sum = dir.read("case.sum");
  EXPECT_NE(sum.find("*****\nABC \n  \n" + longline + " \n"), std::string::npos) << sum;
}

}  // namespace
}  // namespace torva
