// The tables of a flexibility estimation from hand-made record files: the stiffness matrix of
// each level (which record a level takes, rows against columns, the diagonal switch, both
// models' layouts, components not estimated, a singular level, a short file) and the
// load-displacement and flexibility tables of one degree of freedom (a failed level among
// good ones, the 2-D moment layout, a short file).
#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "stiffness/capcurves.h"
#include "stiffness/capstfout.h"
#include "stiffness/estrec.h"
#include "support/workdir.h"

namespace torva {
namespace {

using testing::WorkDir;

std::vector<std::string> lines_of(const std::string& s) {
  std::vector<std::string> v;
  std::istringstream in(s);
  for (std::string l; std::getline(in, l);) v.push_back(l);
  return v;
}

bool has(const std::string& text, const std::string& what) { return text.find(what) != std::string::npos; }

// A model whose report files are open in the working directory, in US labels.
struct Tables {
  WorkDir dir;
  std::unique_ptr<Model> m = new_model();
  Tables() {
    m->FNAME[R_ESTREC1] = std::string("es1.txt");
    m->FNAME[R_ESTREC2] = std::string("es2.txt");
    EXPECT_TRUE(m->REPORT.open_write("out.txt"));
    EXPECT_TRUE(m->SUMMARY.open_write("sum.txt"));
    EXPECT_TRUE(m->PLOTDATA.open_write("pld.txt"));
    EXPECT_TRUE(m->RUNLOG.open_write("log.txt"));
    m->ULEN2 = "IN";
    m->UFOR3 = "LBS";
    m->URAD = "RAD";
    m->USLASH = "/";
    m->UDASH = "-";
    for (int k = 1; k <= 3; ++k) m->STFLEV(k) = 0.5 * k;
  }
  // Writes the records of a record file: one record per entry, its number and its values.
  void records(TextFile& f, const char* name, const std::vector<std::pair<int, std::vector<double>>>& recs) {
    ASSERT_TRUE(f.open_write(name));
    for (const auto& [n, v] : recs) WRTESTREC(f, n, v.data(), int(v.size()));
  }
  std::string read(const char* name) {
    for (TextFile* f : {&m->REPORT, &m->SUMMARY, &m->PLOTDATA, &m->RUNLOG}) f->close();
    return dir.read(name);
  }
};

// The flexibility of the 3-D records at level k: k times F, where F has the diagonal
// 4, 2, 4, 5, 8, 10 and the couplings F(1,2) = 0.5 and F(2,1) = 0.25 (column i is the record
// of degree of freedom i). Level 2 inverts 2F, whose leading block [[8, 1], [0.5, 4]] has the
// determinant 31.5:
//   K(1,1) = 4/31.5 = 0.126984, K(1,2) = -1/31.5 = -0.031746,
//   K(2,1) = -0.5/31.5 = -0.015873, K(2,2) = 8/31.5 = 0.253968, K(i,i) = 1/(2 F(i,i)) beyond.
// (A value of exactly 1.0 in a record's own position would mark the component as not
// estimated, so no level holds one.)
std::vector<std::pair<int, std::vector<double>>> flex3d(int n, int unestimated = 0) {
  const double d[6] = {4, 2, 4, 5, 8, 10};
  std::vector<std::pair<int, std::vector<double>>> recs;
  for (int i = 1; i <= 6; ++i)
    for (int k = 1; k <= n; ++k) {
      std::vector<double> col(6, 0.0);
      if (i == unestimated) {
        col[std::size_t(i - 1)] = 1.0;
      } else {
        col[std::size_t(i - 1)] = k * d[i - 1];
        if (i == 2) col[0] = k * 0.5;
        if (i == 1) col[1] = k * 0.25;
      }
      recs.push_back({k, col});
    }
  return recs;
}

TEST(Capstfout, FullMatrixOfTheMiddleLevelIsTheInverseOfItsColumns) {
  Tables t;
  t.records(t.m->ESTREC1, "es1.txt", flex3d(3));
  CAPSTFOUT(*t.m, 1, 0, 3, 6, 6, t.m->STFLEV);
  EXPECT_FALSE(t.m->ESTREC1.is_open());
  const std::string out = t.read("out.txt");
  // Level 2 takes the second record of every block: its table, row by row.
  const auto at = out.find("       N:    2  FACTOR :    1.0000\n");
  ASSERT_NE(at, std::string::npos) << out;
  const auto rows = lines_of(out.substr(at));
  ASSERT_GE(rows.size(), 8u);
  EXPECT_EQ(rows[1], "    DOF          1              2              3              4              5              6    ");
  EXPECT_EQ(rows[4], "      3        0.00000        0.00000        0.12500        0.00000        0.00000        0.00000 ");
  const double want[2][2] = {{4.0 / 31.5, -1.0 / 31.5}, {-0.5 / 31.5, 8.0 / 31.5}};
  for (int r = 0; r < 2; ++r) {
    std::istringstream in(rows[std::size_t(2 + r)]);
    int n = 0;
    double k[6];
    in >> n;
    for (double& x : k) in >> x;
    EXPECT_EQ(n, r + 1);
    for (int c = 0; c < 2; ++c) EXPECT_NEAR(k[c], want[r][c], 5e-6) << "K(" << r + 1 << "," << c + 1 << ")";
    for (int c = 2; c < 6; ++c) EXPECT_EQ(k[c], 0.0);
  }
  EXPECT_NE(t.read("sum.txt").find(rows[2] + "\n" + rows[3] + "\n"), std::string::npos);
  EXPECT_TRUE(has(out, "\n\n     * PILE CAP STIFFNESS ESTIMATION *\n\n       N:    1  FACTOR :    0.5000\n"));
  EXPECT_TRUE(has(t.read("log.txt"), "     * PILE CAP STIFFNESS ESTIMATION *\n"));
  EXPECT_FALSE(has(out, "WARNING"));
  // The plot data: the level line, the diagonal, then every row.
  const auto pld = lines_of(t.read("pld.txt"));
  ASSERT_GE(pld.size(), 1u + 3u * 8u);
  EXPECT_EQ(pld[0], "     * PILE CAP STIFFNESS ESTIMATION *");
  EXPECT_EQ(pld[9], "       N:    2  FACTOR :    1.0000");
  std::istringstream diag(pld[10]), row1(pld[11]);
  double v[7];
  for (int i = 0; i < 6; ++i) diag >> v[i];
  EXPECT_NEAR(v[0], 4.0 / 31.5, 1e-8);
  EXPECT_NEAR(v[5], 0.05, 1e-8);
  int r = 0;
  row1 >> r;
  for (int i = 0; i < 6; ++i) row1 >> v[i];
  EXPECT_EQ(r, 1);
  EXPECT_NEAR(v[1], -1.0 / 31.5, 1e-8);
}

TEST(Capstfout, DiagonalSwitchInvertsTheDiagonalTermsOnly) {
  Tables t;
  t.records(t.m->ESTREC1, "es1.txt", flex3d(3));
  CAPSTFOUT(*t.m, 1, 1, 3, 6, 6, t.m->STFLEV);
  const std::string out = t.read("out.txt");
  EXPECT_TRUE(has(out, "\n       N:    2  FACTOR :    1.0000\n"
                       "                K11            K22            K33            K44            K55   "
                       "         K66   \n"
                       "               0.12500        0.25000        0.12500      0.1000000      0.0625000"
                       "      0.0500000 \n"))
      << out;
  // The plot rows hold zeros off the diagonal.
  const auto pld = lines_of(t.read("pld.txt"));
  std::istringstream row1(pld[11]);
  int r = 0;
  double v[6];
  row1 >> r >> v[0] >> v[1];
  EXPECT_EQ(v[1], 0.0);
}

// Degree of freedom 3 not estimated at any level (unit-vector records): named in every
// level's warning, its stiffness printed as 1.0 and its column 0 elsewhere.
TEST(Capstfout, ComponentNotEstimatedIsNamedAndPrintedAsOne) {
  Tables t;
  t.records(t.m->ESTREC1, "es1.txt", flex3d(1, 3));
  CAPSTFOUT(*t.m, 1, 0, 1, 6, 6, t.m->STFLEV);
  const std::string warn =
      "\n     WARNING : STIFFNESS VALUES FOR COMPONENT(S): K33  \n"
      "     WERE NOT ESTIMATED SINCE THERE WAS NO CONVERGENCE ON PILE CAP OR APPLIED FORCE AT CAP IS ZERO\n"
      "     VALUE OF 1.0 IS PRINTED FOR THE STIFFNESS(ES)\n\n";
  const std::string out = t.read("out.txt");
  EXPECT_TRUE(has(out, "      3        0.00000        0.00000        1.00000        0.00000        0.00000"
                       "        0.00000 \n"))
      << out;
  EXPECT_TRUE(has(out, "      6        0.00000        0.00000        0.00000        0.00000        0.00000"
                       "      0.1000000 \n" + warn))
      << out;
  EXPECT_TRUE(has(t.read("sum.txt"), warn));
}

// The 2-D layouts: the full matrix and the diagonal of a 3 x 3 flexibility diag(2, 4, 8)
// with F(1,2) = 0.5, one level: K(1,2) = -0.5/(2 x 4) = -0.0625 in the full matrix.
TEST(Capstfout, TwoDimensionalLayouts) {
  for (int idiag : {0, 1}) {
    SCOPED_TRACE(idiag);
    Tables t;
    t.records(t.m->ESTREC1, "es1.txt", {{1, {2.0, 0.0, 0.0}}, {1, {0.5, 4.0, 0.0}}, {1, {0.0, 0.0, 8.0}}});
    CAPSTFOUT(*t.m, 1, idiag, 1, 3, 6, t.m->STFLEV);
    const std::string out = t.read("out.txt");
    if (idiag == 0)
      EXPECT_TRUE(has(out, "      DOF             1                 2                 3         \n"
                           "         1           0.50000        -0.0625000           0.00000     \n"
                           "         2           0.00000           0.25000           0.00000     \n"))
          << out;
    else
      EXPECT_TRUE(has(out, "                    K11               K22               K33        \n"
                           "                               0.50000           0.25000           0.12500     \n"))
          << out;
    EXPECT_FALSE(has(out, "WARNING"));
  }
}

// A zero column makes the flexibility of level 1 singular: a warning instead of its table;
// level 2 is printed. A file that ends early stops the tables with a warning.
TEST(Capstfout, SingularLevelAndShortFile) {
  {
    Tables t;
    auto recs = flex3d(2);
    recs[2 * 3 + 0].second.assign(6, 0.0);  // degree of freedom 4, level 1
    t.records(t.m->ESTREC1, "es1.txt", recs);
    CAPSTFOUT(*t.m, 1, 0, 2, 6, 6, t.m->STFLEV);
    const std::string out = t.read("out.txt");
    EXPECT_TRUE(has(out, "       N:    1  FACTOR :    0.5000\n\n"
                         "     ** WARNING **  FLEXIBILITY MATRIX IS SINGULAR,\n"
                         "                    NO STIFFNESS TABLE FOR THIS LEVEL\n"))
        << out;
    EXPECT_TRUE(has(out, "       N:    2  FACTOR :    1.0000\n    DOF"));
  }
  {
    Tables t;
    auto recs = flex3d(2);
    recs.pop_back();
    t.records(t.m->ESTREC1, "es1.txt", recs);
    CAPSTFOUT(*t.m, 1, 0, 2, 6, 6, t.m->STFLEV);
    const std::string incomplete =
        "       N:    1  FACTOR :    0.5000\n\n"
        "     ** WARNING **  ESTIMATION RECORDS ARE INCOMPLETE,\n"
        "                    NO STIFFNESS TABLE CAN BE FORMED\n";
    EXPECT_TRUE(has(t.read("out.txt"), incomplete));
    EXPECT_TRUE(has(t.read("log.txt"), "ESTIMATION RECORDS ARE INCOMPLETE,"));
    EXPECT_FALSE(has(t.read("out.txt"), "    DOF"));
  }
}

// A table switch other than 1 leaves everything as it was; no levels give the heading only.
TEST(Capstfout, NoTablesWithoutTheSwitchOrLevels) {
  Tables t;
  t.records(t.m->ESTREC1, "es1.txt", flex3d(1));
  CAPSTFOUT(*t.m, 0, 0, 1, 6, 6, t.m->STFLEV);
  EXPECT_TRUE(t.m->ESTREC1.is_open());
  CAPSTFOUT(*t.m, 1, 0, 0, 6, 6, t.m->STFLEV);
  EXPECT_FALSE(t.m->ESTREC1.is_open());
  EXPECT_EQ(t.read("out.txt"), "\n\n     * PILE CAP STIFFNESS ESTIMATION *\n");
}

// Degree of freedom 2 at three levels, the second of which found no solution: the table
// names it and goes on with the third; its plot line has the negated level and zeros.
TEST(Capcurves, FailedLevelAmongGoodOnes) {
  Tables t;
  const std::vector<double> u1 = {1000.0, 0.0, 0.01, 0.0, 0.0, 0.0, -0.001};
  const std::vector<double> u3 = {3000.0, 0.0, 0.04, 0.0, 0.0, 0.0, -0.004};
  t.records(t.m->ESTREC2, "es2.txt",
            {{1, u1}, {1, {0.0, 1e-5, 0.0, 0.0, 0.0, -1e-6}},
             {-2, std::vector<double>(7, 0.0)}, {-2, std::vector<double>(6, 0.0)},
             {3, u3}, {3, {0.0, 4.0 / 3.0 * 1e-5, 0.0, 0.0, 0.0, -4.0 / 3.0 * 1e-6}}});
  int iopen = 1;
  CAPCURVES(*t.m, 2, 2, 3, 3, 6, iopen);
  EXPECT_EQ(iopen, 0);
  EXPECT_FALSE(t.m->ESTREC2.is_open());
  const std::string out = t.read("out.txt");
  EXPECT_TRUE(has(out, "\n         N     FORCE,LBS \n"
                       "               DISP X,IN      DISP Y,IN      DISP Z,IN      ROT X,RAD      "
                       "ROT Y,RAD      ROT Z,RAD\n"
                       "         1        1000.00 \n"
                       "                  0.00000    1.00000E-02        0.00000        0.00000        0.00000"
                       "   -1.00000E-03 \n"
                       "         2     NO CONVERGENCE ON PILE CAP\n"
                       "         3        3000.00 \n"))
      << out;
  const std::string flex_head =
      "         N         S12            S22            S32            S42            S52            S62   \n";
  EXPECT_TRUE(has(out, flex_head)) << out;
  EXPECT_TRUE(has(out, "         2     NO CONVERGENCE ON PILE CAP\n         3    "));
  const std::string sum = t.read("sum.txt");
  EXPECT_TRUE(has(sum, "         N         S12            S22"));
  EXPECT_TRUE(has(sum, "         2     NO CONVERGENCE ON PILE CAP\n"));
  const auto pld = lines_of(t.read("pld.txt"));
  ASSERT_EQ(pld.size(), 3u);
  EXPECT_EQ(pld[1].substr(0, 14), "        -2    ");
  std::istringstream z(pld[1]);
  int n = 0;
  z >> n;
  EXPECT_EQ(n, -2);
  for (double v; z >> v;) EXPECT_EQ(v, 0.0);
  EXPECT_EQ(pld[2].substr(0, 14), "         3    ");
}

// The 2-D point on the moment: its load heading and the units of displacement per moment.
TEST(Capcurves, TwoDimensionalMomentLayout) {
  Tables t;
  t.records(t.m->ESTREC2, "es2.txt", {{1, {2.0e6, 0.0, 0.001, 1e-4}}, {1, {0.0, 5e-10, 5e-11}}});
  int iopen = 1;
  CAPCURVES(*t.m, 2, 3, 1, 2, 3, iopen);
  const std::string out = t.read("out.txt");
  EXPECT_TRUE(has(out, "\n         N     MOMENT,IN-LBS   VERT. DISP,IN    HOR. DISP Y,IN    ROTATION Z,RAD\n"))
      << out;
  EXPECT_TRUE(has(out, "                 IN/IN-LBS         IN/IN-LBS         RAD/IN-LBS        \n")) << out;
}

// A mode other than 2 does nothing; a file without the last level's records names it.
TEST(Capcurves, NothingOutsideAPointAndAShortFileIsNamed) {
  Tables t;
  t.records(t.m->ESTREC2, "es2.txt", {{1, {1000.0, 0.0, 0.01, 0.0, 0.0, 0.0, 0.0}}, {1, std::vector<double>(6, 0.0)}});
  int iopen = 1;
  CAPCURVES(*t.m, 0, 2, 2, 3, 6, iopen);
  EXPECT_EQ(iopen, 1);
  EXPECT_TRUE(t.m->ESTREC2.is_open());
  CAPCURVES(*t.m, 2, 2, 2, 3, 6, iopen);
  EXPECT_EQ(iopen, 0);
  const std::string out = t.read("out.txt");
  EXPECT_TRUE(has(out, "     ** WARNING **  ESTIMATION RECORDS MISSING FROM LEVEL    2\n")) << out;
  EXPECT_TRUE(has(t.read("sum.txt"), "     ** WARNING **  ESTIMATION RECORDS MISSING FROM LEVEL    2\n"));
}

}  // namespace
}  // namespace torva
