// Printed p-y curves: the state of every request, the refusal messages, the heading of a
// printed curve and the node placement that makes the dispatcher evaluate one point.
#include <gtest/gtest.h>

#include <cctype>
#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

#include "pyfixture.h"
#include "soil_py/pyprint.h"

namespace torva {
namespace {

using pytest::PyFiles;
using pytest::PyModel;
using pytest::SoilPt;

std::string sp(int n) { return std::string(std::size_t(n), ' '); }

// Elastic subgrade: ST = 20 psi, Es = 500 pci (p = 12000 y up to 480 lb/in for D = 24 in).
SoilPt elastic_soil() {
  SoilPt s;
  s.c = 20.0;
  s.k = 500.0;
  s.gam = 0.04;
  return s;
}

// Row 1: head at X = 0, ground 10 in below it, tip at 240 in, 10 segments of 24 in.
// Soil: elastic subgrade 10..120, user curves 120..200, a gap, elastic 220..230.
PyModel print_model() {
  PyModel pm(10, 240.0, 24.0, 1, 0.0, 10.0);
  const SoilPt s = elastic_soil();
  pm.layer(10.0, 120.0, 12, s);
  pm.layer(120.0, 200.0, 5, s);
  pm.layer(220.0, 230.0, 12, s);
  pm.m.NLAYIN = pm.m.NLAYER;
  return pm;
}

void request(Model& m, int g, double d, int npt = 0) {
  const int i = ++m.NPYOUT;
  m.POPILE(i) = g;
  m.PODEP(i) = d;
  m.PONPT(i) = npt;
}

std::string opening(int i, int g) {
  return "\n\n" + sp(9) + "CURVE NUMBER              =" + sp(4) + std::to_string(i) + "\n\n\n" +
         sp(9) + "PILE GROUP NUMBER         =" + sp(4) + std::to_string(g) + "\n\n\n";
}

TEST(PyPrint, StatesOfTheRequests) {
  PyModel pm = print_model();
  Model& m = pm.m;
  PyFiles files(m);
  struct Req {
    double d;
    int g, state;
    const char* text;  // the refusal's last line (empty: printed)
  } reqs[] = {
      {60.0, 1, PO_PRINT, ""},
      {10.0, 1, PO_GROUND, "IS ABOVE OR EQUAL TO THE SOIL GROUND FOR REQUIRED PILE,       0.83 FT"},
      {0.0, 1, PO_HEAD, "IS ABOVE TOP OF REQUIRED PILE,       0.00 FT"},
      {236.0, 1, PO_TIP, ""},  // in no layer, but below the tip first
      {250.0, 1, PO_TIP, "IS BELOW TIP OF REQUIRED PILE,      20.00 FT"},
      {150.0, 1, PO_PRINT, "IS WITHIN LAYER   2, WHICH IS SET AS USER DEFINED P-Y CURVES"},
      {120.0, 1, PO_PRINT, "IS WITHIN LAYER   2, WHICH IS SET AS USER DEFINED P-Y CURVES"},
      {210.0, 1, PO_PRINT, "IS NOT WITHIN A DEFINED SOIL LAYER"},
      {230.0, 1, PO_PRINT, "IS BELOW OR EQUAL TO THE DEFINED SOIL BOTTOM,      19.17 FT"},
      {60.0, 2, PO_NOROW, "THE MODEL HAS    1 PILE GROUPS"},
      {60.0, 0, PO_NOROW, "THE MODEL HAS    1 PILE GROUPS"},
  };
  reqs[3].d = 240.0001;
  for (const Req& r : reqs) request(m, r.g, r.d);
  int status = 0;
  PYPRINT(m, status);
  EXPECT_EQ(status, 0);
  EXPECT_EQ(m.IPYPRT, 1);
  const std::string echo = files.text("echo.txt");
  for (int i = 1; i <= m.NPYOUT; ++i) {
    const Req& r = reqs[i - 1];
    EXPECT_EQ(m.POSTAT(i), r.state) << "request " << i;
    if (*r.text) {
      EXPECT_NE(echo.find(r.text), std::string::npos) << r.text;
    }
  }
  // One printed curve: its PLOTOUT line shows the row and the default point count 0; the
  // refused ones show 0 points.
  const std::string plot = files.text("plot.txt");
  EXPECT_EQ(plot.substr(0, 41), sp(5) + "* GENERATED P-Y CURVES *\n" + sp(5) + "   11\n");
  EXPECT_NE(plot.find("    1    1    0\n"), std::string::npos);
  EXPECT_NE(plot.find("   10    2    0\n"), std::string::npos);
  EXPECT_NE(plot.find("   11    0    0\n"), std::string::npos);
  // Exactly one curve heading.
  EXPECT_EQ(echo.find("P-Y CURVE COMPUTED USING"), echo.rfind("P-Y CURVE COMPUTED USING"));
}

TEST(PyPrint, LayoutOfAPrintedCurveAndARefusal) {
  PyModel pm = print_model();
  Model& m = pm.m;
  PyFiles files(m);
  request(m, 1, 60.0);
  request(m, 1, 10.0);
  int status = 0;
  PYPRINT(m, status);
  ASSERT_EQ(status, 0);
  const std::string echo = files.text("echo.txt");
  const std::string head = "\n\n" + sp(5) + "* GENERATED P-Y CURVES *\n\n" + sp(5) +
                           "NUMBER OF CURVES  :    2\n";
  const std::string curve1 = opening(1, 1) + sp(9) + "DEPTH BELOW ORIGIN        =      5.00 FT\n" +
                             sp(9) + "NUMBER OF POINTS ON CURVE =    0\n\n" + sp(9) +
                             "P-Y CURVE COMPUTED USING ELASTIC SUBGRADE CRITERIA\n";
  const std::string refusal2 = opening(2, 1) + sp(9) +
                               "CURVE NOT GENERATED SINCE REQUIRED DEPTH,        0.83 FT,\n" +
                               sp(9) +
                               "IS ABOVE OR EQUAL TO THE SOIL GROUND FOR REQUIRED PILE,       0.83 FT\n";
  ASSERT_EQ(echo.substr(0, head.size() + curve1.size()), head + curve1);
  // Elastic subgrade, Es = 500 pci, D = 24 in: p = 12000 y up to ST x D = 480 lb/in.
  EXPECT_NE(echo.find("0.0200000             240.000 \n"), std::string::npos);
  EXPECT_NE(echo.find("0.0640000             480.000 \n"), std::string::npos);
  // The criterion prints its block after the heading, then the refusal follows.
  const auto at = echo.find(refusal2);
  ASSERT_NE(at, std::string::npos);
  EXPECT_EQ(at + refusal2.size(), echo.size());
  EXPECT_GT(at, head.size() + curve1.size());
  // Node 1 at the requested depth, node 2 one segment below, node 1 alone in layer 1.
  EXPECT_EQ(m.DEPN(1, 1), 60.0);
  EXPECT_EQ(m.DEPN(1, 2), 84.0);
  EXPECT_EQ(m.NODE1(1, 1), 1);
  EXPECT_EQ(m.NODE1(1, 2), 0);
  EXPECT_EQ(m.NODE1(1, 3), 0);
}

// Without soil layers a request in the pile's soil reach has no soil to generate from: it
// is refused as such, not as a depth above a soil top.
TEST(PyPrint, NoSoilLayers) {
  PyModel pm(10, 240.0, 24.0, 1, 0.0, 10.0);
  Model& m = pm.m;
  PyFiles files(m);
  request(m, 1, 60.0);
  int status = 0;
  PYPRINT(m, status);
  EXPECT_EQ(status, 0);
  const std::string echo = files.text("echo.txt");
  const std::string refusal =
      opening(1, 1) + sp(9) + "CURVE NOT GENERATED SINCE NO SOIL LAYERS ARE DEFINED\n";
  ASSERT_GE(echo.size(), refusal.size());
  EXPECT_EQ(echo.substr(echo.size() - refusal.size()), refusal);
  EXPECT_NE(files.text("plot.txt").find("    1    1    0\n"), std::string::npos);
}

// Curves of two criteria: each is printed by the criterion of the layer at its depth, in
// the order requested, with the criterion's name line ahead of it.
TEST(PyPrint, SeveralCriteria) {
  PyModel pm(10, 240.0, 24.0, 1, 0.0, 10.0);
  Model& m = pm.m;
  SoilPt clay;
  clay.c = 5.0;
  clay.gam = 0.035;
  clay.e50 = 0.01;
  pm.layer(10.0, 120.0, 1, clay);
  pm.layer(120.0, 230.0, 12, elastic_soil());
  m.NLAYIN = m.NLAYER;
  PyFiles files(m);
  request(m, 1, 150.0, 2);
  m.POY(1, 1) = 0.01;
  m.POY(1, 2) = 0.1;
  request(m, 1, 60.0);
  int status = 0;
  PYPRINT(m, status);
  ASSERT_EQ(status, 0);
  const std::string echo = files.text("echo.txt");
  const auto e = echo.find(sp(9) + "P-Y CURVE COMPUTED USING ELASTIC SUBGRADE CRITERIA\n");
  const auto c = echo.find(sp(9) + "P-Y CURVE COMPUTED USING SOFT CLAY CRITERIA\n");
  ASSERT_NE(e, std::string::npos);
  ASSERT_NE(c, std::string::npos);
  EXPECT_LT(e, c);
  EXPECT_NE(echo.find(sp(9) + "NUMBER OF POINTS ON CURVE =    2\n"), std::string::npos);
  // The two requested deflections of the elastic curve: 12000 x 0.01 and the cap 480.
  const std::string elastic_part = echo.substr(e, c - e);
  EXPECT_NE(elastic_part.find("1.00000E-02             120.000 \n"), std::string::npos);
  EXPECT_NE(elastic_part.find("0.1000000             480.000 \n"), std::string::npos);
  EXPECT_NE(files.text("plot.txt").find("    1    1    2\n"), std::string::npos);
}

// The numbers of a printed line, in order (fixed and exponent fields, blanks or text
// between them).
std::vector<double> numbers_of(const std::string& line) {
  std::vector<double> out;
  const char* s = line.c_str();
  while (*s) {
    const bool start = std::isdigit(static_cast<unsigned char>(*s)) ||
                       ((*s == '-' || *s == '.') && std::isdigit(static_cast<unsigned char>(s[1])));
    if (!start) {
      ++s;
      continue;
    }
    char* end = nullptr;
    out.push_back(std::strtod(s, &end));
    s = end;
  }
  return out;
}

// The parameter block of a printed curve shows the constants of the curve at that depth,
// not zeros. One request per criterion at 15 ft on a 24 in pile in one uniform layer, the
// values by hand: sand and API sand (phi 35, 70 pcf) Pst = 4497 and Psd = 9414 lb/in from
// the wedge and flow formulas, A = 0.88, B = 0.50 below 5 D (API sand A = 0.9); silt (720
// psf, phi 30) Puc = min(3 + g x/c + 0.5 x/D, 9) c D = 8.208 x 5 x 24 = 985 and
// Pu_phi = min(Pst, Psd) = 2976; weak rock (qu 1000 psi, RQD 50) below 3 D
// pu = 10.4 (1 - 50/150) (qu/2) D = 83200; liquefied sand Pu = (3.81 ln 0.6096 + 5.6) x 15 kPa
// x 5.7143 = 318.36 lb/in; stiff clay with free water As = 0.60, Ac = 0.30 below 5 D.
TEST(PyPrint, ParameterBlocksShowTheCurveConstants) {
  struct Value {
    int token;  // position of the number on the line
    double want, tol;
  };
  struct Case {
    int code;
    SoilPt soil;
    const char* marker;  // text of the heading line (or of the value line when `below` is 0)
    int below;           // lines from the marker line to the value line
    std::vector<Value> values;
  };
  auto soil = [](double c, double phi, double gam_pcf, double k, double e50, double j, double er) {
    SoilPt s;
    s.c = c;
    s.phi_deg = phi;
    s.gam = gam_pcf / 1728.0;
    s.k = k;
    s.e50 = e50;
    s.j = j;
    s.er = er;
    return s;
  };
  const Case cases[] = {
      {4, soil(0, 35, 70, 125, 0, 0, 0), "PCT", 2,
       {{4, 0.88, 0.006}, {5, 0.50, 0.006}, {6, 4497, 60}, {7, 9414, 60}}},
      {8, soil(0, 35, 70, 125, 0, 0, 0), "PCT", 2,
       {{4, 0.90, 0.006}, {6, 4497, 6}, {7, 9414, 6}}},
      {7, soil(5, 30, 70, 125, 0, 0, 0), "Puc", 2,
       {{4, 0.88, 0.006}, {5, 0.50, 0.006}, {6, 985, 0.6}, {7, 2976, 6}}},
      {9, soil(1000, 0, 70, 0, 0.0005, 50, 1.0e5), " PU ", 2,
       {{2, 500, 6}, {3, 83200, 600}}},
      {11, soil(0, 0, 70, 0, 0, 0, 0), "Pu                               = ", 0,
       {{0, 318.36, 0.01}}},
      {2, soil(10, 0, 70, 500, 0.005, 0, 0), "AS =", 0, {{0, 0.60, 0.006}, {1, 0.30, 0.006}}},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(::testing::Message() << "criterion " << k.code);
    PyModel pm(10, 480.0, 24.0, 1, 0.0, 0.0);
    Model& m = pm.m;
    pm.layer(0.0, 600.0, k.code, k.soil);
    m.NLAYIN = m.NLAYER;
    PyFiles files(m);
    request(m, 1, 180.0);
    int status = 0;
    PYPRINT(m, status);
    ASSERT_EQ(status, 0);
    const std::vector<std::string> lines = pytest::lines_of(files.text("echo.txt"));
    std::size_t at = 0;
    while (at < lines.size() && lines[at].find(k.marker) == std::string::npos) ++at;
    ASSERT_LT(at + k.below, lines.size());
    const std::vector<double> got = numbers_of(lines[at + k.below]);
    for (const Value& v : k.values) {
      ASSERT_LT(std::size_t(v.token), got.size()) << lines[at + k.below];
      EXPECT_NEAR(got[std::size_t(v.token)], v.want, v.tol) << lines[at + k.below];
    }
  }
}

// A pile of 24 in over its upper 30 ft (of its axis) and 36 in below, head 1 ft below the
// origin: each printed curve uses the width at its own place along the pile, in the order
// requested, whichever came before. Vertical, the section boundary lies at 31 ft. Battered
// at 14 degrees with the node depths projected on the vertical, a depth d lies
// (d - 1 ft) / cos(14 deg) along the axis: the boundary at 1 + 30 x 0.97030 = 30.11 ft, so
// 29.5 ft (29.37 ft along the axis from the head) is 24 in and 30.5 ft (30.40 ft) is 36 in.
TEST(PyPrint, EachCurveUsesTheWidthAtItsPlaceAlongThePile) {
  struct Request {
    double depth, diam;
  };
  const struct Case {
    const char* name;
    double batter_deg;
    std::vector<Request> requests;
  } cases[] = {
      {"vertical", 0.0, {{552.0, 36.0}, {180.0, 24.0}, {371.0, 24.0}, {373.0, 36.0}, {60.0, 24.0}}},
      {"battered", 14.0, {{366.0, 36.0}, {354.0, 24.0}, {362.0, 36.0}, {60.0, 24.0}, {360.0, 24.0}}},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.name);
    PyModel pm(10, 720.0, 24.0, 1, 12.0, 0.0);
    Model& m = pm.m;
    m.NSECT(1) = 2;
    m.STO(1, 1) = 360.0;
    m.SFROM(1, 2) = 360.0;
    m.STO(1, 2) = 720.0;
    m.SDIAM(1, 2) = m.SDIAMB(1, 2) = 36.0;
    if (k.batter_deg != 0.0) {  // node depths projected on the vertical, as the layout has them
      m.IBATTER = 1;
      m.BATTER(1) = k.batter_deg * 3.141592653589793 / 180.0;
      for (int n = 1; n <= 11; ++n) m.DEPN(1, n) = 12.0 + (n - 1) * 72.0 * std::cos(m.BATTER(1));
    }
    pm.layer(12.0, 800.0, 12, elastic_soil());
    m.NLAYIN = m.NLAYER;
    PyFiles files(m);
    for (const Request& r : k.requests) request(m, 1, r.depth);
    int status = 0;
    PYPRINT(m, status);
    ASSERT_EQ(status, 0);
    const std::vector<std::string> lines = pytest::lines_of(files.text("echo.txt"));
    std::vector<double> widths;
    for (std::size_t i = 0; i + 2 < lines.size(); ++i)
      if (lines[i].find("DEPTH BELOW GS") != std::string::npos)
        widths.push_back(numbers_of(lines[i + 2]).at(1));
    ASSERT_EQ(widths.size(), k.requests.size());
    for (std::size_t i = 0; i < widths.size(); ++i)
      EXPECT_EQ(widths[i], k.requests[i].diam) << "request at " << k.requests[i].depth;
    // The resistance of the last default point is ST x D: 720 lb/in on the 36 in pile.
    EXPECT_NE(files.text("echo.txt").find("             720.000 \n"), std::string::npos);
  }
}

TEST(PyPrint, CapLevelCurves) {
  PyModel pm(10, 240.0, 24.0, 1, 0.0, -24.0);  // ground 24 in above the head: embedded cap
  Model& m = pm.m;
  pm.layer(-24.0, 300.0, 12, elastic_soil());
  m.NLAYIN = m.NLAYER;
  m.ICAPOPT = 1;
  m.CAPTHK = 12.0;
  m.CAPWID = 48.0;
  PyFiles files(m);
  request(m, 1, -6.0);   // within the cap: the cap-level curve
  request(m, 1, 0.0);    // at the head, also within the cap: a second one, refused
  request(m, 1, -20.0);  // above the cap top
  request(m, 1, 30.0);   // an ordinary curve
  int status = 0;
  PYPRINT(m, status);
  EXPECT_EQ(m.POSTAT(1), PO_CAP);
  EXPECT_EQ(m.POSTAT(2), PO_CAP2);
  EXPECT_EQ(m.POSTAT(3), PO_CAPTOP);
  EXPECT_EQ(m.POSTAT(4), PO_PRINT);
  const std::string echo = files.text("echo.txt");
  EXPECT_NE(echo.find("\n\n" + sp(9) + "CURVE NUMBER              =    1\n\n\n" + sp(9) +
                      "AT PILE CAP LEVEL, DEPTH  =     -0.50 FT\n\n\n" + sp(9) +
                      "NUMBER OF POINTS ON CURVE =    0\n"),
            std::string::npos);
  EXPECT_NE(echo.find(sp(9) + "AT PILE CAP LEVEL, DEPTH  =      0.00 FT\n\n\n" + sp(9) +
                      "CURVE NOT GENERATED SINCE ONLY ONE CURVE \n" + sp(9) +
                      "AT PILE CAP LEVEL CAN BE PRINTED \n"),
            std::string::npos);
  EXPECT_NE(echo.find(sp(9) + "IS ABOVE TOP OF PILE CAP,      -1.00 FT\n"), std::string::npos);
}

TEST(PyPrint, NoRequests) {
  PyModel pm = print_model();
  PyFiles files(pm.m);
  int status = 0;
  PYPRINT(pm.m, status);
  EXPECT_EQ(files.text("echo.txt"),
            "\n\n" + sp(5) + "* GENERATED P-Y CURVES *\n\n" + sp(5) + "NUMBER OF CURVES  :    0\n");
  EXPECT_EQ(files.text("plot.txt"), sp(5) + "* GENERATED P-Y CURVES *\n" + sp(5) + "    0\n");
}

}  // namespace
}  // namespace torva
