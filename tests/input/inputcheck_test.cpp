// Bad input data files run through the whole engine: each ends in order with its status
// and a run-log message naming the line and the field, and leaves no file open.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "driver/itorva.h"
#include "driver/runctl.h"
#include "input/readinput.h"
#include "support/workdir.h"

namespace torva {
namespace {

using torva::testing::WorkDir;
constexpr int R = ST_INPUTREAD, C = ST_INPUTCHECK;

// A small valid 3-D model: two piles, one user and one generated load-settlement curve.
const char* const kBase = R"(CHECK MODEL
SECOND TITLE
CONTROL RECORD
1 3 0 0 0 1 0 0 0 0 0 0 0 0 0 1 0 0 0 0
PILE CAP
6.0 6.0 2.0 0.0 0.0 0
LOAD CASES
1 0 0 0 0
0 0 0 1 1 100 500
1.0E-4 1.0E-6 0.5 0.01
LOAD CASE ONE
0 0 0 0 0 0 0 0
2 1 1.0 0 0.0 0.0 0 0 0
0
25*1
1
100000.0 5000.0 0.0 0.0 0.0 0.0 0.0 0.0 0.0
0
0
LOAD COMBINATIONS
1 0 0 0 0
0 0 0 1 1 100 500
1.0E-4 1.0E-6 0.5 0.01
COMBINATION ONE
1.0 1.0 1
2 1 0 0.0 0.0 0 0 0
0
25*1
1
1 1.5
LOAD VERSUS DEPTH CURVES
0
PILE GROUP ROWS
2
2 2 1 0 0 0 0 0 1 1
0.0 0.0 1.0 1.0 1.0 1.0 1.0
0.0 -1.5 0.0 0.0 90.0 0.0 0.0
2 2 1 0 1 0 0 0 1 1
0.0 0.0 1.0 1.0 1.0 1.0 1.00
0.0 1.5 0.0 0.0 90.0 0.0 0.0
PILE PROPERTIES
1
1 1
50 40.0 1
0.0 40.0 1
CROSS SECTIONS
1
1 0 1 0
'PIPE 16'
16.0 15.0 0 0 0 0 0 0
11.2E6 24.35 731.9 731.9 0.0 1.64E10 4.0E6 2.0E5 29.0E6 0.0 0
0 0 0.5 1 0
'NONE'
SOIL LAYERS
2
1 1
0.0 10.0
2 9
100.0 500.0 0.0 0.0 0.0 0.02 0.0 0.0 0.0
100.0 700.0 0.0 0.0 0.0 0.02 0.0 0.0 0.0
2 4
10.0 60.0
2 9
115.0 0.0 34.0 90.0 0.0 0.0 0.0 0.0 0.0
115.0 0.0 34.0 90.0 0.0 0.0 0.0 0.0 0.0
ROWS WITH GENERATED LOAD-SETTLEMENT CURVES
1
1
ROWS WITH GENERATED TORQUE-ROTATION CURVES
1
1
USER LOAD-SETTLEMENT CURVES
1
1 3
-1.0E5 -1.0
0.0 0.0
1.0E5 1.0
MOMENT-CURVATURE CURVES OF THE NONLINEAR CROSS SECTIONS
0
)";

int open_files() {
  int n = 0;
  for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator("/proc/self/fd")) ++n;
  return n;
}

struct Bad {
  const char* what;
  std::string find;     // text of the valid file to replace (empty: the whole file)
  std::string replace;  // its replacement
  std::string at;       // text of the bad file on the line the message names
  int status;
  std::string field;
};

std::string replaced(const std::string& base, const Bad& c) {
  std::string s = base;
  if (c.find.empty()) return c.replace;
  const std::size_t p = s.find(c.find);
  EXPECT_NE(p, std::string::npos) << c.find;
  if (p == std::string::npos) return s;
  s.replace(p, c.find.size(), c.replace);
  // A replacement ending in \x04 ends the file there.
  const std::size_t cut = s.find('\x04');
  return cut == std::string::npos ? s : s.substr(0, cut);
}

int line_of(const std::string& text, const std::string& at) {
  const std::size_t p = text.find(at);
  EXPECT_NE(p, std::string::npos) << at;
  int line = 1;
  for (std::size_t i = 0; i < p && i < text.size(); ++i) line += text[i] == '\n';
  return line;
}

// Runs the bad file and checks the status, the message line and field, and the open files.
void run_bad(const std::string& base, const Bad& c) {
  SCOPED_TRACE(c.what);
  WorkDir dir;
  const std::string text = replaced(base, c);
  dir.write("case.dat", text);
  dir.write_names();
  const int fds = open_files();
  EXPECT_EQ(run_itorva(3), c.status);
  EXPECT_EQ(open_files(), fds);
  const std::string log = dir.read("case.log");
  const int line = c.at.empty() ? 0 : line_of(text, c.at);
  EXPECT_NE(log.find("     INPUT DATA FILE: case.dat\n"), std::string::npos) << log;
  const std::string at = "     LINE " + std::to_string(line);
  EXPECT_TRUE(log.find(at + ",") != std::string::npos ||
              log.find(at + " (THE FILE ENDS THERE),") != std::string::npos)
      << log;
  EXPECT_NE(log.find("FIELD " + c.field + ":"), std::string::npos) << log;
  EXPECT_NE(log.find(c.status == R ? "INPUT DATA FILE CANNOT BE READ" : "INVALID INPUT DATA"),
            std::string::npos);
  // The results report carries the same message.
  EXPECT_NE(dir.read("case.out").find("FIELD " + c.field + ":"), std::string::npos);
}

TEST(InputCheck, TheValidModelRuns) {
  WorkDir dir;
  dir.write("case.dat", kBase);
  dir.write_names();
  EXPECT_EQ(run_itorva(3, false), ST_OK) << dir.read("case.log");
}

// Input the checks must take, and its near neighbours they must still refuse: each case
// edits the valid model (every listed text replaced) and reads it.
struct Edited {
  const char* what;
  std::vector<std::pair<std::string, std::string>> edits;
  int status;
};

// `check` looks at the model as read.
void read_edited(const std::string& base, const Edited& c,
                 const std::function<void(const Model&)>& check = {}) {
  SCOPED_TRACE(c.what);
  std::string text = base;
  for (const auto& [find, replace] : c.edits) {
    const std::size_t p = text.find(find);
    ASSERT_NE(p, std::string::npos) << find;
    text.replace(p, find.size(), replace);
  }
  WorkDir dir;
  dir.write("case.dat", text);
  dir.write_names();
  auto m = new_model();
  int status = 0;
  OPENFILES(*m, status);
  if (status == ST_OK) READINPUT(*m, status);
  EXPECT_EQ(status, c.status) << dir.read("case.log");
  if (check) check(*m);
  FINISH(*m, status);
}

TEST(InputCheck, ValidInputIsTakenAndItsNeighboursRefused) {
  const std::string ctl = "1 3 0 0 0 1 0 0 0 0";
  const std::string row = "0.0 0.0 1.0 1.0 1.0 1.0 1.0\n";
  const Edited cases[] = {
      // Z-direction multipliers are read only with user reduction factors (option 2).
      {"zero Z multipliers, no reduction factors", {{row, "0.0 0.0 1.0 1.0 0.0 0.0 1.0\n"}},
       ST_OK},
      {"zero Z multipliers, estimated factors",
       {{ctl, "1 3 0 0 0 1 0 1 0 0"}, {row, "0.0 0.0 1.0 1.0 0.0 0.0 1.0\n"}}, ST_OK},
      {"zero Z y-multiplier, user factors",
       {{ctl, "1 3 0 0 0 1 0 2 0 0"}, {row, "0.0 0.0 1.0 1.0 1.0 0.0 1.0\n"}}, C},
      {"zero Y p-multiplier, no reduction factors", {{row, "0.0 0.0 0.0 1.0 1.0 1.0 1.0\n"}},
       C},
      // A soil layer may give no profile rows: its values are all zero.
      {"a layer without profile rows",
       {{"0.0 10.0\n2 9\n100.0 500.0 0.0 0.0 0.0 0.02 0.0 0.0 0.0\n"
         "100.0 700.0 0.0 0.0 0.0 0.02 0.0 0.0 0.0\n",
         "0.0 10.0\n0 9\n"}},
       ST_OK},
  };
  for (const Edited& c : cases) read_edited(kBase, c);
}

