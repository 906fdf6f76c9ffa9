// Fixed-column fields and the report rule for reals.
#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "io/fmt.h"
#include "io/writers.h"

namespace torva {
namespace {

struct RealCase {
  double v;
  int w, n;
  const char* want;
};

void PrintTo(const RealCase& c, std::ostream* os) {
  *os << c.v << " w" << c.w << " n" << c.n;
}

class PutReal : public ::testing::TestWithParam<RealCase> {};

TEST_P(PutReal, WritesExactField) {
  std::string line;
  put_real(line, GetParam().v, GetParam().w, GetParam().n);
  EXPECT_EQ(line, GetParam().want) << "v=" << GetParam().v;
}

INSTANTIATE_TEST_SUITE_P(
    ReportRule, PutReal,
    ::testing::Values(RealCase{0.0, 12, 3, "       0.000"},      // zero in fixed form
                      RealCase{-1e-60, 12, 3, "       0.000"},    // below 1e-50 is zero
                      RealCase{2.5, 12, 3, "       2.500"},
                      RealCase{45.6, 12, 3, "       45.60"},
                      RealCase{999.9, 12, 3, "       999.9"},
                      RealCase{1000.0, 12, 3, "   1.000E+03"},    // at 10^n: exponent form
                      RealCase{0.5, 12, 3, "   5.000E-01"},       // at or below 10^(3-n)
                      RealCase{1.0, 12, 3, "   1.000E+00"},       // exactly 10^(3-n)
                      RealCase{1.0001, 12, 3, "       1.000"},
                      RealCase{0.05, 12, 5, "   0.0500000"},       // k = -2, d = 7
                      RealCase{0.005, 14, 6, "  5.000000E-03"},    // k = -3, d = 9 > 8
                      RealCase{123456.0, 12, 4, "  1.2346E+05"},
                      RealCase{-45.6, 12, 3, "      -45.60"},
                      RealCase{-0.5, 12, 3, "  -5.000E-01"},
                      RealCase{99.996, 8, 3, "  100.00"},          // rounding carries a digit
                      RealCase{-2.5e-20, 12, 3, "  -2.500E-20"},
                      RealCase{1.5e150, 10, 3, " 1.500+150"},      // three-digit exponent
                      RealCase{12345.0, 8, 6, "12345.00"},
                      RealCase{999999.0, 6, 7, "******"}));        // does not fit

struct FieldCase {
  char kind;
  double v;
  int w, d;
  const char* want;
};

void PrintTo(const FieldCase& c, std::ostream* os) {
  *os << c.kind << " " << c.v << " w" << c.w << " d" << c.d;
}

class PutField : public ::testing::TestWithParam<FieldCase> {};

TEST_P(PutField, WritesExactField) {
  const FieldCase& c = GetParam();
  std::string line;
  switch (c.kind) {
    case 'I': put_I(line, static_cast<long long>(c.v), c.w); break;
    case 'F': put_F(line, c.v, c.w, c.d); break;
    case 'E': put_E(line, c.v, c.w, c.d, 0); break;
    case 'P': put_E(line, c.v, c.w, c.d, 1); break;
    case 'G': put_G(line, c.v, c.w, c.d, 0); break;
  }
  EXPECT_EQ(line, c.want) << c.kind << " v=" << c.v;
}

INSTANTIATE_TEST_SUITE_P(
    Descriptors, PutField,
    ::testing::Values(FieldCase{'I', 7, 5, 0, "    7"}, FieldCase{'I', -123, 4, 0, "-123"},
                      FieldCase{'I', 12345, 4, 0, "****"}, FieldCase{'I', 10, 1, 0, "*"},
                      FieldCase{'F', 1.5, 8, 3, "   1.500"},
                      FieldCase{'F', 999.9995, 8, 3, "1000.000"},
                      FieldCase{'F', -0.0004, 8, 3, "   0.000"},  // no negative zero
                      FieldCase{'F', 1.0e9, 8, 3, "********"},
                      FieldCase{'F', 0.25, 4, 3, ".250"},          // optional zero dropped
                      FieldCase{'F', 3.0, 5, 0, "   3."},
                      FieldCase{'E', 1234.5, 10, 3, " 0.123E+04"},
                      FieldCase{'E', -0.000123, 11, 3, " -0.123E-03"},
                      FieldCase{'E', 0.0, 10, 3, " 0.000E+00"},
                      FieldCase{'P', 1234.5, 10, 3, " 1.234E+03"},  // 1234.5 rounds to even
                      FieldCase{'P', 1235.5, 10, 3, " 1.236E+03"},
                      FieldCase{'G', 123.456, 12, 4, "   123.5    "},
                      FieldCase{'G', 0.5, 12, 4, "  0.5000    "},
                      FieldCase{'G', 0.0, 12, 4, "   0.000    "},
                      FieldCase{'G', 1.0e5, 12, 4, "  0.1000E+06"},
                      FieldCase{'G', 0.01, 12, 4, "  0.1000E-01"}));

TEST(LineWriters, IntegerFieldThenLineEnd) {
  TextFile f;
  WRTINT(f, 5, 7);
  EXPECT_EQ(f.cur, "    7");
  WRTBLANK(f, 0);
  WRTBLANK(f, -3);
  EXPECT_EQ(f.cur, "    7");
  WRTA10(f, "ABC");
  EXPECT_EQ(f.cur, "    7 ABC        ");
  WRTTRIM(f, "XY   ");
  EXPECT_EQ(f.cur, "    7 ABC        XY");
}

TEST(LineWriters, BufferColumnsAdvance) {
  std::string buf(10, '#');
  int col = 11;
  BUFREAL(buf, 12, 3, 2.5, col);
  EXPECT_EQ(col, 23);
  EXPECT_EQ(buf, "##########       2.500");
  BUFBLANK(buf, 3, col);
  EXPECT_EQ(col, 26);
  EXPECT_EQ(buf.size(), 25u);
}

}  // namespace
}  // namespace torva
