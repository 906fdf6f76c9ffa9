// Per-pile scratch records and the all-piles summary tables.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "io/writers.h"
#include "report/envewr2d.h"
#include "report/ptables.h"
#include "report/report_fixture.h"

namespace torva {
namespace {

using testing::ReportFixture;

// The text of what `write` puts on a file held in memory.
template <class F>
std::string record(F write) {
  TextFile f;
  f.open_memory();
  write(f);
  std::string s = f.take_text();
  if (!s.empty() && s.back() == '\n') s.pop_back();
  return s;
}

bool near5(double got, double want) {
  // Five significant digits: half a unit of the fifth, relative.
  return std::abs(got - want) <= 5.0001e-5 * std::abs(want);
}

// Values across the magnitudes the records can show come back to five significant digits,
// also with three-digit exponents (written without the exponent letter).
TEST(PileScratch, RoundTripAcrossMagnitudes) {
  const double values[] = {0.0,     0.123456789, -0.0708,  99999.4, 99999.5,  1.0e-120,
                           -1.0e120, -3.5e-300,  1.7e308,  4.9e-324, 12345.678, -0.1};
  for (double v : values) {
    SCOPED_TRACE(v);
    const double six[7] = {v, v, v, v, v, v, v};
    const std::string top = record([&](TextFile& f) { write_top_record(f, 12, six, 7); });
    ASSERT_EQ(top.size(), 113u);
    EXPECT_EQ(top.substr(5, 6), "    12");
    Extremes e;
    e.fill(v);
    const std::string ext = record([&](TextFile& f) { write_extreme_record(f, 2500, e); });
    ASSERT_EQ(ext.size(), 361u);
    for (int i = 0; i < 7; ++i) {
      const double got = scratch_field(top, 16, i);
      EXPECT_TRUE(near5(got, v)) << top.substr(std::size_t(15 + 14 * i), 14) << " read " << got;
    }
    for (int i = 0; i < NNODEQ; ++i) EXPECT_TRUE(near5(scratch_field(ext, 12, i), v));
  }
  // The value the tables are known to show: read back from the file, not the stored one.
  const double h[1] = {0.123456789};
  EXPECT_EQ(scratch_field(record([&](TextFile& f) { write_top_record(f, 1, h, 1); }), 16, 0),
            0.12346);
}

// A value the record cannot show is never read as another one: non-finite values and
// depths beyond the fixed field come back as NaN (printed as asterisks), and a signed
// three-digit exponent is never cut to its mantissa.
TEST(PileScratch, UnshowableValuesAreNeverMisread) {
  const double inf = std::numeric_limits<double>::infinity();
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double top[3] = {inf, -inf, nan};
  const std::string t = record([&](TextFile& f) { write_top_record(f, 1, top, 3); });
  for (int i = 0; i < 3; ++i) EXPECT_TRUE(std::isnan(scratch_field(t, 16, i))) << t;
  Extremes d;
  d.fill(1.0e8);
  d[1] = 12345.6789;
  const std::string dl = record([&](TextFile& f) { write_depth_record(f, "x(FT)", d); });
  EXPECT_TRUE(std::isnan(scratch_field(dl, 12, 0))) << dl;
  EXPECT_EQ(scratch_field(dl, 12, 1), 12345.6789);
  struct Field {
    const char* text;
    double want;  // NaN: no number
  };
  const Field fields[] = {{"  0.12345-100", 0.12345e-100}, {" -1.23450+105", -1.2345e105},
                          {"   0.10000E+01", 1.0},          {"              ", 0.0},
                          {"  ************", nan},          {"     12a      ", nan},
                          {"  -0.50000D+00", -0.5}};
  for (const Field& f : fields) {
    SCOPED_TRACE(f.text);
    const double got = scratch_real(f.text);
    if (std::isnan(f.want))
      EXPECT_TRUE(std::isnan(got));
    else
      EXPECT_DOUBLE_EQ(got, f.want);
  }
  // An unshowable value reaches the summary table as asterisks.
  std::string line;
  put_real(line, nan, 13, 4);
  EXPECT_EQ(line, "*************");
}

// The head records of a 2-D row: exponent form with 4 digits in 11 columns at columns 18,
// 31, 44 and 57, read back from exactly those columns (negative values, a three-digit
// exponent without its letter, and a value the field cannot show).
TEST(PileScratch, TwoDimensionalHeadRecord) {
  const double v[4] = {-0.012345678, 1.0e-120, 41445.3,
                       std::numeric_limits<double>::quiet_NaN()};
  const std::string r = record([&](TextFile& f) { write_top_record_2d(f, 12, v, 4); });
  EXPECT_EQ(r, "         12      -0.1235E-01   0.1000-119   0.4145E+05  ***********");
  EXPECT_EQ(scratch_int(r, 5, 6), 12);
  EXPECT_DOUBLE_EQ(scratch_field(r, 18, 0, 13, 11), -0.01235);
  EXPECT_DOUBLE_EQ(scratch_field(r, 18, 1, 13, 11), 1.0e-120);
  EXPECT_DOUBLE_EQ(scratch_field(r, 18, 2, 13, 11), 41450.0);
  EXPECT_TRUE(std::isnan(scratch_field(r, 18, 3, 13, 11)));
  EXPECT_EQ(scratch_field(r, 18, 4, 13, 11), 0.0);  // beyond the record: blanks
}

// Running extremes: strict comparisons, so the lower row keeps a tie; row 1 restarts.
TEST(PileSummary, ExtremesKeepTheLowerRowOfATie) {
  double mn[2] = {9, 9}, mx[2] = {-9, -9};
  int rmn[2] = {7, 7}, rmx[2] = {7, 7};
  const double r1[2] = {1.0, 5.0}, r2[2] = {1.0, 6.0}, r3[2] = {-2.0, 6.0};
  PTABINIT(1, 2, r1, rmn, rmx, mn, mx);
  PTABINIT(2, 2, r2, rmn, rmx, mn, mx);
  PTABINIT(3, 2, r3, rmn, rmx, mn, mx);
  EXPECT_EQ(mn[0], -2.0);
  EXPECT_EQ(rmn[0], 3);
  EXPECT_EQ(mx[0], 1.0);
  EXPECT_EQ(rmx[0], 1);
  EXPECT_EQ(mn[1], 5.0);
  EXPECT_EQ(rmn[1], 1);
  EXPECT_EQ(mx[1], 6.0);
  EXPECT_EQ(rmx[1], 2);
  PTABINIT(4, 0, r1, rmn, rmx, mn, mx);  // no column: nothing changes
  EXPECT_EQ(mn[0], -2.0);
}

// The summary scratch file: no stress table, and one heading for the minimum and maximum
// lines of the along-pile extremes.
TEST(PileSummary, SummaryScratchFile) {
  ReportFixture f;
  TextFile& s = f.m.PILESCR;
  ASSERT_TRUE(s.open_write("case.pls"));
  for (int g = 1; g <= 2; ++g) {
    double v[7];
    for (int r = 0; r < 4; ++r) {
      for (int i = 0; i < 7; ++i) v[i] = (r + 1) * 10.0 + i + (g == 2 ? 0.5 : 0.0);
      write_top_record(s, g, v, r % 2 == 0 ? 6 : 7);
    }
    Extremes e, d;
    e.fill(g);
    d.fill(5.0);
    write_extreme_record(s, g, e);
    write_depth_record(s, "x(FT)", d);
    write_extreme_record(s, g, e);
    write_depth_record(s, "x(FT)", d);
  }
  s.close();
  PrintFlags F;
  F.fill(0);
  F(9) = F(12) = 1;
  int status = 0;
  PTABLES(f.m, 2, F, status);
  f.close();
  ASSERT_EQ(status, 0);
  const std::string scr = f.text(".sus");
  EXPECT_EQ(scr.find("STRESS"), std::string::npos);
  ASSERT_NE(scr.find("\n     PILE  "), std::string::npos);
  EXPECT_EQ(scr.find("\n     PILE  "), scr.rfind("\n     PILE  "));
  EXPECT_NE(scr.find("      Min.      1.0000      1.0000 \n   Pile N.       1           1       \n"
                     "      Max.      2.0000      2.0000 \n"),
            std::string::npos)
      << scr;
  // The stress column of the local reactions: minimum 46 on row 1, maximum 46.5 on row 2.
  const std::string sum = f.text(".sum");
  EXPECT_NE(sum.find("       MINIMUM         46.000 \n       Pile N.          1        \n"
                     "       MAXIMUM         46.500 \n       Pile N.          2        \n"),
            std::string::npos);
}

// A scratch file that lost records stops the tables with a status, not a partial table;
// in both models (all tables, then one table without its file).
TEST(PileSummary, MissingRecordsSetTheStatus) {
  using Tables = void (*)(Model&, const PrintFlags&, int&);
  struct Case {
    Tables all, one;
  };
  const Case cases[] = {
      {[](Model& m, const PrintFlags& F, int& st) { PTABLES(m, 2, F, st); },
       [](Model& m, const PrintFlags& F, int& st) { PTABLE(m, 1, 1, 2, F, st); }},
      {[](Model& m, const PrintFlags& F, int& st) { PTABLES2D(m, 2, F, st); },
       [](Model& m, const PrintFlags&, int& st) { PTABLE2D(m, 1, 1, 2, st); }},
  };
  for (const Case& c : cases) {
    ReportFixture f;
    f.dir.write("case.pls", "          1        1.0000\n");
    PrintFlags F;
    F.fill(1);
    int status = 0;
    c.all(f.m, F, status);
    EXPECT_EQ(status, ST_FILEWRITE);
    status = 0;
    f.m.FNAME[R_PILESCR] = "missing/none.pls";
    c.one(f.m, F, status);
    EXPECT_EQ(status, ST_FILEOPEN);
  }
}

// The tables of one summary read the scratch file once: the records held from the first
// pass come again, row by row, when the file is gone.
TEST(PileSummary, HeldRecordsServeTheLaterTables) {
  ReportFixture f;
  std::string text;
  for (int i = 1; i <= 16; ++i) text += "record " + std::to_string(i) + "\n";
  f.dir.write("case.pls", text);
  std::vector<std::string> held;
  int status = 0;
  std::vector<std::string> first, again;
  const auto take = [](std::vector<std::string>& to) {
    return [&to](int g, const std::string* rec) { to.push_back(std::to_string(g) + rec[7]); };
  };
  ASSERT_TRUE(read_pile_records(f.m, 2, take(first), status, &held));
  f.m.FNAME[R_PILESCR] = "missing/none.pls";
  ASSERT_TRUE(read_pile_records(f.m, 2, take(again), status, &held));
  EXPECT_EQ(status, 0);
  EXPECT_EQ(first, (std::vector<std::string>{"1record 8", "2record 16"}));
  EXPECT_EQ(again, first);
}

}  // namespace
}  // namespace torva
