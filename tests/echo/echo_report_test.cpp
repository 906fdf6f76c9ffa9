// Layout of the echo report, Tables B to E: lines written column by column, checked
// against hand-built expectations.
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

#include "echo/echo.h"
#include "input/units.h"
#include "support/workdir.h"

namespace torva {
namespace {

class EchoReport : public ::testing::Test {
 protected:
  testing::WorkDir dir;
  std::unique_ptr<Model> mp = new_model();
  Model& m = *mp;
  void SetUp() override {
    m.IUNITS = 1;
    SETUNITLAB(m, 1);
    ASSERT_TRUE(m.ECHO.open_write((dir.path() / "echo.txt").string()));
  }
  std::vector<std::string> lines() {
    m.ECHO.close();
    std::istringstream in(dir.read("echo.txt"));
    std::vector<std::string> out;
    for (std::string l; std::getline(in, l);) out.push_back(l);
    return out;
  }
  static bool has(const std::vector<std::string>& v, const std::string& l) {
    return std::find(v.begin(), v.end(), l) != v.end();
  }
  static bool contains(const std::vector<std::string>& v, const std::string& part) {
    for (const auto& l : v)
      if (l.find(part) != std::string::npos) return true;
    return false;
  }
  // A load case with the controls every case carries.
  void load_case(int i) {
    m.NLC = std::max(m.NLC, i);
    m.CASNAME(i) = "CASE";
    m.CASREAL(i, 5) = 1.0;
    m.CASINT(i, 4) = 1;
    m.CASREAL(i, 1) = 1.0e-5;
    m.CASREAL(i, 3) = 0.05;
  }
};

TEST_F(EchoReport, CapTableAndItsAbsence) {
  m.NDIM = 3;
  ECHOCAP(m);  // no option, no dimensions: no table
  m.ICAPOPT = 2;
  m.ICAPSPR = 1;
  m.NCAPINC = 7;
  m.ICAPMOD = 2;
  m.CAPLEN = 36.0;  // inches: 3 ft
  m.CAPWID = 48.0;
  m.CAPTHK = 0.0012;
  m.CAPK50 = 250.0;
  ECHOCAP(m);
  const auto v = lines();
  const std::vector<std::string> want = {
      "", "", "", "     * TABLE B *  PILE CAP OPTIONS", "",
      "     LENGTH,YY    ( FT ) =    3.000       ",
      "     WIDTH, ZZ    ( FT ) =    4.000       ",
      "     THICKNESS,XX ( FT ) =   1.0000E-04",
      "", "     * PILE CAP IS EMBEDDED AND PASSIVE EARTH",
      "       RESISTANCE IN FRONT OF PILE CAP WILL BE CONSIDERED", "",
      "     - USING EQUIVALENT LATERAL SPRING", "       INCREMENTS =     7",
      "     - USE FHD MODEL, PARAMETERS:    ",
      "       K50    (LBS/IN/IN) =    250.0       ",
  };
  ASSERT_GE(v.size(), want.size());
  for (std::size_t i = 0; i < want.size(); ++i) EXPECT_EQ(v[i], want[i]) << "line " << i;
}

TEST_F(EchoReport, GeneralOptionLines) {
  struct Case { int gen, ext; bool gen_line, ext_line; };
  for (const Case& c : {Case{1, 0, true, false}, Case{0, 1, false, true}, Case{1, 1, true, true},
                        Case{0, 0, false, false}}) {
    m.IGENCRV = c.gen;
    m.IEXTEND = c.ext;
    ASSERT_TRUE(m.ECHO.open_write((dir.path() / "echo.txt").string()));
    ECHOHEAD(m);
    const auto v = lines();
    EXPECT_EQ(contains(v, "GENERATE LOAD-DISP (AND T-R) CURVES BASED ON SOIL PROFILE"), c.gen_line);
    EXPECT_EQ(has(v, "     EXTEND INTERPOLATION FOR L-DP (AND T-R) CURVES"), c.ext_line);
  }
}

TEST_F(EchoReport, ControlBlockOfACase) {
  m.NDIM = 2;
  load_case(1);
  m.CASINT(1, 4) = 0;
  m.CASINT(1, 5) = 20;
  m.CASINT(1, 20) = 1;
  m.CASREAL(1, 6) = 0.05;
  m.CASINT(1, 18) = 2;
  m.CASINT(1, 19) = 3;
  m.CASINT(1, 22) = 1;
  ECHOLOADS(m);
  const auto v = lines();
  EXPECT_TRUE(has(v, "     NOTE: LOAD CASE WILL NOT BE ANALYZED"));
  EXPECT_TRUE(has(v, "     NO. OF CYCLES =       20."));
  EXPECT_TRUE(has(v, "         TOLERANCE ON CONVERGENCE OF PILE CAP MOVEMENT        =  1.00000E-05"));
  EXPECT_TRUE(has(v, "         ALTER. TOLERANCE CONVERGENCE PILE CAP DEFLECTION     =  5.00000E-02 IN"));
  EXPECT_TRUE(has(v, "         FACTOR TO APPLY THE LOAD IN INCREMENTS               =  5.00000E-02"));
  EXPECT_TRUE(has(v, "         PRINT RESULTS EVERY     3 NODE(S)"));
  EXPECT_TRUE(has(v, "     LOAD TYPE    : Dead, DL                        "));
}

TEST_F(EchoReport, CombinationsWithAndWithoutMembers) {
  m.NDIM = 3;
  load_case(1);
  m.CASNAME(1) = "A CASE NAME LONGER THAN TWENTY-SIX CHARACTERS";
  m.NCOMB = 2;
  m.CBINT(1, 8) = 1;
  m.MEMCASE(1, 1) = 1;
  m.MEMFAC(1, 1) = 1.5;
  m.CBINT(1, 9) = 2;
  m.CBINT(1, 10) = 4;
  m.CBREAL(1, 5) = 1.0;
  m.CBINT(1, 4) = 1;
  m.CBINT(2, 4) = 1;
  ECHOLOADS(m);
  const auto v = lines();
  EXPECT_TRUE(has(v, "        1         1          A CASE NAME LONGER THAN TW          1.50000 "));
  EXPECT_TRUE(has(v, "         PRINT RESULTS EVERY     4NODE(S)"));
  EXPECT_EQ(std::count(v.begin(), v.end(),
                       "       NL     LOAD NUMBER         LOAD NAME                  LOAD FACTOR"),
            1);
  EXPECT_TRUE(has(v, "     BENDING RF :   1.0000    "));
}

TEST_F(EchoReport, DistributedLinesPrintWhatIsAnalysed) {
  m.NDIM = 2;
  load_case(1);
  m.CASINT(1, 16) = 2;
  m.DLINT(1, 1, 2) = 2;  // any non-zero code is applied in the global axes
  m.DLINT(1, 1, 3) = 1;
  m.DLINT(1, 1, 6) = 1;
  m.DLFY(1, 1) = 2.0;
  m.DLINT(1, 2, 3) = 2;
  ECHOLOADS(m);
  auto v = lines();
  EXPECT_TRUE(has(v, "        1   GLOBAL       1         0         0               1        2.0000 "));
  EXPECT_TRUE(has(v, "        2   LOCAL        2         0         0               0        0.0000 "));
  EXPECT_FALSE(contains(v, "NOTE: FOR GLOBAL LOADING"));
  m.CASINT(1, 14) = 1;
  ASSERT_TRUE(m.ECHO.open_write((dir.path() / "echo.txt").string()));
  ECHOLOADS(m);
  v = lines();
  EXPECT_TRUE(has(v, "     NOTE: FOR GLOBAL LOADING, AXIAL COMPONENT IS CONSIDERED AS CONCENTRATED "
                     "LOAD AT PILE HEAD"));
}

TEST_F(EchoReport, EstimationBlocks) {
  m.NDIM = 2;
  load_case(1);
  m.CASINT(1, 9) = 11;
  ESTDEFAULTS(m);
  ECHOLOADS(m);
  auto v = lines();
  EXPECT_TRUE(has(v, "     COMPUTED FOR EQUIVALENT      CONCENTRATED LOAD AT ORIGIN"));
  EXPECT_TRUE(has(v, "        1          0.10000 "));
  EXPECT_TRUE(has(v, "       10          1.00000 "));
  EXPECT_EQ(m.NVSTF, 10);
  // One level and the twelve parameters: a target rotation in 2-D, axial loads kept.
  m.CASINT(1, 17) = 13;
  const double p[13] = {0.5, 1.0, 3.0, 0, 0, 0, 0, 0, 0.002, 5.0, 20.0, 1.0, 0.0};
  for (int k = 0; k < 13; ++k) m.STFDAT(1, k + 1) = p[k];
  ASSERT_TRUE(m.ECHO.open_write((dir.path() / "echo.txt").string()));
  ECHOLOADS(m);
  v = lines();
  EXPECT_TRUE(has(v, "     - CONSIDER AXIAL LOADS IN PILES"));
  EXPECT_TRUE(has(v, "     - BASED ON TARGET DEFLECTION   "));
  EXPECT_TRUE(has(v, "       ROTATION Z     =   2.00000E-03       TOLERANCE (%)  =       5.0000 "));
  EXPECT_TRUE(has(v, "       ITERATIONS     =    20 "));
  EXPECT_TRUE(has(v, "        1          0.50000 "));
  EXPECT_FALSE(contains(v, "        2     "));
  // A target outside 1..6: the tolerance stands on a line of its own.
  m.STFDAT(1, 3) = 7.0;
  ASSERT_TRUE(m.ECHO.open_write((dir.path() / "echo.txt").string()));
  ECHOLOADS(m);
  v = lines();
  EXPECT_TRUE(has(v, "       TOLERANCE (%)  =       5.0000 "));
}

TEST_F(EchoReport, SpecifiedDisplacementLines3D) {
  m.NDIM = 3;
  load_case(1);
  m.IDISP(1) = 1;
  for (int d = 1; d <= 6; ++d) m.ICOND(1, d) = d % 2;  // X, rot Z, rot Y loads; Y, Z, rot X displacements
  for (int j = 1; j <= 12; ++j) m.SPVAL(1, j) = j;
  m.SPVAL(1, 13) = 24.0;
  ECHOLOADS(m);
  const auto v = lines();
  const std::vector<std::string> want = {
      "     - DOF 1 ,      VERT. LOAD,LBS                2.00000 ",
      "     - DOF 2 ,      HOR.DISP Y, IN                3.00000 ",
      "     - DOF 3 ,      HOR.DISP Z, IN                7.00000 ",
      "     - DOF 4 ,      ROTATION X,RAD                11.0000 ",
      "     - DOF 5 ,        MOMENT Y,LBS-IN          10.0000 ",
      "     - DOF 6 ,        MOMENT Z,LBS-IN          6.00000 ",
      "     - LOCATION       COORD. X, FT                2.00000 ",
      "       COORD. Y, FT                0.00000 ",
  };
  for (const auto& l : want) EXPECT_TRUE(has(v, l)) << l;
}

TEST_F(EchoReport, RowsTable2D) {
  m.NDIM = 2;
  m.IAXFAC = 1;
  m.NROW2 = 1;
  const int ri[] = {3, 4, 1, 0, 0, 2, 5};
  for (int c = 1; c <= 7; ++c) m.ROWI2(1, c) = ri[c - 1];
  const double rr[] = {1000.0, 36.0, 1, 1, 0.9, 24.0, -12.0, 45.0, 6.0};
  for (int c = 1; c <= 9; ++c) m.ROWR2(1, c) = rr[c - 1];
  BUILDROWS(m);
  ECHOROWS(m);
  const auto v = lines();
  EXPECT_TRUE(has(v, "     * TABLE D *   ARRANGEMENT OF PILE GROUPS"));
  EXPECT_TRUE(has(v, "       GROUP   CONNECT   NO OF PILE   PILE PROP    P-Y CURVE    L-S CURVE"
                     "    R-F-L SET   FACT. AXIAL LOAD"));
  EXPECT_TRUE(has(v, "         1       RES         4            1           0           5 G"
                     "           2          0.9000"));
  EXPECT_TRUE(has(v, "       GROUP     VERT,FT       HOR,FT    SLOPE,IN/IN   GROUND,FT  "
                     "SPRING,LBS-IN  SPACING,FT"));
  EXPECT_TRUE(has(v, "         1         2.00000     -1.00000      1.00000      0.50000"
                     "      1000.00      3.00000 "));
}

TEST_F(EchoReport, TaperedElasticSectionRows) {
  m.NDIM = 3;
  m.NSECIN = 1;
  m.ITAPERI(1) = 1;
  m.ISHAPEI(1) = 1;
  m.SNAME(1) = "TAPER";
  for (int c : {1, 10, 11, 12, 14, 15, 16, 17}) {
    m.SPROPI(1, c) = c;
    m.SPROPI(1, c + 18) = 2 * c;
  }
  m.SPROPI(1, 2) = 0.5;
  m.SPROPI(1, 20) = 0.25;
  ECHOPROPS(m);
  const auto v = lines();
  EXPECT_TRUE(has(v, "      CROSS SECTION TYPE  : CIRCULAR PIPE    "));
  EXPECT_TRUE(has(v, "      TAPERED SECTION                TOP                  BOTTOM"));
  EXPECT_TRUE(has(v, "      EXTERNAL DIAMETER    :       1.00000 IN             2.00000 IN"));
  EXPECT_TRUE(has(v, "      YOUNG MODULUS        :       17.0000 LBS/IN**2      34.0000 LBS/IN**2"));
  EXPECT_TRUE(has(v, "      1  TOP      1.0000      10.000      11.000      12.000       14.000"
                     "      15.000      16.000 "));
  EXPECT_TRUE(has(v, "         BOT      2.0000      20.000      22.000      24.000       28.000"
                     "      30.000      32.000 "));
}

// The items of every cross-section kind, in order: the echo prints no value it should not
// and leaves none out.
TEST_F(EchoReport, CrossSectionItemsByKind) {
  struct Case { int nonlin, type, opt, shape, fam, ndim; std::vector<std::string> names; };
  const std::vector<Case> cases = {
      {1, 1, 0, 0, 0, 3, {"EQUIVALENT DIAMETER", "EXTERNAL WIDTH", "EXTERNAL DEPTH", "CONCRETE FC",
                          "NUMBER REBARS", "DIAMETER REINF.", "AREA REINFORCEMENT",
                          "ES REINFORCEMENT", "FY REINFORCEMENT", "EQ. YOUNG MODULUS"}},
      {1, 3, 0, 0, 0, 3, {"CONCRETE DIAMETER", "CONCRETE FC", "NUMBER REBARS", "DIAMETER REINF.",
                          "AREA REINFORCEMENT", "ES REINFORCEMENT", "FY REINFORCEMENT",
                          "EQ. YOUNG MODULUS"}},
      {1, 3, 3, 0, 0, 3, {"CONCRETE DIAMETER", "CONCRETE FC", "DIAMETER CASING",
                          "THICKNESS CASING", "ES CASING", "FY CASING", "EXTERNAL WIDTH",
                          "EXTERNAL DEPTH", "FLANGE THICKNESS", "WEB THICKNESS", "ES STEEL",
                          "FY STEEL", "NUMBER REBARS", "DIAMETER REINF.", "AREA REINFORCEMENT",
                          "ES REINFORCEMENT", "FY REINFORCEMENT", "EQ. YOUNG MODULUS"}},
      {1, 5, 0, 0, 0, 3, {"EQUIVALENT DIAMETER", "EXTERNAL WIDTH", "CORNER CHAMFER",
                          "VOID DIAMETER", "CONCRETE FC", "NUMBER STRANDS", "DIAMETER STRAND",
                          "AREA STRAND", "FU STRAND", "INITIAL PRESS. FORCE",
                          "EQ. YOUNG MODULUS"}},
      {1, 7, 0, 0, 0, 3, {"DIAMETER STEEL", "THICKNESS STEEL", "ES STEEL", "FY STEEL"}},
      {1, 9, 0, 0, 0, 3, {"EXTERNAL WIDTH", "EXTERNAL DEPTH", "FLANGE THICKNESS",
                          "WEB THICKNESS", "ES STEEL", "FY STEEL"}},
      {1, 10, 0, 0, 0, 3, {"EQUIVALENT DIAMETER", "YOUNG MODULUS"}},
      {0, 0, 0, 0, 0, 3, {"EQUIVALENT DIAMETER", "YOUNG MODULUS"}},
      {0, 0, 0, 2, 0, 3, {"EQUIVALENT DIAMETER", "EXTERNAL WIDTH", "EXTERNAL DEPTH",
                          "INTERNAL WIDTH", "INTERNAL DEPTH", "YOUNG MODULUS", "SHEAR MODULUS"}},
      {0, 0, 0, 5, 12, 2, {"EXTERNAL DIAMETER", "INTERNAL DIAMETER", "THICKNESS",
                           "YOUNG MODULUS"}},
  };
  for (const Case& c : cases) {
    auto mm = new_model();
    Model& x = *mm;
    x.IUNITS = 1;
    SETUNITLAB(x, 1);
    x.NDIM = c.ndim;
    x.NSECIN = 1;
    x.INONLIN(1) = c.nonlin;
    x.NLINT(1, 1) = c.type;
    x.NLINT(1, 2) = c.opt;
    x.NLINT(1, 10) = 4;   // rebars
    x.NLINT(1, 22) = 6;   // strands
    x.NLINT(1, 30) = 1;   // AISC flag: no equivalent diameter for type 9
    x.NLVAL(1, 8) = c.opt == 3 ? 30.0 : 0.0;  // casing only with the steel option 3
    x.NLVAL(1, 9) = 0.5;
    x.ISHAPEI(1) = c.shape;
    x.IAISCFAM(1) = c.fam;
    x.IEXTDIA(1) = 1;
    ASSERT_TRUE(x.ECHO.open_write((dir.path() / "sec.txt").string()));
    ECHOSECTIONS(x);
    x.ECHO.close();
    std::istringstream in(dir.read("sec.txt"));
    std::vector<std::string> got;
    for (std::string l; std::getline(in, l);) {
      // Item lines: 5 blanks, a blank, the 20-character name, " : ".
      if (l.size() > 29 && l.compare(26, 3, " : ") == 0) {
        std::string n = l.substr(6, 20);
        n.erase(n.find_last_not_of(' ') + 1);
        got.push_back(n);
      }
    }
    EXPECT_EQ(got, c.names) << "nonlinear " << c.nonlin << " type " << c.type << " shape "
                            << c.shape;
  }
}


// Every kind of cross section, nonlinear and elastic, tapered or not, in 2-D and 3-D, with
// codes outside the listed ones too: every block is written whole and every item line has
// its name field, its value and its label (run under the sanitizers as well).
TEST_F(EchoReport, EveryKindOfCrossSectionEchoes) {
  int k = 0;
  auto next = [&]() {
    ++k;
    m.SNAME(k) = "SECTION " + std::to_string(k);
    for (int c = 1; c <= 37; ++c) m.SPROPI(k, c) = 0.01 * c;
    for (int c = 1; c <= 35; ++c) m.NLVAL(k, c) = 0.1 * c;
    return k;
  };
  for (int type = 0; type <= 11; ++type)
    for (int opt = 0; opt <= 3; ++opt)
      for (int flags = 0; flags <= 1; ++flags) {
        const int s = next();
        m.INONLIN(s) = 1 + flags;
        m.NLINT(s, 1) = type;
        m.NLINT(s, 2) = opt;
        m.NLINT(s, 3) = flags;
        m.NLINT(s, 4) = flags ? 12 : 5;
        m.NLINT(s, 10) = flags * 4;
        m.NLINT(s, 22) = flags * 6;
        m.NLINT(s, 28) = flags;
        m.NLINT(s, 30) = flags;
      }
  for (int shape = -1; shape <= 6; ++shape)
    for (int fam : {0, 1, 2, 3, 11, 12, 7})
      for (int taper = 0; taper <= 1; ++taper) {
        if (k >= MAXSECIN) break;
        const int s = next();
        m.ISHAPEI(s) = shape;
        m.IAISCFAM(s) = fam;
        m.ITAPERI(s) = taper;
        m.IEXTDIA(s) = fam % 2;
      }
  m.NSECIN = k;
  for (int ndim : {2, 3}) {
    m.NDIM = ndim;
    ASSERT_TRUE(m.ECHO.open_write((dir.path() / "echo.txt").string()));
    ECHOPROPS(m);
    const auto v = lines();
    EXPECT_EQ(std::count_if(v.begin(), v.end(),
                            [](const std::string& l) {
                              return l.rfind("      CROSS SECTION       : ", 0) == 0;
                            }),
              k);
    for (const auto& l : v) {
      if (l.size() > 29 && l.compare(26, 3, " : ") == 0 && l.rfind("      ", 0) == 0) {
        ASSERT_GE(l.size(), 29u + 13u) << l;
        EXPECT_EQ(l.substr(29, 13).find('*'), std::string::npos) << l;  // the value fits
      }
    }
  }
}

}  // namespace
}  // namespace torva
