// Axial head force from the load-settlement curve: interpolation, the curve ends with and
// without extension, the warning records and counters, and the initial slope.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "model/messages.h"
#include "pile/axforce.h"

namespace torva {
namespace {

// Row 1 on user curve 2 (displacement, load), pull-out side first.
const std::vector<double> kX = {-0.2, -0.1, 0.0, 0.1, 0.3};
const std::vector<double> kY = {-50.0, -40.0, 0.0, 100.0, 150.0};

std::unique_ptr<Model> curve_model() {
  auto m = new_model();
  m->NDIM = 3;
  m->IWFILE = 1;
  m->AXFAC(1) = 1.0;
  m->LSNO(1) = 2;
  m->NPTLSU(2) = int(kX.size());
  for (int p = 1; p <= int(kX.size()); ++p) {
    m->LSDU(2, p) = kX[std::size_t(p - 1)];
    m->LSLU(2, p) = kY[std::size_t(p - 1)];
  }
  return m;
}

struct AxCase {
  const char* name;
  double d;
  int iextend;
  double P;
  const char* text;  // case text of the warning, nullptr for none
  int nwbear, nwpull;
};

class AxforceCases : public ::testing::TestWithParam<AxCase> {};

TEST_P(AxforceCases, ForceWarningAndCounter) {
  const AxCase& c = GetParam();
  auto m = curve_model();
  m->IEXTEND = c.iextend;
  RowCapture cap;
  double P = -999.0;
  int status = 0;
  Arr1<double, MAXNODE> MOV, FAX;
  MOV.fill(7.0);
  FAX.fill(7.0);
  const double u[6] = {c.d, 1, 1, 1, 1, 1};
  {
    CaptureScope scope(cap);
    AXFORCE(*m, 1, P, u, MOV, FAX, status);
  }
  EXPECT_EQ(P, c.P);
  EXPECT_EQ(status, 0);
  EXPECT_EQ(cap.nwbear, c.nwbear);
  EXPECT_EQ(cap.nwpull, c.nwpull);
  for (int k = 1; k <= MAXNODE; ++k) ASSERT_TRUE(MOV(k) == 0.0 && FAX(k) == 0.0);
  if (c.text == nullptr) {
    EXPECT_TRUE(cap.lines.empty());
  } else {
    ASSERT_EQ(cap.lines.size(), 3u);
    EXPECT_NE(cap.lines[1].second.find(c.text), std::string::npos) << cap.lines[1].second;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Curve, AxforceCases,
    ::testing::Values(
        AxCase{"zero", 0.0, 1, 0.0, nullptr, 0, 0},
        AxCase{"inside", 0.05, 0, 50.0, nullptr, 0, 0},
        AxCase{"on_a_point", 0.1, 0, 100.0, nullptr, 0, 0},
        AxCase{"bearing_end", 0.3, 0, 150.0, nullptr, 0, 0},
        AxCase{"pullout_end", -0.2, 0, -50.0, nullptr, 0, 0},
        AxCase{"beyond_bearing_held", 0.4, 1, 150.0, "REACHED MAXIMUM LOAD IN BEARING  ", 1, 0},
        AxCase{"beyond_bearing_fails", 0.4, 0, 0.0, "APPARENT FAILURE IN BEARING    ,", 1, 0},
        AxCase{"beyond_pullout_held", -0.3, 1, -50.0, "REACHED MAXIMUM LOAD IN PULLOUT  ", 0, 1},
        AxCase{"beyond_pullout_fails", -0.3, 2, 0.0, "APPARENT FAILURE IN PULL OUT    ", 0, 1}),
    [](const auto& p) { return std::string(p.param.name); });

TEST(Axforce, WarningRecordLayout) {
  auto m = curve_model();
  m->IEXTEND = 1;
  RowCapture cap;
  double P = 0;
  int status = 0;
  Arr1<double, MAXNODE> MOV, FAX;
  const double u[6] = {0.4, 0, 0, 0, 0, 0};
  m->LSNO(17) = 2;
  {
    CaptureScope scope(cap);
    AXFORCE(*m, 17, P, u, MOV, FAX, status);
  }
  ASSERT_EQ(cap.lines.size(), 3u);
  for (const auto& l : cap.lines) EXPECT_EQ(l.first, unsigned(TO_WARNSCR));
  EXPECT_EQ(cap.lines[0].second, "");
  EXPECT_EQ(cap.lines[1].second,
            "     ** WARNING **  REACHED MAXIMUM LOAD IN BEARING    PILE GROUP   17");
  EXPECT_EQ(cap.lines[2].second,
            "                    AX. DISP.=  0.4000E+00 >   0.3000E+00     AX. FORCE=  0.1500E+03");
}

TEST(Axforce, TwoDimensionalWordingAndNoRecordsOutsideTheCapture) {
  auto m = curve_model();
  m->NDIM = 2;
  m->IEXTEND = 0;
  const double u[3] = {0.4, 0, 0};
  double P = 1;
  int status = 0;
  Arr1<double, MAXNODE> MOV, FAX;
  RowCapture cap;
  {
    CaptureScope scope(cap);
    AXFORCE(*m, 1, P, u, MOV, FAX, status);
  }
  ASSERT_EQ(cap.lines.size(), 3u);
  EXPECT_NE(cap.lines[1].second.find("APPARENT FAILURE IN BEARING       PILE GROUP"),
            std::string::npos);
  // With the warning file closed the force is the same, and nothing is written or counted.
  m->IWFILE = 0;
  RowCapture quiet;
  {
    CaptureScope scope(quiet);
    AXFORCE(*m, 1, P, u, MOV, FAX, status);
  }
  EXPECT_EQ(P, 0.0);
  EXPECT_TRUE(quiet.lines.empty());
  EXPECT_EQ(quiet.nwbear, 0);
  // Outside a row loop the counter is the model's own.
  m->IWFILE = 1;
  m->WARNSCR.open_write(::testing::TempDir() + "axforce_warnscr.txt");
  AXFORCE(*m, 1, P, u, MOV, FAX, status);
  EXPECT_EQ(m->NWBEAR, 1);
}

TEST(Axforce, GeneratedCurveAndDistributionSwitch) {
  auto m = curve_model();
  // Generated curve 3 through the origin, mirrored.
  m->LSNO(1) = -3;
  m->NPTLSG(3) = 3;
  m->LSDG(3, 1) = -1.0, m->LSDG(3, 2) = 0.0, m->LSDG(3, 3) = 1.0;
  m->LSLG(3, 1) = -20.0, m->LSLG(3, 2) = 0.0, m->LSLG(3, 3) = 80.0;
  Arr1<double, MAXNODE> MOV, FAX;
  double P = 0;
  int status = 0;
  const double u[6] = {0.25, 0, 0, 0, 0, 0};
  AXFORCE(*m, 1, P, u, MOV, FAX, status);
  EXPECT_EQ(P, 20.0);
  EXPECT_EQ(status, 0);
  EXPECT_EQ(AXSLOPE(*m, 1, 1), 20.0);  // the segment that ends at the origin

  // Beyond the end without extension the distribution is not run even when asked for.
  m->IAXVAR = 1;
  m->IEXTEND = 0;
  const double far[6] = {2.0, 0, 0, 0, 0, 0};
  RowCapture cap;
  {
    CaptureScope scope(cap);
    AXFORCE(*m, 1, P, far, MOV, FAX, status);
  }
  EXPECT_EQ(P, 0.0);
  EXPECT_EQ(status, 0);
  EXPECT_EQ(cap.nwbear, 1);

  // A user curve never takes the distribution.
  m->LSNO(1) = 2;
  AXFORCE(*m, 1, P, u, MOV, FAX, status);
  EXPECT_EQ(status, 0);
  EXPECT_EQ(P, 100.0 + 50.0 * 0.15 / 0.2);
}

TEST(Axforce, CurveReferenceOutsideTheTablesReadsNothing) {
  auto m = curve_model();
  m->IEXTEND = 1;
  Arr1<double, MAXNODE> MOV, FAX;
  double P = 5;
  int status = 0;
  const double u[6] = {0.1, 0, 0, 0, 0, 0};
  for (int ref : {0, MAXUCRV + 1, -(MAXROWP + 1)}) {
    m->LSNO(1) = ref;
    AXFORCE(*m, 1, P, u, MOV, FAX, status);
    EXPECT_EQ(P, 0.0) << ref;
    EXPECT_EQ(AXSLOPE(*m, 1, 1), 0.0) << ref;
  }
  m->LSNO(1) = 2;
  m->NPTLSU(2) = 999;  // a count beyond the table is cut to it
  AXFORCE(*m, 1, P, u, MOV, FAX, status);
  EXPECT_EQ(P, 100.0);
}

// A row without a curve (no soil layers to generate it from): no force, no curve read, and
// the run is stopped with the no-soil status and message.
TEST(Axforce, RowWithoutCurveIsRefused) {
  auto m = curve_model();
  m->NROW = 1;
  m->LSNO(1) = 0;
  m->IAXVAR = 1;
  Arr1<double, MAXNODE> MOV, FAX;
  double P = 5.0;
  int status = 0;
  const double u[6] = {0.05, 0, 0, 0, 0, 0};
  RowCapture cap;
  {
    CaptureScope scope(cap);
    AXFORCE(*m, 1, P, u, MOV, FAX, status);
  }
  EXPECT_EQ(status, ST_NOSOIL);
  EXPECT_EQ(P, 0.0);
  ASSERT_EQ(cap.lines.size(), 10u);
  EXPECT_EQ(cap.lines[4].second, "     NEEDS A LOAD-SETTLEMENT CURVE GENERATED FROM THE SOIL.");
  EXPECT_EQ(cap.nwbear + cap.nwpull, 0);
}

}  // namespace
}  // namespace torva
