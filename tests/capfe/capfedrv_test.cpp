// The entry of the plate model from the cap analysis, its file-name list, and the cap
// model files.
#include "capfe/capfedrv.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <sstream>

#include "capfe/platefix.h"
#include "model/status.h"
#include "support/filesizelimit.h"

namespace torva {
namespace {

using testing::LinearPiles;
using testing::PlateModel;
using testing::WorkDir;

std::vector<std::string> lines_of(const std::string& text) {
  std::vector<std::string> out;
  std::istringstream s(text);
  for (std::string l; std::getline(s, l);) out.push_back(l);
  return out;
}

class CapfeDrv : public ::testing::Test {
 protected:
  WorkDir dir;
  std::unique_ptr<Model> m = new_model();
  const double loads[6] = {100.0, 20.0, 30.0, 40.0, 50.0, 60.0};

  void SetUp() override {
    m->FNAME[R_INPUT] = std::string("case.dat");
    m->FNAME[R_PLOTOUT] = std::string("case.plt");
    m->FNAME[R_REPORT] = std::string("case.out");
    ASSERT_TRUE(m->REPORT.open_write("case.out"));
    ASSERT_TRUE(m->SUMMARY.open_write("case.sum"));
    ASSERT_TRUE(m->PLOTOUT.open_write("case.plt"));
    ASSERT_TRUE(m->RUNLOG.open_write("case.log"));
    m->NROW = 2;
    m->IUNITS = 1;
    m->CAPLEN = 10.0;
    m->CAPWID = 6.0;
    m->CAPTHK = 2.0;
    m->FENX = m->FENY = 1;
    m->FEEMOD = 3.0e6;
    m->FEPOIS = 0.2;
    m->FACINC = 0.5;
    m->FACMIN = 0.1;
    m->MAXITFND = 50;
    m->TOLCAP = 0.001;
    m->CORY(1) = -2.0;
    m->CORZ(1) = 1.0;
    m->CONNECTY(1) = 2;
    m->BETA(2) = std::acos(-1.0) / 2;
    m->CONNECTY(2) = 1;
  }
  // A plate restrained at every node, one pile per row at its head (plate x = the row's Z,
  // y = its Y), as the model file of the case.
  void write_plate_model() {
    PlateModel pm;
    pm.mesh.build();
    const int all[6] = {1, 1, 1, 1, 1, 1};
    for (int n = 1; n <= pm.mesh.npoin(); ++n) pm.restrain(n, all);
    m->CORZ(1) = 0.25;
    m->CORY(1) = 0.75;
    m->CORZ(2) = m->CORY(2) = 0.5;
    pm.ispring = 1;
    pm.piles = {"0.25 0.75", "0.5 0.5"};
    dir.write("case.fem", pm.text());
  }
  void close_all() {
    for (TextFile* f : {&m->REPORT, &m->SUMMARY, &m->PLOTOUT, &m->RUNLOG}) f->close();
  }
};

TEST_F(CapfeDrv, CapModelFilesOfOneElementCheckedByHand) {
  m->IFEOPT = 2;
  int status = 0;
  CAPFEDRV(*m, loads, status);
  ASSERT_EQ(status, 0);
  close_all();
  // Model files only: no headings, no plot records.
  EXPECT_EQ(dir.read("case.out"), "");
  EXPECT_EQ(dir.read("case.plt"), "");
  EXPECT_EQ(dir.read("tslab.dat"), "case.plt" + std::string(67, ' ') + "\ncase.fem" + std::string(67, ' ') +
                                       "\ncase.fel" + std::string(67, ' ') + "\ncase.fer" + std::string(67, ' ') +
                                       "\ncase.flg" + std::string(67, ' ') + "\n");
  const auto fm = lines_of(dir.read("case.fmd"));
  ASSERT_EQ(fm.size(), 3u + 1 + 8 + 1 + 9 + 2);
  EXPECT_EQ(fm[0], " TEST OF TORVA5_FC");
  EXPECT_EQ(fm[1], "       8       1       1       8       2       0       0       0       0       0       9       0"
                   "       0       0       2       1");
  EXPECT_EQ(fm[2], "    0.5000    0.0000    1.0000    0.1000        50  0.10000E-02");
  EXPECT_EQ(fm[3], "       1       1       1       1       3       8       6       2       5       7       4");
  EXPECT_EQ(fm[4], "       1       1      0.0000     -5.0000      3.0000");
  EXPECT_EQ(fm[5], "       2       2      0.0000      0.0000      3.0000");
  EXPECT_EQ(fm[7], "       4       4      0.0000     -5.0000      0.0000");
  EXPECT_EQ(fm[8], "       5       5      0.0000      5.0000      0.0000");
  EXPECT_EQ(fm[11], "       8       8      0.0000      5.0000     -3.0000");
  EXPECT_EQ(fm[12], "       1  0.30000E+07  0.20000E+00  0.20000E+01");
  EXPECT_EQ(fm[13], "  0.00000E+00  0.00000E+00  0.00000E+00  0.10000E+03  0.20000E+02  0.30000E+02  0.00000E+00"
                    "  0.50000E+02  0.60000E+02");
  // Torsion on a circle of radius min(length, thickness, width) = 2: eight tangential
  // loads of 40 / 16 whose moments about the vertical axis add up to the torsion.
  EXPECT_EQ(fm[14], "  0.00000E+00  0.20000E+01  0.00000E+00  0.00000E+00  0.00000E+00  0.25000E+01  0.00000E+00"
                    "  0.00000E+00  0.00000E+00");
  double torsion = 0.0;
  for (int i = 14; i < 22; ++i) {
    double v[9];
    std::istringstream s(fm[std::size_t(i)]);
    for (double& x : v) s >> x;
    torsion += v[1] * v[5] - v[2] * v[4];
  }
  EXPECT_NEAR(torsion, 40.0, 1e-3);
  // Piles: head coordinates, direction numbers, connection (pinned: zeros).
  EXPECT_EQ(fm[22], "  0.00000E+00 -0.20000E+01  0.10000E+01  0.10000E+01  0.10000E+01  0.00000E+00  0.10000E+01"
                    "  0.10000E+01  0.10000E+01");
  EXPECT_EQ(fm[23], "  0.00000E+00  0.00000E+00  0.00000E+00  0.10000E+01  0.00000E+00  0.00000E+00  0.00000E+00"
                    "  0.00000E+00  0.00000E+00");
  const auto kw = lines_of(dir.read("case.fkw"));
  const std::vector<std::string> head = {" TORVA5_FC", " TITLE", " TEST OF TORVA5_FC", " ELEMENT_DATA",
                                         " QUAD8  REDUCED_INTEGRATION",
                                         "*       1       1       1       3       8       6       2       5       7       4",
                                         " END_ELEMENT_DATA", " NODE_DATA",
                                         "*       1      0.0000     -5.0000      3.0000"};
  ASSERT_GT(kw.size(), head.size());
  for (std::size_t i = 0; i < head.size(); ++i) EXPECT_EQ(kw[i], head[i]);
  EXPECT_EQ(kw[16], " END_NODE_DATA");
  EXPECT_EQ(kw[17], " MATERIAL_DATA");
  EXPECT_EQ(kw[18], "*    ALL  0.30000E+07  0.20000E+00  0.20000E+01");
  EXPECT_EQ(kw[21], "*" + fm[13]);
  EXPECT_EQ(kw[kw.size() - 3], fm[2]);
  EXPECT_EQ(kw.back(), " END_DATA");
}

TEST_F(CapfeDrv, CapModelWithoutTorsionHasOneLoadAndRefusesAnEmptyMesh) {
  m->IFEOPT = 2;
  double p[6] = {1, 2, 3, 0.0, 5, 6};
  int status = 0;
  CAPFEDRV(*m, p, status);
  ASSERT_EQ(status, 0);
  EXPECT_EQ(lines_of(dir.read("case.fmd"))[1].substr(80, 8), "       1");
  // Divisions outside 1 to 100 write nothing (and no count overflows).
  for (const int ny : {0, 101, 2147483647}) {
    m->FENY = ny;
    status = 0;
    std::remove("case.fmd");
    CAPFEDRV(*m, p, status);
    EXPECT_EQ(status, ST_INPUTCHECK) << ny;
    EXPECT_FALSE(dir.exists("case.fmd")) << ny;
  }
}

TEST_F(CapfeDrv, PlateAnalysisWritesHeadingsAndRunsTheModelFile) {
  m->IFEOPT = 1;
  write_plate_model();
  LinearPiles none({0, 0, 0, 0, 0, 0});
  int status = 0;
  CAPFEDRV(*m, loads, status, nullptr, {}, &none);
  EXPECT_EQ(status, 0);
  close_all();
  EXPECT_EQ(dir.read("case.plt"), " 0\n 2 1 1\n");
  const std::string heading = "\n\n\n                 *****     COMPUTATION RESULTS     *****\n\n\n\n\n"
                              "     * TABLE I *   COMPUTATION ON INDIVIDUAL PILE\n";
  EXPECT_EQ(dir.read("case.out"), heading);
  EXPECT_EQ(dir.read("case.sum"), heading);
  const std::string res = dir.read("case.fer");
  EXPECT_EQ(res.substr(0, 10), "STEP_DATA\n");
  EXPECT_EQ(res.substr(res.size() - 14), "END_STEP_DATA\n");
}

// The plate model file is the input's name with .fem: when it is not there, the run log
// and the results report name it, and the case ends with the plate model's status.
TEST_F(CapfeDrv, MissingPlateModelFileIsNamedInTheRunLog) {
  m->IFEOPT = 1;
  int status = 0;
  CAPFEDRV(*m, loads, status);
  EXPECT_EQ(status, ST_FEMODEL);
  close_all();
  const std::string says = " **** FATAL ERROR **** PLATE MODEL OF THE CAP: MODEL FILE case.fem IS MISSING\n";
  EXPECT_NE(dir.read("case.log").find(says), std::string::npos) << dir.read("case.log");
  EXPECT_NE(dir.read("case.out").find(says), std::string::npos);
}

TEST_F(CapfeDrv, PlateFilesMayNotBeFilesOfTheRun) {
  m->IFEOPT = 1;
  m->FNAME[R_ECHO] = std::string("case.fel");
  int status = 0;
  CAPFEDRV(*m, loads, status);
  EXPECT_EQ(status, ST_FEMODEL);
  close_all();
  EXPECT_NE(dir.read("case.out").find("PLATE MODEL FILE case.fel IS ALSO A FILE OF THE RUN"), std::string::npos);
}

// A file written for the plate program that cannot be written in full or opened ends the
// case with the file status; the results report and the run log name the file and the
// system's reason, and so does the end of the run. A file fails as a link to a device that
// refuses every write, under a file size limit below its size (the file-name list: the
// plate program reads it back), or with a folder in its place.
TEST_F(CapfeDrv, APlateFileThatFailsIsNamedWithItsReason) {
  enum How { kFull, kSizeLimit, kFolder };
  const struct Case {
    const char* file;
    int ifeopt;
    How how;
    const char* reason;
  } cases[] = {
      {"case.fel", 1, kFull, "NO SPACE LEFT ON DEVICE"},  // listing
      {"tslab.dat", 1, kSizeLimit, "FILE TOO LARGE"},     // file-name list
      {"case.fkw", 2, kFull, "NO SPACE LEFT ON DEVICE"},  // cap model file
      {"case.fer", 1, kFolder, "IS A DIRECTORY"},          // results
  };
  write_plate_model();
  LinearPiles none({0, 0, 0, 0, 0, 0});
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    std::filesystem::remove_all(c.file);
    if (c.how == kFull) std::filesystem::create_symlink("/dev/full", c.file);
    if (c.how == kFolder) std::filesystem::create_directory(c.file);
    ASSERT_TRUE(m->REPORT.open_write("case.out"));
    ASSERT_TRUE(m->RUNLOG.open_write("case.log"));
    m->IFEOPT = c.ifeopt;
    m->ERRFILE.clear();
    m->ERRREASON.clear();
    int status = 0;
    {
      // The list of five names of 75 characters needs 380 bytes; the report and the run
      // log stay below 300.
      std::optional<testing::FileSizeLimit> limit;
      if (c.how == kSizeLimit) {
        limit.emplace(300);
        ASSERT_TRUE(limit->set());
      }
      CAPFEDRV(*m, loads, status, nullptr, {}, &none);
      close_all();
    }
    std::filesystem::remove_all(c.file);
    EXPECT_EQ(status, c.how == kFolder ? ST_FILEOPEN : ST_FILEWRITE);
    const std::string path = (std::filesystem::current_path() / c.file).string();
    EXPECT_EQ(m->ERRFILE, path);
    EXPECT_EQ(m->ERRREASON, c.reason);
    const std::string says = std::string(" **** FATAL ERROR **** PLATE MODEL OF THE CAP: A FILE CANNOT BE ") +
                             (c.how == kFolder ? "OPENED: " : "WRITTEN: ") + path + ": " + c.reason + "\n";
    EXPECT_NE(dir.read("case.log").find(says), std::string::npos) << dir.read("case.log");
    EXPECT_NE(dir.read("case.out").find(says), std::string::npos);
  }
}

}  // namespace
}  // namespace torva