// The text of a bundled example.
std::string example(const char* name) {
  std::ifstream in(std::filesystem::path(TORVA_SOURCE_DIR) / "examples" / name);
  std::ostringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

// The all-options example: a 3-D model whose cross section 2 is nonlinear (two generated
// moment-curvature sets) and one user set.
std::string all_options() { return example("all_options_us.dat"); }

// Its user moment-curvature sets replaced by n copies of its one set.
std::pair<std::string, std::string> user_sets(int n) {
  const std::string set = " 1\n0.0\n0 4\n0.0 0.0\n8.0E6 1.0E-4\n1.2E7 4.0E-4\n1.3E7 2.0E-3\n";
  std::string text = "USER MOMENT-CURVATURE SETS\n" + std::to_string(n) + "\n";
  for (int s = 1; s <= n; ++s) text += std::to_string(s) + set;
  return {"USER MOMENT-CURVATURE SETS\n1\n1" + set, text};
}

// The moment-curvature set numbers of cross section 2 of the all-options example (the
// third and fourth integers of its last record), here user set 1 on both axes.
const std::pair<std::string, std::string> kType10Sets = {"0 0 0 0 0 0 0 0 0.0 0.0 0.0",
                                                         "0 0 1 1 0 0 0 0 0.0 0.0 0.0"};

// The 150 moment-curvature sets hold the user sets and one set per bending axis of every
// nonlinear section that takes generated curves; a section of type 10 (user bending
// stiffness) takes none.
TEST(InputCheck, MomentCurvatureSetsCountTheSectionsThatTakeGeneratedSets) {
  const std::pair<std::string, std::string> type10 = {"2 0.0 0.0 30.0 0.0", "10 0.0 0.0 30.0 0.0"};
  const Edited cases[] = {
      {"149 user sets and a type-10 section", {user_sets(149), type10, kType10Sets}, ST_OK},
      {"148 user sets and a generated section", {user_sets(148)}, ST_OK},
      {"149 user sets and a generated section", {user_sets(149)}, C},
  };
  for (const Edited& c : cases) read_edited(all_options(), c);
}

// The end of load case 1 of the base model, and the same case marked not to be analysed with
// one distributed-load line that begins with `head` (the combination still takes the case).
const char* const kCase1End =
    "2 1 1.0 0 0.0 0.0 0 0 0\n0\n25*1\n1\n100000.0 5000.0 0.0 0.0 0.0 0.0 0.0 0.0 0.0\n0\n0\n"
    "LOAD COMBINATIONS";
std::string unanalysed_case_with_line(const std::string& head) {
  std::string line = head;
  for (int fields = int(std::count(head.begin(), head.end(), ' ')) + 1; fields < 6; ++fields)
    line += " 0";
  return "2 1 1.0 0 0.0 0.0 0 1 0\n0\n25*1\n1\n100000.0 5000.0 0.0 0.0 0.0 0.0 0.0 0.0 0.0\n1\n" +
         line + " 1.0 0 0.0\n0\nLOAD COMBINATIONS";
}

TEST(InputCheck, BadInputEndsTheRunWithItsStatusLineAndField) {
  const std::string rows = "PILE GROUP ROWS\n2\n";
  const std::string row1 = "2 2 1 0 0 0 0 0 1 1\n";
  const std::string row2 = "2 2 1 0 1 0 0 0 1 1\n";
  const Bad cases[] = {
      // Unreadable records.
      {"empty file", "", "", "", R, "TITLE1"},
      {"truncated file", "2 9\n115.0 0.0 34.0", "2 9\n115.0 0.0 34.0\x04", "115.0 0.0 34.0", R,
       "SOILP(2,1,4)"},
      {"letter in a number", "0.0 10.0\n", "0.0 1O.0\n", "0.0 1O.0", R, "LBOTI(1)"},
      {"real in an integer field", "50 40.0 1\n", "50.0 40.0 1\n", "50.0 40.0", R, "NSEGI(1)"},
      {"title taken as a record", "1 3 0 0 0 1 0 0 0 0", "1 3 0 0 0 1 0 3 0 0", "PILE CAP", R,
       "REDMOVY"},
      // Dimension and counts over their tables.
      {"NDIM 4", "1 3 0 0 0 1 0", "1 4 0 0 0 1 0", "1 4 0 0 0 1 0", C, "NDIM"},
      {"101 load cases", "LOAD CASES\n1 0", "LOAD CASES\n101 0", "101 0 0 0 0", C, "NLC"},
      {"101 concentrated loads", "0\n25*1\n1\n100000.0", "0\n25*1\n101\n100000.0",
       "101\n100000.0", C, "NCONC(1)"},
      {"101 combinations", "LOAD COMBINATIONS\n1 0", "LOAD COMBINATIONS\n101 0",
       "101 0 0 0 0", C, "NCOMB"},
      {"101 members", "25*1\n1\n1 1.5", "25*1\n101\n1 1.5", "101\n1 1.5", C,
       "member count(1)"},
      {"2501 load curves", "CURVES\n0\n", "CURVES\n2501\n", "2501\n", C, "NDC"},
      {"2501 rows", rows, "PILE GROUP ROWS\n2501\n", "2501\n", C, "NROW3"},
      {"51 pile properties", "PILE PROPERTIES\n1\n", "PILE PROPERTIES\n51\n", "51\n1 1", C,
       "NPROPIN"},
      {"21 sections of a property", "1 1\n50 40.0", "1 21\n50 40.0", "1 21", C, "NSECTI(1)"},
      {"101 cross sections", "CROSS SECTIONS\n1\n", "CROSS SECTIONS\n101\n", "101\n", C,
       "NSECIN"},
      {"21 soil layers", "SOIL LAYERS\n2\n", "SOIL LAYERS\n21\n", "21\n", C, "NLAYIN"},
      {"3 profile rows of a layer", "0.0 10.0\n2 9", "0.0 10.0\n3 9", "3 9", C, "NROWL(1)"},
      {"11 values of a profile row", "0.0 10.0\n2 9", "0.0 10.0\n2 11", "2 11", C, "NPROPL(1)"},
      {"2501 generated load-settlement rows", "CURVES\n1\n1\nROWS WITH GENERATED TORQUE",
       "CURVES\n2501\n1\nROWS WITH GENERATED TORQUE", "2501\n1\nROWS WITH GENERATED TORQUE", C,
       "NLSGEN"},
      {"51 generated torque-rotation curves", "TORQUE-ROTATION CURVES\n1\n",
       "TORQUE-ROTATION CURVES\n51\n", "51\n1\nUSER", C, "NTRGEN"},
      {"51 user curves", "USER LOAD-SETTLEMENT CURVES\n1\n", "USER LOAD-SETTLEMENT CURVES\n51\n",
       "51\n1 3", C, "NLSI"},
      {"51 points of a user curve", "1\n1 3\n-1.0E5", "1\n1 51\n-1.0E5", "1 51", C,
       "NPTLSI(1)"},
      // References to what is not there.
      {"missing pile property", row1, "2 2 2 0 0 0 0 0 1 1\n", "2 2 2 0", C, "PTYPE(1)"},
      {"missing cross section", "0.0 40.0 1\n", "0.0 40.0 2\n", "0.0 40.0 2", C, "ISECI(1,1)"},
      {"missing user curve", row2, "2 2 1 0 2 0 0 0 1 1\n", "2 2 1 0 2", C, "LSNO(2)"},
      {"missing generated curve", row1, "2 2 1 0 0 0 0 0 2 1\n", "2 2 1 0 0 0 0 0 2", C,
       "LSGNO(1)"},
      {"missing load case", "1 1.5\n", "3 1.5\n", "3 1.5", C, "MEMCASE(1,1)"},
      {"distributed load on a missing row", "0\n0\nLOAD COMBINATIONS",
       "1\n0 1 3 0 0 0 1.0 0 0.0\n0\nLOAD COMBINATIONS", "0 1 3 0", C, "DLINT(1,1,3)"},
      // The distributed loads of a case that is not analysed are still checked: a
      // combination of the case assembles them.
      {"not-analysed case loading a missing row", kCase1End, unanalysed_case_with_line("0 1 50 0"),
       "0 1 50 0", C, "DLINT(1,1,3)"},
      {"not-analysed case loading rows past the tables", kCase1End,
       unanalysed_case_with_line("0 1 2000 2600"), "0 1 2000 2600", C, "DLINT(1,1,3)"},
      {"not-analysed case with a missing load curve", kCase1End,
       unanalysed_case_with_line("0 1 1 2 1 3"), "0 1 1 2 1 3", C, "DLINT(1,1,6)"},
      // Values the analysis divides by or needs.
      {"NSEG 0", "50 40.0 1\n", "0 40.0 1\n", "0 40.0 1", C, "NSEGI(1)"},
      {"NSEG 101", "50 40.0 1\n", "101 40.0 1\n", "101 40.0 1", C, "NSEGI(1)"},
      {"zero-thickness layer", "10.0 60.0\n", "10.0 10.0\n", "10.0 10.0", C, "LBOTI(2)"},
      {"layers out of order", "10.0 60.0\n", "8.0 60.0\n", "8.0 60.0", C, "LTOPI(2)"},
      {"zero y-multiplier", "0.0 0.0 1.0 1.0 1.0 1.0 1.0\n", "0.0 0.0 1.0 0.0 1.0 1.0 1.0\n",
       "0.0 0.0 1.0 0.0", C, "YMULTY(1)"},
      {"zero load increment", "0.5 0.01\nLOAD CASE ONE", "0.0 0.01\nLOAD CASE ONE",
       "0.0 0.01\nLOAD CASE ONE", C, "FACINC(1)"},
      {"negative diameter", "16.0 15.0 0 0", "-16.0 15.0 0 0", "-16.0 15.0", C, "SPROPI(1,1)"},
      {"negative Young's modulus", "2.0E5 29.0E6 0.0 0\n", "2.0E5 -29.0E6 0.0 0\n",
       "2.0E5 -29.0E6", C, "SPROPI(1,17)"},
      {"cyclic loading without cycles", "0 0 0 1 1 100 500\n1.0E-4 1.0E-6 0.5 0.01\nLOAD CASE",
       "0 0 0 0 0 100 500\n1.0E-4 1.0E-6 0.5 0.01\nLOAD CASE", "0 0 0 0 0 100", C,
       "CASINT(1,5)"},
  };
  for (const Bad& c : cases) run_bad(kBase, c);

}

// The cap model written for the plate program (IFEOPT 2): its divisions are refused at
// input beyond what the plate program holds; in 2-D, or with the plate analysis itself,
// they are not used and not checked.
TEST(InputCheck, CapModelDivisionsStayWithinThePlateProgram) {
  const std::string ctl = "1 3 0 0 0 1 0 0 0 0", cap = "6.0 6.0 2.0 0.0 0.0 0\n";
  auto model = [&](const std::string& option, const std::string& divisions) {
    std::string s = kBase;
    s.replace(s.find(ctl), ctl.size(), "1 3 0 " + option + " 0 1 0 0 0 0");
    s.replace(s.find(cap), cap.size(), cap + "0.0 0.0 " + divisions + " 3.6E6 0.2\n");
    return s;
  };
  const Bad cases[] = {
      {"4000 along the length", "", model("2", "4000 4"), "4000 4", C, "FENX"},
      {"2147483647 along the width", "", model("2", "4 2147483647"), "4 2147483647", C, "FENY"},
      {"none along the width", "", model("2", "4 0"), "4 0", C, "FENY"},
  };
  for (const Bad& c : cases) run_bad(kBase, c);
  {
    WorkDir dir;
    dir.write("case.dat", model("2", "101 4"));
    dir.write_names();
    EXPECT_EQ(run_itorva(3), ST_INPUTCHECK);
    EXPECT_NE(dir.read("case.log").find("     FIELD FENX: FOUND 101, ALLOWED 1 TO 100 (ELEMENTS ALONG THE CAP "
                                        "LENGTH IN THE PLATE MODEL)\n"),
              std::string::npos)
        << dir.read("case.log");
  }
  // Within the range the cap model is written; the plate analysis takes its mesh from its
  // own model file and reads the divisions without using them.
  for (const auto& [option, divisions] : {std::pair<std::string, std::string>{"2", "100 1"}, {"1", "4000 4000"}}) {
    auto m = new_model();
    WorkDir dir;
    dir.write("case.dat", model(option, divisions));
    dir.write_names();
    int status = 0;
    OPENFILES(*m, status);
    if (status == ST_OK) READINPUT(*m, status);
    EXPECT_EQ(status, ST_OK) << option << " " << divisions << "\n" << dir.read("case.log");
    FINISH(*m, status);
  }
}

// The optional sections: every count one over its table, and their references.
TEST(InputCheck, OptionalSectionsOfTheAllOptionsExample) {
  const std::string base = all_options();
  const Bad cases[] = {
      {"26 estimation values", "1 1 1 2 1 1 1.0 0 0.0\n0\n", "1 1 1 2 1 1 1.0 0 0.0\n26\n", "26\n",
       C, "NV(1)"},
      {"101 distributed lines", "0.0 0.0 0.0\n1\n1 1 1 2", "0.0 0.0 0.0\n101\n1 1 1 2",
       "101\n1 1 1 2", C, "NDIST(1)"},
      {"102 curve points", "CURVES\n1\n3\n0.0 50.0", "CURVES\n1\n102\n0.0 50.0", "102\n", C,
       "NPDC(1)"},
      {"101 rebars", "0 0 0 0 8 0.79", "0 0 0 0 101 0.79", "0 0 0 0 101", C, "NLINT(2,10)"},
      {"51 requested p-y curves", "REQUESTED P-Y CURVES\n2\n", "REQUESTED P-Y CURVES\n51\n",
       "51\n", C, "NPYOUT"},
      {"26 deflections", "1 20.0\n5\n", "1 20.0\n26\n", "26\n", C, "PONPT(2)"},
      {"51 user p-y sets", "USER P-Y CURVES\n1\n", "USER P-Y CURVES\n51\n", "51\n1 2", C,
       "NSETPY"},
      {"21 curves of a set", "USER P-Y CURVES\n1\n1 2\n", "USER P-Y CURVES\n1\n1 21\n", "1 21",
       C, "NCRVI(1)"},
      {"51 points of a user p-y curve", "1 2\n0.0\n3\n", "1 2\n0.0\n51\n", "51\n0.0 0.0", C,
       "NPTI(1,1)"},
      {"51 user torque-rotation curves", "USER TORQUE-ROTATION CURVES\n1\n",
       "USER TORQUE-ROTATION CURVES\n51\n", "51\n1 3", C, "NTRI"},
      {"51 torque-rotation points", "1 3\n-2.0E7", "1 51\n-2.0E7", "1 51", C, "NPTTRI(1)"},
      {"151 user moment-curvature sets", "SETS\n1\n1 1\n", "SETS\n151\n1 1\n", "151\n", C,
       "NMPSETI"},
      {"26 curves of a set", "SETS\n1\n1 1\n", "SETS\n1\n1 26\n", "1 26", C, "NCRVMI(1)"},
      {"201 points of a curve", "SETS\n1\n1 1\n0.0\n0 4\n", "SETS\n1\n1 1\n0.0\n0 201\n",
       "0 201", C, "NPTMI(1,1)"},
      {"101 section entries", "CROSS SECTIONS\n2\n1 0\n", "CROSS SECTIONS\n101\n1 0\n",
       "101\n1 0\n", C, "NMPG"},
      {"26 section curves", "1 0\n1 0\n2 1\n", "1 0\n1 0\n2 26\n", "2 26", C, "NCRVG(2)"},
      {"201 section curve points", "2 1\n0.0\n0.0\n0 4\n", "2 1\n0.0\n0.0\n0 201\n", "0 201",
       C, "NPTG(2,1)"},
      {"101 factor sets", "ALONG DEPTH\n1\n", "ALONG DEPTH\n101\n", "101\n", C, "NPYMOD"},
      {"51 factor points", "ALONG DEPTH\n1\n1 3\n", "ALONG DEPTH\n1\n1 51\n", "1 51", C,
       "NPTMOD(1)"},
      {"26 movement points", "SOIL MOVEMENT\n3\n", "SOIL MOVEMENT\n26\n", "26\n", C, "NSMPT"},
      {"26 plot deflections", "10 1 1\n5\n", "10 1 1\n26\n", "26\n", C, "NPLTY"},
      {"26 second plot deflections", "2.0\n3\n0.1", "2.0\n26\n0.1", "26\n0.1", C, "NPLTY2"},
      {"missing user p-y set", "2 2 1 1 0 0 0 0 1 1", "2 2 1 2 0 0 0 0 1 1", "2 2 1 2 0", C,
       "PYSETG(2)"},
      {"missing factor set", "2 2 1 0 1 1 1 0 0 0", "2 2 1 0 1 1 2 0 0 0", "2 2 1 0 1 1 2", C,
       "PMODTAB(1)"},
      {"missing torque-rotation curve", "2 2 1 0 1 1 1 0 0 0", "2 2 1 0 1 2 1 0 0 0",
       "2 2 1 0 1 2", C, "TRNO(1)"},
      {"missing load curve", "1 1 1 2 1 1 1.0 0 0.0", "1 1 1 2 1 2 1.0 0 0.0", "1 1 1 2 1 2", C,
       "DLINT(1,1,6)"},
      {"p-y curve of a missing row", "1 5.0\n0\n", "3 5.0\n0\n", "3 5.0", C, "POPILE(1)"},
      {"zero y-factor along depth", "5.0 0.8 1.0", "5.0 0.8 0.0", "5.0 0.8 0.0", C, "PMYF(1,2)"},
      {"negative p-factor along depth", "5.0 0.8 1.0", "5.0 -0.8 1.0", "5.0 -0.8", C, "PMPF(1,2)"},
  };
  for (const Bad& c : cases) run_bad(base, c);
}

// A target-deflection estimation needs at least two iterations per point: its first one runs
// at factor 0. Case 2 of the stiffness example has two levels, then the target switch, the
// degree of freedom, six targets, the tolerance, the iteration limit and two switches.
TEST(InputCheck, TargetDeflectionEstimationNeedsTwoIterations) {
  const std::string base = example("group2x2_stiffness_us.dat");
  auto values = [](const std::string& target, const std::string& limit) {
    return "0.5\n1.0\n" + target + "\n2\n0.0\n0.2\n0.0\n0.0\n0.0\n0.0\n1.0\n" + limit +
           "\n0\n1\n";
  };
  const std::string given = values("1", "8");
  for (const char* v : {"1", "0", "-3", "1.5"}) {
    const std::string bad = values("1", v);
    // The line of the limit: the value, the two switches and the start of case 3.
    const std::string at =
        std::string(v) + "\n0\n1\n0 0 0 1 1 100 500\n1.0E-4 1.0E-6 0.25 0.01\nFLEX";
    run_bad(base, {v, given, bad, at, C, "STFDAT(2,12)"});
  }
  // A limit of 2 is taken, and so is a limit of 1 for load levels (switch 0).
  for (const std::string& ok : {values("1", "2"), values("0", "1")}) {
    SCOPED_TRACE(ok);
    std::string text = base;
    text.replace(text.find(given), given.size(), ok);
    WorkDir dir;
    dir.write("case.dat", text);
    dir.write_names();
    EXPECT_EQ(run_itorva(3, false), ST_OK) << dir.read("case.log");
  }
}

// Codes that the checks must let through: every axes code of a distributed-load line has a
// meaning (0 local axes, any other the global axes), so 2 and -1 are taken like 1.
TEST(InputCheck, AnyAxesCodeOfADistributedLineIsTaken) {
  for (const char* code : {"2", "-1"}) {
    const std::string line = std::string("1 ") + code + " 1 2 1 1 1.0 0 0.0";
    const Edited c{code, {{"1 1 1 2 1 1 1.0 0 0.0", line}}, ST_OK};
    read_edited(all_options(), c,
                [&](const Model& m) { EXPECT_EQ(m.DLINT(1, 1, 2), std::atoi(code)); });
  }
}

// The base model with `find` replaced by `repl`, run: its status, its text and run log.
struct Changed {
  int status;
  std::string text, log;
};
Changed run_changed(const std::string& find, const std::string& repl, bool analyse = true) {
  WorkDir dir;
  std::string text = kBase;
  text.replace(text.find(find), find.size(), repl);
  dir.write("case.dat", text);
  dir.write_names();
  const int status = run_itorva(3, analyse);
  return {status, text, dir.read("case.log")};
}

// A value missing from a record is found on a later line; the message also names the line
// where the record began. A negative diameter names its field, value and line.
TEST(InputCheck, MessagesNameTheLineWhereTheRecordBegan) {
  struct Msg {
    const char* what;
    const char* find;
    const char* replace;
    const char* at;
    std::string expect;
  };
  const std::string sections = std::to_string(line_of(kBase, "0.0 40.0 1"));
  const Msg cases[] = {
      {"missing section number", "0.0 40.0 1\n", "0.0 40.0\n", "CROSS SECTIONS",
       ", IN THE RECORD THAT BEGINS ON LINE " + sections + ", SECTION: PILE PROPERTIES"},
      {"negative diameter", "16.0 15.0 0 0", "-16.0 15.0 0 0", "-16.0 15.0",
       ", SECTION: CROSS SECTIONS, TITLE \"CROSS SECTIONS\"\n"
       "     FIELD SPROPI(1,1): FOUND -16, ALLOWED 0 OR MORE (DIAMETER)\n"},
  };
  for (const Msg& c : cases) {
    SCOPED_TRACE(c.what);
    const Changed r = run_changed(c.find, c.replace);
    EXPECT_NE(r.status, ST_OK);
    EXPECT_NE(r.log.find("     LINE " + std::to_string(line_of(r.text, c.at)) + c.expect),
              std::string::npos)
        << r.log;
  }
}

// Values beyond a record are ignored as before, and the run log names their line.
TEST(InputCheck, ValuesBeyondARecordAreWarnedAboutInTheRunLog) {
  const Changed r = run_changed("0.0 40.0 1\n", "0.0 40.0 1 8.0\n", false);
  EXPECT_EQ(r.status, ST_OK);
  const std::string warning = "     ** WARNING ** LINE " +
                              std::to_string(line_of(r.text, "0.0 40.0 1 8.0")) +
                              " HOLDS MORE VALUES THAN ITS RECORD READS; IGNORED: \"8.0\"\n";
  EXPECT_NE(r.log.find(warning + "     READING CROSS SECTIONS"), std::string::npos) << r.log;
  EXPECT_EQ(r.log.find("WARNING ** LINE", r.log.find(warning) + warning.size()),
            std::string::npos);
}

TEST(InputCheck, MessageShowsTheValueFoundAndWhatIsAllowed) {
  const Changed r = run_changed("50 40.0 1\n", "0 40.0 1\n");
  EXPECT_EQ(r.status, ST_INPUTCHECK);
  const std::string line = std::to_string(line_of(r.text, "0 40.0 1"));
  EXPECT_NE(r.log.find("     **** INVALID INPUT ****\n"
                       "     INPUT DATA FILE: case.dat\n"
                       "     LINE " + line +
                       ", SECTION: PILE PROPERTIES, TITLE \"PILE PROPERTIES\"\n"
                       "     FIELD NSEGI(1): FOUND 0, ALLOWED 1 TO 100 (PILE INCREMENTS)\n"),
            std::string::npos)
      << r.log;
}

// A cross section of type 10 (user bending stiffness) names, per bending axis, one of the
// user moment-curvature sets, or 0 for an elastic axis; any other number would bend it
// elastically without a word, or read past the 150 sets.
TEST(InputCheck, UserBendingStiffnessNamesAUserSet) {
  std::string base = all_options();
  base.replace(base.find("2 0.0 0.0 30.0 0.0"), 18, "10 0.0 0.0 30.0 0.0");
  const std::string sets = kType10Sets.first;
  auto given = [](const char* z, const char* y) {
    return std::string("0 0 ") + z + " " + y + " 0 0 0 0 0.0 0.0 0.0";
  };
  const Bad cases[] = {
      {"set 5 of one", sets, given("5", "1"), "0 0 5 1", C, "NLINT(2,28)"},
      {"set 200", sets, given("200", "1"), "0 0 200 1", C, "NLINT(2,28)"},
      {"set -1 on the second axis", sets, given("1", "-1"), "0 0 1 -1 0", C, "NLINT(2,29)"},
  };
  for (const Bad& c : cases) run_bad(base, c);
  read_edited(base, {"set 1 on both axes", {kType10Sets}, ST_OK});
  read_edited(base, {"set 0 on the first axis", {{sets, given("0", "1")}}, ST_OK});
  read_edited(base, {"set 0 on the second axis", {{sets, given("1", "0")}}, ST_OK});
}

// The lookups search the pile sections from the head down and the points of every curve in
// ascending order: a list out of order is refused where it turns back. Equal values stay
// (a step in a profile, two points of a curve at one deflection), except the first two
// depths of a user p-y set, whose line extends the curves above the first one.
TEST(InputCheck, ListsAreInTheOrderTheirLookupsSearch) {
  const std::string base = all_options();
  const std::string mphi_user = "1.2E7 4.0E-4\n1.3E7 2.0E-3\nMOMENT-CURVATURE CURVES";
  const std::string mphi_entry = "2 1\n0.0\n0.0\n0 4\n0.0 0.0\n8.0E6 1.0E-4\n";
  const Bad cases[] = {
      {"sections swapped", "0.0 20.0 2\n20.0 45.0 1\n", "20.0 45.0 1\n0.0 20.0 2\n",
       "0.0 20.0 2", C, "SFROMI(1,2)"},
      {"sections overlapping", "0.0 20.0 2\n20.0 45.0 1\n", "0.0 20.0 2\n15.0 45.0 1\n",
       "15.0 45.0 1", C, "SFROMI(1,2)"},
      {"p-y curve above the one before", "50.0\n3\n0.0 0.0\n800.0",
       "-5.0\n3\n0.0 0.0\n800.0", "-5.0\n3", C, "PYDEPI(1,2)"},
      {"first two p-y curves at one depth", "50.0\n3\n0.0 0.0\n800.0",
       "0.0\n3\n0.0 0.0\n800.0", "0.0\n3\n0.0 0.0\n800.0", C, "PYDEPI(1,2)"},
      {"p-y deflection turning back", "300.0 2.0", "300.0 0.4", "300.0 0.4", C, "PYYI(1,1,3)"},
      {"load-settlement movement turning back", "8.0E5 1.0", "8.0E5 0.05", "8.0E5 0.05", C,
       "LSDI(1,5)"},
      {"two load-settlement points at one movement", "8.0E5 1.0", "8.0E5 0.1", "8.0E5 0.1", C,
       "LSDI(1,5)"},
      {"torque-rotation rotation turning back", "2.0E7 0.01", "2.0E7 -0.02", "2.0E7 -0.02", C,
       "TRRI(1,3)"},
      {"user curvature turning back", mphi_user,
       "1.2E7 4.0E-4\n1.3E7 2.0E-4\nMOMENT-CURVATURE CURVES", "1.3E7 2.0E-4", C, "PHII(1,1,4)"},
      {"user axial loads turning back", "1 1\n0.0\n0 4\n",
       "1 2\n100.0\n0 1\n0.0 0.0\n50.0\n0 4\n", "50.0\n0 4", C, "AXLI(1,2)"},
      {"section curvature turning back", mphi_entry,
       "2 1\n0.0\n0.0\n0 4\n0.0 0.0\n8.0E6 -1.0E-4\n", "8.0E6 -1.0E-4", C, "PHIG(2,1,2)"},
      {"factor depth turning back", "15.0 1.0 1.0", "4.0 1.0 1.0", "4.0 1.0 1.0", C,
       "PMDEP(1,3)"},
      {"movement depth turning back", "20.0 0.0 0.0\nPLOT", "5.0 0.0 0.0\nPLOT",
       "5.0 0.0 0.0\nPLOT", C, "SMDEP(3)"},
      {"load curve depth turning back", "10.0 25.0\n20.0 0.0", "10.0 25.0\n5.0 0.0",
       "5.0 0.0\n", C, "DCDEP(1,3)"},
  };
  for (const Bad& c : cases) run_bad(base, c);
  const Edited taken[] = {
      {"two factor points at one depth", {{"15.0 1.0 1.0", "5.0 1.0 1.0"}}, ST_OK},
      {"two movement points at one depth", {{"20.0 0.0 0.0", "10.0 0.0 0.0"}}, ST_OK},
      {"two load curve points at one depth", {{"10.0 25.0\n20.0 0.0", "10.0 25.0\n10.0 0.0"}},
       ST_OK},
      {"two p-y points at one deflection", {{"300.0 2.0", "300.0 0.5"}}, ST_OK},
      {"second and third p-y curves at one depth",
       {{"1 2\n0.0", "1 3\n0.0"},
        {"1200.0 2.0\n", "1200.0 2.0\n50.0\n2\n0.0 0.0\n900.0 0.5\n"}},
       ST_OK},
  };
  for (const Edited& c : taken) read_edited(base, c);
}

// Values that the analysis would take and fail on far from their line: each is refused where
// it is written.
TEST(InputCheck, ValuesThatFailTheAnalysisAreRefusedWhereWritten) {
  const std::string case1 = "0 0 0 1 1 100 500\n1.0E-4 1.0E-6 0.5 0.01\nLOAD CASE ONE";
  const std::string comb1 = "0 0 0 1 1 100 500\n1.0E-4 1.0E-6 0.5 0.01\nCOMBINATION ONE";
  // The limits of the cap (100) and of the pile (500) iterations, `v` in place of `given`.
  auto limit = [](const std::string& text, const char* given, const char* v) {
    std::string s = text;
    s.replace(s.find(given), std::strlen(given), v);
    return s;
  };
  const Bad cases[] = {
      {"no pile iterations", case1, limit(case1, " 500", " 0"), "0 0 0 1 1 100 0", C,
       "MAXITLLP(1)"},
      {"-1 pile iterations", case1, limit(case1, " 500", " -1"), "0 0 0 1 1 100 -1", C,
       "MAXITLLP(1)"},
      {"no pile iterations in a combination", comb1, limit(comb1, " 500", " 0"),
       "0 0 0 1 1 100 0", C, "CBINT(1,7)"},
      // A cap limit below 1 still iterates twice per attempt (the first iteration is never
      // tested) and then reports no convergence after "0" or "-3" iterations.
      {"no cap iterations", case1, limit(case1, " 100 ", " 0 "), "0 0 0 1 1 0 500", C,
       "MAXITFND(1)"},
      {"-3 cap iterations", case1, limit(case1, " 100 ", " -3 "), "0 0 0 1 1 -3 500", C,
       "MAXITFND(1)"},
      {"no cap iterations in a combination", comb1, limit(comb1, " 100 ", " 0 "),
       "0 0 0 1 1 0 500", C, "CBINT(1,6)"},
      {"negative GJ", "1.64E10", "-1.64E10", "11.2E6 24.35", C, "SPROPI(1,14)"},
      // Both rows take the torque-rotation curve generated for row 1, which divides by GJ.
      {"zero GJ", "1.64E10", "0.0", "11.2E6 24.35", C, "SPROPI(1,14)"},
      {"zero diameter", "16.0 15.0 0 0", "0.0 15.0 0 0", "0.0 15.0 0 0", C, "SPROPI(1,1)"},
      {"zero Young's modulus", "2.0E5 29.0E6 0.0 0\n", "2.0E5 0.0 0.0 0\n", "2.0E5 0.0 0.0 0",
       C, "SPROPI(1,17)"},
      {"negative unit weight", "100.0 500.0 0.0", "-100.0 500.0 0.0", "-100.0 500.0", C,
       "SOILP(1,1,1)"},
      {"negative friction angle", "115.0 0.0 34.0", "115.0 0.0 -33.0", "115.0 0.0 -33.0", C,
       "SOILP(2,1,3)"},
  };
  for (const Bad& c : cases) run_bad(kBase, c);
  // The row's p-y set is read by a layer of the user-curve criterion even with user p-y
  // curves off.
  std::string user_layer = kBase;
  user_layer.replace(user_layer.find("\n2 4\n"), 5, "\n2 5\n");
  run_bad(user_layer, {"p-y set of a user-curve layer", "2 2 1 0 0 0 0 0 1 1\n",
                       "2 2 1 -2147483648 0 0 0 0 1 1\n", "2 2 1 -2147483648", C, "PYSETG(1)"});
  // Every row step loads a row: the first of the two, then its steps within them.
  const std::string line = "1 1 1 2 1 1 1.0 0 0.0";
  for (const char* step : {"2", "3", "2147483647", "-2147483648"})
    read_edited(all_options(),
                {step, {{line, std::string("1 1 1 2 ") + step + " 1 1.0 0 0.0"}}, ST_OK});
  // GJ where a torque-rotation curve is generated from it: the bottom value of a tapered
  // section, and a section of a pile whose rows all take user curves (no curve generated).
  const std::string sect = "29.0E6 0.0 0\n";
  run_bad(kBase, {"zero GJ at the bottom of a tapered section", sect,
                  "29.0E6 0.0 1\n16.0 15.0 0 0 0 0 0 0\n"
                  "11.2E6 24.35 731.9 731.9 0.0 0.0 4.0E6 2.0E5 29.0E6 0.0\n",
                  "11.2E6 24.35 731.9 731.9 0.0 0.0", C, "SPROPI(1,32)"});
  run_bad(all_options(), {"zero GJ of a nonlinear section", "39761.0 1.19E11", "39761.0 0.0",
                          "30.0 706.86 39761.0 39761.0 0.0", C, "SPROPI(2,14)"});
  read_edited(all_options(), {"zero GJ, user torque-rotation curves only",
                              {{"1.19E11", "0.0"}, {"1.19E11", "0.0"},
                               {"2 2 1 1 0 0 0 0 1 1", "2 2 1 1 0 1 0 0 1 1"}},
                              ST_OK});
  // A section above the last one of its pile may leave its diameter to that section.
  read_edited(all_options(),
              {"no diameter above the last section", {{"30.0 706.86", "0.0 706.86"}}, ST_OK});
}

// The switch and the target degree of freedom of an estimation towards target deflections
// are named by field and line (the estimation tests check the value as written).
TEST(InputCheck, EstimationCodesAreNamedAsWritten) {
  const std::string base = example("group2x2_stiffness_us.dat");
  const std::string given = "1.0\n1\n2\n0.0\n0.2";
  const Bad cases[] = {
      {"switch 1e30", given, "1.0\n1e30\n2\n0.0\n0.2", "1e30", C, "STFDAT(2,3)"},
      {"switch 2", given, "1.0\n2\n2\n0.0\n0.2", "2\n2\n0.0\n0.2", C, "STFDAT(2,3)"},
      {"degree of freedom 7", given, "1.0\n1\n7\n0.0\n0.2", "7\n0.0\n0.2", C,
       "STFDAT(2,4)"},
  };
  for (const Bad& c : cases) run_bad(base, c);
}


// The edits applied in order to a model's text (each text must occur).
std::string edited(std::string text, const std::vector<std::pair<std::string, std::string>>& edits) {
  for (const auto& [find, replace] : edits) {
    const std::size_t p = text.find(find);
    EXPECT_NE(p, std::string::npos) << find;
    if (p != std::string::npos) text.replace(p, find.size(), replace);
  }
  return text;
}

// The cap's movement at the origin in Table L of the first analysis of a results report:
// X, Y, Z, then the rotations about X, Y, Z (a 3-D model).
std::vector<double> origin_movement(const std::string& out) {
  std::vector<double> v;
  std::size_t p = out.find("* DISPLACEMENT OF GROUPED PILE FOUNDATION AT ORIGIN *");
  for (const char* head : {"HORIZONTAL Y,", "ANGLE ROT. X,"}) {
    p = out.find(head, p == std::string::npos ? out.size() : p);
    if (p == std::string::npos) return {};
    p = out.find('\n', p) + 1;
    std::istringstream line(out.substr(p, out.find('\n', p) - p));
    double x;
    while (line >> x) v.push_back(x);
  }
  return v;
}

// The worked example's single pile with its cross section nonlinear of type 10 (a user
// bending stiffness) on user moment-curvature set 0 for both axes, and no user set given.
const std::pair<std::string, std::string> kType10Pile = {
    "1 3 0 0 0 1 1 0 0 0",
    "1 3 0 0 0 1 1 0 1 0"};
const std::pair<std::string, std::string> kType10Section = {
    "1 0 1 0\n'PIPE 24 X 0.5'\n24.0 23.0 0.0 0.0 0.0 0.0 0.0 0.0\n"
    "11.2E6 36.9137 2549.353 2549.353 0.0 5.7106E10 1.381E7 5.537E5 29.0E6 0.0 0\n"
    "0 0 0.5 1 0\n'NONE'\n",
    "1 0 1 1\n'PIPE 24 X 0.5'\n24.0 36.9137 2549.353 2549.353 5.7106E10 1.381E7 5.537E5 29.0E6\n"
    "10 0 0 0 0 0 0 0 0 0 0\n0 0 0 0 0 0 0 0 0 0\n'NONE'\n0 0 0 0 0 0 0 0 0 0 0\n"
    "0 0 0 0 0 0 0 0 0 0\n0 0 0 0 0 0 0 0 0 0\n0 0 0 0 0\n0 0 0 0 0 0 0 0 0 0 0\n"};
const std::pair<std::string, std::string> kNoUserSets = {
    "MOMENT-CURVATURE CURVES OF THE NONLINEAR",
    "USER MOMENT-CURVATURE SETS\n0\nMOMENT-CURVATURE CURVES OF THE NONLINEAR"};

// The single pile with user p-y curves on (one set of two linear curves, p = 2400 y lb/in,
// at 0 and 30 ft) and its soil in two layers: the user curves down to 30 ft, below them the
// elastic subgrade of k = 100 pci, kD = 2400 lb/in as well. The row's set is `set`.
std::vector<std::pair<std::string, std::string>> user_layer_pile(const std::string& set) {
  return {{"1 3 0 0 0 1 1 0", "1 3 0 0 1 1 1 0"},
          {"2 2 1 0 1 1 0 0 0 0", "2 2 1 " + set + " 1 1 0 0 0 0"},
          {"SOIL LAYERS\n1\n1 12\n-0.01 70.0\n",
           "SOIL LAYERS\n2\n1 5\n-0.01 30.0\n2 9\n110.0 0.0 0.0 100.0 0.0 0.0 0.0 0.0 0.0\n"
           "110.0 0.0 0.0 100.0 0.0 0.0 0.0 0.0 0.0\n2 12\n30.0 70.0\n"},
          {"ROWS WITH GENERATED LOAD",
           "USER P-Y CURVES\n1\n1 2\n0.0\n2\n0.0 0.0\n24000.0 10.0\n30.0\n2\n0.0 0.0\n"
           "24000.0 10.0\nROWS WITH GENERATED LOAD"}};
}

// Values of the input that have no meaning are refused where they are written, with the
// line, the field, the value and what is allowed; values that are allowed but very likely
// a slip are warned of (run log and results report, counted with the input warnings);
// values that have a meaning are taken and give the answer that meaning gives.
TEST(InputCheck, ValuesWithoutMeaningRefusedSlipsWarnedMeaningsTaken) {
  const std::string base = kBase, bent = example("bent_2d_stiff_clay_us.dat");
  const std::string all = all_options(), pile = example("single_pile_elastic_us.dat");
  enum Kind { refused, warned, reported };
  struct Case {
    const char* what;
    const std::string& model;
    std::vector<std::pair<std::string, std::string>> edits;
    Kind kind;
    int status;         // refused: the run's status
    std::string at;     // refused, warned: the text at the start of the line named
    std::string field;  // refused, warned: the field named
    std::string says;   // what the message (or the outcome's warning) says
  };
  const std::string row1 = "2 2 1 0 0 0 0 0 1 1\n", rec2 = "0.0 0.0 1.0 1.0 1.0 1.0 1.0\n";
  const std::string sand = "115.0 0.0 34.0 90.0 0.0 0.0 0.0 0.0 0.0\n";
  const std::string layer1 = "1 1\n-3.0 10.0\n";
  const Case cases[] = {
      // 1. A 2-D row of no piles, or of a negative count.
      {"no piles in a 2-D row", bent, {{"1 2 1 0 0 0 1", "1 0 1 0 0 0 1"}}, refused, C,
       "1 0 1 0 0 0 1", "NPILE(1)", "FOUND 0, ALLOWED 1 OR MORE PILES IN THE ROW"},
      {"-2 piles in a 2-D row", bent, {{"1 2 1 0 0 0 2", "1 -2 1 0 0 0 2"}}, refused, C,
       "1 -2 1 0 0 0 2", "NPILE(2)", "FOUND -2"},
      // 2. A negative factor on the axial resistance; 0 removes the resistance.
      {"negative axial factor", base, {{"1.0 1.0 1.0 1.00\n", "1.0 1.0 1.0 -1.0\n"}}, refused, C,
       "0.0 0.0 1.0 1.0 1.0 1.0 -1.0", "AXFAC(2)", "FOUND -1, ALLOWED 0 OR MORE"},
      {"zero axial factor", base, {{"1.0 1.0 1.0 1.00\n", "1.0 1.0 1.0 0.0\n"}}, warned, 0,
       "0.0 0.0 1.0 1.0 1.0 1.0 0.0", "AXFAC(2)", "0 REMOVES THE AXIAL RESISTANCE"},
      // 3. A pile axis that does not point down.
      {"2-D batter of 180 degrees", bent, {{"0.0 0.0 0.0 0.0\n1 2", "0.0 0.0 180.0 0.0\n1 2"}},
       refused, C, "0.0 0.0 180.0 0.0", "ALPHA(2)", "ALLOWED ABOVE -90 AND BELOW 90 DEGREES"},
      {"3-D pile pointing up", base, {{"0.0 -1.5 0.0 0.0 90.0", "0.0 -1.5 0.0 0.0 -90.0"}},
       refused, C, "0.0 -1.5 0.0 0.0 -90.0", "BETA(1)", "ALLOWED ABOVE 0 AND BELOW 180 DEGREES"},
      {"3-D pile lying flat", base, {{"0.0 1.5 0.0 0.0 90.0", "0.0 1.5 0.0 0.0 0.0"}}, refused,
       C, "0.0 1.5 0.0 0.0 0.0", "BETA(2)", "FOUND 0"},
      // 4. A friction angle of 90 degrees.
      {"friction angle 90", base, {{sand, "115.0 0.0 90.0 90.0 0.0 0.0 0.0 0.0 0.0\n"}}, refused,
       C, "115.0 0.0 90.0", "SOILP(2,1,3)", "ALLOWED 0 OR MORE AND BELOW 90"},
      // A negative modulus of an elastic subgrade (which takes no default).
      {"negative modulus of an elastic subgrade", pile,
       {{"110.0 0.0 0.0 100.0", "110.0 0.0 0.0 -100.0"}}, refused, C, "110.0 0.0 0.0 -100.0",
       "SOILP(1,1,4)", "ALLOWED 0 OR MORE (MODULUS K OF THE ELASTIC SUBGRADE"},
      // 5. A negative head spring of a restrained head.
      {"negative head spring", base, {{row1, "3 2 1 0 0 0 0 0 1 1\n"}, {rec2, "-1.0E9" + rec2.substr(3)}},
       refused, C, "-1.0E9 0.0 1.0", "SPZ(1)", "ALLOWED 0 OR MORE (HEAD ROTATIONAL SPRING"},
      // 6. A negative moment of inertia (0 takes that of a solid circle).
      {"negative moment of inertia", base, {{"24.35 731.9 731.9", "24.35 -731.9 731.9"}}, refused,
       C, "11.2E6 24.35 -731.9", "SPROPI(1,11)", "ALLOWED 0 OR MORE (MOMENT OF INERTIA IZ"},
      // 7. A sand without unit weight resists nothing.
      {"sand without unit weight", base, {{sand, "0.0" + sand.substr(5)}}, warned, 0,
       "0.0 0.0 34.0", "SOILP(2,1,1)", "EFFECTIVE UNIT WEIGHT 0 AT THE TOP OF LAYER 2 (SAND)"},
      // 8. A connection code that is none of 1 to 3.
      {"connection code 4", base, {{row1, "4 2 1 0 0 0 0 0 1 1\n"}}, warned, 0,
       "4 2 1 0 0 0 0 0 1 1", "CONNECTY(1)", "4 IS NOT A CONNECTION CODE"},
      // 9. A gap between two sections of a pile.
      {"gap between sections", all, {{"20.0 45.0 1\n", "22.0 45.0 1\n"}}, refused, C,
       "22.0 45.0 1", "SFROMI(1,2)", "ALLOWED 20, THE BOTTOM OF SECTION 1 (SECTIONS 1 AND 2 LEAVE A GAP)"},
      // 13. Pinned piles in one line, or pinned rows at one point, away from the cap origin.
      {"pinned piles in a line off the origin", base,
       {{row1, "1 1 1 0 0 0 0 0 1 1\n"}, {"2 2 1 0 1 0", "1 1 1 0 1 0"},
        {"0.0 -1.5 0.0 0.0 90.0", "0.0 -1.5 -2.25 0.0 90.0"}, {"0.0 1.5 0.0 0.0 90.0", "0.0 1.5 -2.25 0.0 90.0"}},
       reported, 0, "", "", "EVERY PILE ROW IS PINNED TO THE CAP, THE HEADS IN ONE LINE:"},
      {"pinned rows at one point off the origin", bent,
       {{"0.0 -6.0 -14.036", "0.0 3.0 -14.036"}, {"0.0 0.0 0.0 0.0\n1 2", "0.0 3.0 0.0 0.0\n1 2"},
        {"0.0 6.0 14.036", "0.0 3.0 14.036"}},
       reported, 0, "", "", "EVERY PILE ROW IS PINNED TO THE CAP, THE HEADS AT ONE POINT:"},
      // 14. A pile tolerance of 0 or less.
      {"zero pile tolerance", base, {{"1.0E-4 1.0E-6 0.5 0.01\nLOAD", "1.0E-4 0.0 0.5 0.01\nLOAD"}},
       refused, C, "1.0E-4 0.0 0.5", "TOLPILE(1)", "ALLOWED A VALUE GREATER THAN 0"},
      {"negative pile tolerance of a combination", base,
       {{"1.0E-4 1.0E-6 0.5 0.01\nCOMB", "1.0E-4 -1.0E-6 0.5 0.01\nCOMB"}}, refused, C,
       "1.0E-4 -1.0E-6", "CBREAL(1,2)", "ALLOWED A VALUE GREATER THAN 0"},
      // 15. A row on generated curves without a user set crossing a layer of user curves,
      // and a user set that ends above the pile tip.
      {"no set for a layer of user curves", all, {{layer1, "1 5\n-3.0 10.0\n"}}, refused, C,
       "2 2 1 0 1 1 1 0 0 0", "PYSETG(1)", "CROSSES LAYER 1 (USER P-Y CURVES) FROM X = 0 FT TO 9.75 FT"},
      {"user set ending above the tip", all, {{"50.0\n3\n0.0 0.0\n800.0", "40.0\n3\n0.0 0.0\n800.0"}},
       refused, C, "2 2 1 1 0", "PYSETG(2)",
       "FOUND 1 (USER P-Y SET 1, ITS LAST CURVE AT X = 40 FT), ALLOWED A SET WHOSE CURVES REACH "
       "THE PILE TIP OF THE ROW AT X = 45 FT"},
      {"user set ending above a layer's last node", all,
       {{layer1, "1 5\n-3.0 10.0\n"}, {"2 2 1 0 1 1 1", "2 2 1 -1 1 1 1"},
        {"50.0\n3\n0.0 0.0\n800.0", "5.0\n3\n0.0 0.0\n800.0"}},
       refused, C, "2 2 1 -1 1 1 1", "PYSETG(1)", "ALLOWED A SET WHOSE CURVES REACH X = 9.75 FT"},
      // 16. Curves given for a section of type 10: it is nonlinear, its stiffness the user's.
      {"curves of a type-10 section", all, {{"2 0.0 0.0 30.0 0.0", "10 0.0 0.0 30.0 0.0"}, kType10Sets},
       reported, 0, "", "", "CROSS SECTION 2 NOT USED: A SECTION OF TYPE 10"},
      // 17. A blank line between two sections.
      {"blank line before a section", base, {{"0.0 40.0 1\nCROSS", "0.0 40.0 1\n\nCROSS"}}, refused,
       R, "CROSS SECTIONS", "NSECIN", "SECTION: CROSS SECTIONS, ITS TITLE (LINE "},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    WorkDir dir;
    const std::string text = edited(c.model, c.edits);
    dir.write("case.dat", text);
    dir.write_names();
    dir.write("case.mph", "");
    EXPECT_EQ(run_itorva(3, c.kind == reported), c.status);
    const std::string log = dir.read("case.log"), out = dir.read("case.out");
    for (const std::string* f : {&log, &out}) {
      if (c.kind == reported) {
        EXPECT_NE(f->find(c.says), std::string::npos) << *f;
        continue;
      }
      // The message from its line (the location) to the end of its field's line.
      const std::string line = std::to_string(line_of(text, c.at));
      const std::size_t field = f->find("FIELD " + c.field + ": ");
      if (field == std::string::npos) {
        ADD_FAILURE() << "no field " << c.field << " in\n" << *f;
        continue;
      }
      const std::size_t from = c.kind == warned ? f->rfind("     ** WARNING ** LINE ", field)
                                                : f->rfind("\n     LINE ", field) + 1;
      const std::string message = f->substr(from, f->find('\n', field) - from);
      EXPECT_EQ(message.find(c.kind == warned ? "     ** WARNING ** LINE " + line + ", FIELD "
                                              : "     LINE " + line),
                0u)
          << message;
      EXPECT_NE(message.find(c.says), std::string::npos) << message;
      if (c.kind == warned) {
        EXPECT_NE(f->find(std::string(kInputWarningsHead) + "    1\n"), std::string::npos);
      }
    }
    if (c.kind == reported && c.says.find("PINNED") != std::string::npos) {
      EXPECT_NE(dir.read("case.cas").find("    7 SINGULAR STIFFNESS MATRIX \n"), std::string::npos)
          << dir.read("case.cas");
    }
  }

  // Values with a meaning, each with the answer it gives against a model of that meaning.
  struct Taken {
    const char* what;
    const std::string& model;
    std::vector<std::pair<std::string, std::string>> edits, reference;
    double y;  // the cap's movement along Y, in (0: only as the reference's)
  };
  const std::string line = "1 1 1 2 1 1 1.0 0 0.0";
  const Taken taken[] = {
      // 10. Set 0 of a type-10 section bends that axis elastically: the worked example's
      // beam on an elastic foundation, 2 H beta / (k D) = 0.0791 in.
      {"type-10 section on set 0", pile, {kType10Pile, kType10Section, kNoUserSets}, {}, 0.0790},
      // 11. A negative set keeps the generated curves (the subgrade below 30 ft) and takes
      // the user set in the layer of user curves above it; kD = 2400 lb/in in both.
      {"negative user p-y set", pile, user_layer_pile("-1"), {}, 0.0790},
      // 12. First row 2, last 0 (row 2 alone), step 5 of two rows: row 2 is loaded.
      {"row step beyond the rows", all, {{line, "1 1 2 0 5 1 1.0 0 0.0"}},
       {{line, "1 1 2 0 0 1 1.0 0 0.0"}}, 0.0},
  };
  for (const Taken& t : taken) {
    SCOPED_TRACE(t.what);
    std::vector<double> got, want;
    for (auto* v : {&got, &want}) {
      WorkDir dir;
      dir.write("case.dat", edited(t.model, v == &got ? t.edits : t.reference));
      dir.write_names();
      dir.write("case.mph", "");
      EXPECT_EQ(run_itorva(3), ST_OK) << dir.read("case.log");
      *v = origin_movement(dir.read("case.out"));
    }
    if (got.size() != 6 || want.size() != 6) {
      ADD_FAILURE() << "no cap movement";
      continue;
    }
    for (int i = 0; i < 6; ++i) EXPECT_NEAR(got[i], want[i], 1.0e-5 * (1.0 + std::abs(want[i]))) << i;
    if (t.y != 0.0) {
      EXPECT_NEAR(got[1], t.y, 0.0001);
    }
  }
}

}  // namespace
}  // namespace torva
