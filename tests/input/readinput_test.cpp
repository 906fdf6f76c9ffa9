// The input data file read end to end: the bundled examples, the heading and date block,
// the as-read tables, and the one-time conversion to internal units.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "driver/runctl.h"
#include "input/readinput.h"
#include "input/readinput_parts.h"
#include "io/platform.h"
#include "support/workdir.h"

namespace torva {
namespace {

namespace fs = std::filesystem;
using torva::testing::WorkDir;

std::string example(const std::string& name) {
  std::ifstream in(fs::path(TORVA_SOURCE_DIR) / "examples" / name, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

struct FixedDate {
  explicit FixedDate(platform::DateTime d) {
    platform::set_date([d] { return d; });
  }
  ~FixedDate() { platform::set_date(nullptr); }
};

// Opens the files of a run on `text` and reads it; the model stays open for inspection.
struct ReadRun {
  WorkDir dir;
  std::unique_ptr<Model> m = new_model();
  int status = 0;
  explicit ReadRun(const std::string& text) {
    dir.write("case.dat", text);
    dir.write_names();
    OPENFILES(*m, status);
    if (status == ST_OK) READINPUT(*m, status);
  }
  // Lines left in the input file after reading, blank lines excepted.
  int lines_left() {
    int n = 0;
    std::string l;
    while (m->INPUT.read_line(l))
      if (l.find_first_not_of(" \t") != std::string::npos) ++n;
    return n;
  }
  std::string close_and_read(const std::string& name) {
    FINISH(*m, status);
    return dir.read(name);
  }
};

std::vector<std::string> reading_lines(const std::string& log) {
  std::vector<std::string> out;
  std::istringstream in(log);
  std::string l;
  while (std::getline(in, l))
    if (l.rfind("     READING ", 0) == 0) {
      while (!l.empty() && l.back() == ' ') l.pop_back();
      out.push_back(l.substr(13));
    }
  return out;
}

TEST(ReadInput, EveryExampleIsReadToItsEndWithTheSectionsItCallsFor) {
  const std::vector<std::string> common = {
      "* TITLE AND VERSION", "CONTROL RECORD", "PILE CAP",        "LOAD CASES",
      "LOAD COMBINATIONS",   "LOAD VERSUS DEPTH CURVES",          "PILE GROUP ROWS",
      "PILE PROPERTIES",     "CROSS SECTIONS",  "SOIL LAYERS"};
  const std::string ls = "ROWS WITH GENERATED LOAD-SETTLEMENT CURVES";
  const std::string tr = "ROWS WITH GENERATED TORQUE-ROTATION CURVES";
  const std::string mp = "MOMENT-CURVATURE CURVES OF THE NONLINEAR CROSS SECTIONS";
  struct Ex {
    const char* file;
    std::vector<std::string> more;
  };
  const Ex examples[] = {
      {"group2x2_sand_us.dat", {ls, tr, mp}},
      {"single_pile_elastic_us.dat",
       {ls, tr, "USER LOAD-SETTLEMENT CURVES", "USER TORQUE-ROTATION CURVES", mp}},
      {"group3x2_clay_sand_si.dat", {ls, tr, mp}},
      {"bent_2d_stiff_clay_us.dat", {ls, mp}},
      {"all_options_us.dat",
       {"REQUESTED P-Y CURVES", "USER P-Y CURVES", ls, tr, "USER LOAD-SETTLEMENT CURVES",
        "USER TORQUE-ROTATION CURVES", "USER MOMENT-CURVATURE SETS", mp,
        "P-Y MODIFICATION FACTORS ALONG DEPTH", "SOIL MOVEMENT", "PLOT-PASS LISTS"}},
      {"embedded_cap_passive_us.dat",
       {ls, tr, "USER LOAD-SETTLEMENT CURVES", "USER TORQUE-ROTATION CURVES", mp}},
      {"point_of_definition_us.dat", {ls, tr, mp}},
      {"cap_soil_springs_si.dat", {ls, tr, mp}},
      {"group2x2_stiffness_us.dat", {ls, tr, mp}},
      {"group2x2_plate_us.dat", {ls, tr, mp}},
  };
  int listed = 0;
  for (const Ex& e : examples) {
    SCOPED_TRACE(e.file);
    ReadRun run(example(e.file));
    ASSERT_EQ(run.status, ST_OK);
    EXPECT_EQ(run.lines_left(), 0);
    std::vector<std::string> want = common;
    want.insert(want.end(), e.more.begin(), e.more.end());
    EXPECT_EQ(reading_lines(run.close_and_read("case.log")), want);
    const std::string echo = run.dir.read("case.echo");
    EXPECT_NE(echo.find("  TORVA for Windows, Version TORVA TEST  "), std::string::npos);
    EXPECT_NE(echo.find("     Name of input data file     : case.dat\n"), std::string::npos);
    ++listed;
  }
  // Every bundled example is covered here.
  int files = 0;
  for (const auto& f : fs::directory_iterator(fs::path(TORVA_SOURCE_DIR) / "examples"))
    files += f.path().extension() == ".dat";
  EXPECT_EQ(files, listed);
}

// A count of 0 or less reads no records: a negative count of combinations is none.
TEST(ReadInput, NegativeCountReadsNoRecords) {
  std::string text = example("group2x2_sand_us.dat");
  const std::string rec = "LOAD COMBINATIONS\n0 0 0 0 0\n";
  const auto at = text.find(rec);
  ASSERT_NE(at, std::string::npos);
  text.replace(at, rec.size(), "LOAD COMBINATIONS\n-2 0 0 0 0\n");
  ReadRun run(text);
  ASSERT_EQ(run.status, ST_OK);
  EXPECT_EQ(run.m->NCOMB, 0);
  EXPECT_EQ(run.lines_left(), 0);
}

TEST(ReadInput, HeadingFileListAndDateBlock) {
  FixedDate date({2016, 3, 5, 9, 4, 7});
  ReadRun run(example("group2x2_sand_us.dat"));
  ASSERT_EQ(run.status, ST_OK);
  const std::string rule(73, '=');
  const std::string dash(73, '-');
  const std::string heading =
      "     " + rule + "\n\n" + std::string(20, ' ') +
      "  TORVA for Windows, Version TORVA TEST  \n\n" + std::string(20, ' ') +
      "  Analysis of Pile Groups with a Rigid Cap\n" + std::string(20, ' ') +
      "  under Axial, Lateral and Torsional Loading\n\n     " + rule + "\n\n\n";
  const std::string list =
      "     Path to file locations      : \n"
      "     Name of input data file     : case.dat\n"
      "     Name of output echo file    : case.echo\n"
      "     Name of output results file : case.out\n"
      "     Name of output summary file : case.sum\n"
      "     Name of plot output file    : case.plt\n"
      "     Name of runtime file        : case.log\n\n\n";
  const std::string block = "     " + dash + "\n" + std::string(26, ' ') +
                            "Time and Date of Analysis\n     " + dash + "\n\n" +
                            std::string(15, ' ') + "Date:  March 05, 2016     Time:  09:04:07\n";
  const std::string echo = run.close_and_read("case.echo");
  EXPECT_EQ(echo.substr(0, heading.size() + list.size() + block.size()), heading + list + block);
  EXPECT_EQ(run.dir.read("case.sum").substr(0, heading.size()), heading);
  const std::string log = run.dir.read("case.log");
  const std::string version =
      std::string("\n").append(10, ' ').append("  TORVA for Windows, Version TORVA TEST  \n\n");
  EXPECT_EQ(log.substr(0, version.size()), version);
  EXPECT_NE(log.find("\n            2 X 2 GROUP OF 18 IN"), std::string::npos);
}

TEST(ReadInput, FillsTheAsReadTablesOfEveryOptionalSection) {
  ReadRun run(example("all_options_us.dat"));
  ASSERT_EQ(run.status, ST_OK);
  const Model& m = *run.m;
  EXPECT_EQ(m.PI, double(3.14159f));
  EXPECT_EQ(m.ENDWRD.view(), "END ");
  EXPECT_EQ(m.ISTFOP, 1);
  EXPECT_EQ(m.NPTTZPL, 19);
  // The multipliers are one up to the cap's pseudo row after the input's rows.
  const int pseudo = std::max(m.NROW2, m.NROW3) + 1;
  EXPECT_EQ(m.PMULT(pseudo), 1.0);
  EXPECT_EQ(m.YMULTZ(pseudo), 1.0);
  // Control record, defined movement, embedded cap.
  EXPECT_EQ(m.IREDFAC, 3);
  EXPECT_EQ(m.REDMOVZ, 0.5);
  EXPECT_EQ(m.ICAPSPR, 1);
  EXPECT_EQ(m.NCAPINC, 10);
  EXPECT_EQ(m.IPLTUNF, 0);
  EXPECT_EQ(m.ULEN3.view(), " IN");
  // Loads: envelopes, distributed line, prescribed displacements, combination.
  EXPECT_EQ(m.IPRLC(25), 1);
  EXPECT_EQ(m.CASNAME(1).trimmed(),
            "CAP LOAD WITH A TRIANGULAR LATERAL LOAD ON THE UPPER 20 FT OF BOTH SHAFTS");
  EXPECT_EQ(m.LOAD(1, 1, 4), 5000.0);
  EXPECT_EQ(m.DLINT(1, 1, 4), 2);
  EXPECT_EQ(m.DLFY(1, 1), 1.0);
  EXPECT_EQ(m.IDISP(2), 1);
  EXPECT_EQ(m.ICOND(2, 2), 0);
  EXPECT_EQ(m.SPVAL(2, 3), 0.5);
  EXPECT_EQ(m.CBREAL(1, 5), 0.35);
  EXPECT_EQ(m.MEMFAC(1, 1), 1.1);
  EXPECT_EQ(m.NPDC(1), 3);
  EXPECT_EQ(m.DCVAL(1, 2), 25.0);
  // Rows, property, elastic and nonlinear cross sections, soil.
  EXPECT_EQ(m.ROWI3(2, 4), 1);
  EXPECT_EQ(m.ROWR3(1, 14), -3.0);
  EXPECT_EQ(m.ISECI(1, 1), 2);
  EXPECT_EQ(m.PKINDI(1), 2);
  EXPECT_EQ(m.SNAME(1).trimmed(), "SHAFT 30 IN, ELASTIC");
  EXPECT_EQ(m.SPROPI(1, 19), 30.0);      // untapered: bottom = top
  EXPECT_EQ(m.SPROPI(1, 35), 3.6E6);
  EXPECT_EQ(m.SPROPI(2, 35), 3.6E6);     // nonlinear: each value copied to its bottom column
  EXPECT_EQ(m.NLINT(2, 1), 2);
  EXPECT_EQ(m.NLINT(2, 10), 8);
  EXPECT_EQ(m.NLPT1(2, 2, 8), -8.485);
  EXPECT_EQ(m.NLLST(2, 2), 500000.0);
  EXPECT_EQ(m.SNAME3(2).trimmed(), "ROUND SHAFT");
  EXPECT_EQ(m.SOILP(1, 2, 2), 600.0);
  EXPECT_EQ(m.LSOILI(2), 4);
  // Optional sections.
  EXPECT_EQ(m.PONPT(1), 0);
  EXPECT_EQ(m.POY(2, 5), 2.0);
  EXPECT_EQ(m.PYPI(1, 2, 3), 1200.0);
  EXPECT_EQ(m.PYYI(1, 2, 3), 2.0);
  EXPECT_EQ(m.LSGEN(1), 2);
  EXPECT_EQ(m.TRGEN(1), 2);
  EXPECT_EQ(m.LSLI(1, 1), -4.0E5);
  EXPECT_EQ(m.TRRI(1, 3), 0.01);
  EXPECT_EQ(m.NPTMI(1, 1), 4);
  EXPECT_EQ(m.MOMI(1, 1, 4), 1.3E7);
  EXPECT_EQ(m.MPHIGEN1.NMPG, 2);
  EXPECT_EQ(m.MPHIGEN1.NCRVG(1), 0);
  EXPECT_EQ(m.MPHIGEN2.NCRVG(2), 1);
  EXPECT_EQ(m.MPHIGEN2.NPTG(2, 1), 4);
  EXPECT_EQ(m.MPHIGEN2.PHIG(2, 1, 4), 2.0E-3);
  EXPECT_EQ(m.MPHIGEN2.NMPG, 0);
  EXPECT_EQ(m.PMPF(1, 1), 0.5);
  EXPECT_EQ(m.NSMPT, 3);
  EXPECT_EQ(m.SMY0(1), 0.5);
  EXPECT_EQ(m.NPLTPT, 10);
  EXPECT_EQ(m.NPLTY, 5);
  EXPECT_EQ(m.NPLTY2, 3);
  EXPECT_EQ(m.PLTY2(3), 5.0);
}

TEST(ReadInput, TwoDimensionalRowsAndSectionsWithoutTorsion) {
  ReadRun run(example("bent_2d_stiff_clay_us.dat"));
  ASSERT_EQ(run.status, ST_OK);
  const Model& m = *run.m;
  EXPECT_EQ(m.NROW2, 3);
  EXPECT_EQ(m.NROW3, 0);
  EXPECT_EQ(m.ROWI2(3, 7), 3);
  EXPECT_EQ(m.ROWR2(3, 8), 14.036);
  EXPECT_EQ(m.ROWR2(1, 2), 8.0);
  EXPECT_EQ(m.NLSGEN, 3);
  EXPECT_EQ(m.NTRGEN, 0);
  EXPECT_EQ(m.SNAME2(1).trimmed(), "HP14X73");
  EXPECT_EQ(m.CLAB1[8].view(), "  BENDING ");
}

// Record-level behaviour of the sections: the variants that change what is read next.
TEST(ReadInput, OptionalRecordsOfTheControlAndCapSections) {
  std::string base = example("group2x2_sand_us.dat");
  auto with = [&](const std::string& from, const std::string& to) {
    std::string s = base;
    s.replace(s.find(from), from.size(), to);
    return s;
  };
  {  // Legacy list with a count of 0: exactly one more record.
    ReadRun run(with("9.0 9.0 3.0 0.0 0.0 0\n", "9.0 9.0 3.0 0.0 0.0 1\n0\n"));
    EXPECT_EQ(run.status, ST_OK);
    EXPECT_EQ(run.lines_left(), 0);
  }
  {  // Legacy list of two groups (3 and 0 values).
    ReadRun run(with("9.0 9.0 3.0 0.0 0.0 0\n", "9.0 9.0 3.0 0.0 0.0 1\n2\n3\n1.0\n2.0\n3.0\n0\n"));
    EXPECT_EQ(run.status, ST_OK);
    EXPECT_EQ(run.lines_left(), 0);
  }
  {  // Control record on two lines, 21 values: the 21st is ignored.
    ReadRun run(with("1 3 0 0 0 0 0 0 0 0 0 0 0 0 1 1 0 0 0 0\n",
                     "1 3 0 0 0 0 0 0 0 0\n0 0 0 0 1 1 0 0 0 0 99\n"));
    EXPECT_EQ(run.status, ST_OK);
    EXPECT_EQ(run.m->IEXTEND, 1);
    EXPECT_EQ(run.m->IPLTUNF, 0);
  }
  {  // Embedded-cap and plate records, generic units.
    ReadRun run(with("1 3 0 0 0 0 0 0 0 0 0 0 0 0 1 1 0 0 0 0\nPILE CAP\n9.0 9.0 3.0 0.0 0.0 0\n",
                     "3 3 2 2 0 0 0 0 0 0 0 0 0 0 1 1 0 0 0 0\nPILE CAP\n9.0 9.0 3.0 0.0 0.0 0\n"
                     "1 0 10 100.0 200.0 0.5\n0.5 0.25 4 6 3.6E6 0.2\n"));
    ASSERT_EQ(run.status, ST_OK);
    EXPECT_EQ(run.m->ICAPSPR, 1);
    EXPECT_EQ(run.m->CAPFULT, 200.0);
    EXPECT_EQ(run.m->FENY, 6);
    EXPECT_EQ(run.m->FEPOIS, 0.2);
    EXPECT_EQ(run.m->UDEP3.view(), "  L");
    EXPECT_EQ(run.lines_left(), 0);
  }
  {  // Tapered cross section: two more records with the bottom values.
    ReadRun run(with("1.6667E6 254.469 5152.997 5152.997 0.0 1.7177E10 3.0E6 1.0E5 4.0E6 0.0 0\n",
                     "1.6667E6 254.469 5152.997 5152.997 0.0 1.7177E10 3.0E6 1.0E5 4.0E6 0.0 1\n"
                     "12.0 0 0 0 0 0 0 0\n1.6667E6 113.1 1017.9 1017.9 0.0 3.39E9 1.0E6 5.0E4 "
                     "4.0E6 0.0\n"));
    ASSERT_EQ(run.status, ST_OK);
    EXPECT_EQ(run.m->SPROPI(1, 19), 12.0);
    EXPECT_EQ(run.m->SPROPI(1, 28), 113.1);
    EXPECT_EQ(run.m->SPROPI(1, 1), 18.0);
    EXPECT_EQ(run.m->SNAME(1).trimmed(), "CONCRETE 18 IN ROUND");
  }
  {  // A layer with one profile row of nine values: bottom and tenth values stay 0.
    ReadRun run(with("2 9\n110.0 0.0 33.0 90.0 0.0 0.0 0.0 0.0 0.0\n110.0 0.0 33.0 90.0 0.0 0.0 0.0 0.0 0.0\n",
                     "1 9\n110.0 0.0 33.0 90.0 0.0 0.0 0.0 0.0 0.0 7.0\n"));
    ASSERT_EQ(run.status, ST_OK);
    EXPECT_EQ(run.m->SOILP(1, 1, 3), 33.0);
    EXPECT_EQ(run.m->SOILP(1, 1, 10), 0.0);
    EXPECT_EQ(run.m->SOILP(1, 2, 1), 0.0);
  }
  {  // Combination whose second member count differs from the first: the second stands.
    ReadRun run(with("LOAD COMBINATIONS\n0 0 0 0 0\n",
                     "LOAD COMBINATIONS\n1 0 0 0 0\n0 0 0 1 1 100 500\n1.0E-4 1.0E-6 0.5 0.01\n"
                     "COMB, WITH COMMAS\n1.0 1.0 1\n2 1 0 0.0 0.0 0 0 0\n0\n25*1\n2\n1 1.0\n1 0.5\n"));
    ASSERT_EQ(run.status, ST_OK);
    EXPECT_EQ(run.m->CBINT(1, 8), 2);
    EXPECT_EQ(run.m->MEMFAC(1, 2), 0.5);
    EXPECT_EQ(run.m->CBNAME(1).trimmed(), "COMB, WITH COMMAS");
    EXPECT_EQ(run.m->CBINT(1, 40), 1);  // 25*1: every print selection
  }
}

TEST(ConvInput, ConvertsLengthsStressesAndSectionsOnce) {
  {
    ReadRun run(example("all_options_us.dat"));
    ASSERT_EQ(run.status, ST_OK);
    Model& m = *run.m;
    CONVINPUT(m);
    EXPECT_EQ(m.NROW, 2);
    EXPECT_EQ(m.CAPLEN, 96.0);
    EXPECT_EQ(m.DCDEP(1, 2), 120.0);
    EXPECT_EQ(m.ROWR3(1, 14), -36.0);
    EXPECT_EQ(m.ROWR3(2, 9), 24.0);
    EXPECT_EQ(m.PLENI(1), 540.0);
    EXPECT_EQ(m.SFROMI(1, 2), 240.0);
    EXPECT_EQ(m.SPROPI(1, 1), 30.0);  // inches stay inches
    EXPECT_EQ(m.LTOPI(1), -36.0);
    EXPECT_EQ(m.SOILP(1, 1, 1), 105.0 / 12 / 12 / 12);
    EXPECT_EQ(m.SOILP(1, 2, 2), 600.0 / 12 / 12);
    EXPECT_EQ(m.SOILP(2, 1, 3), 36.0);  // friction angle unchanged
    EXPECT_EQ(m.PODEP(2), 240.0);
    EXPECT_EQ(m.NPYSET, 1);
    EXPECT_EQ(m.PYDEPI(1, 2), 600.0);
    EXPECT_EQ(m.PMDEP(1, 3), 180.0);
    EXPECT_EQ(m.SMDEP(2), 120.0);
    EXPECT_EQ(m.SPVAL(2, 3), 0.5);  // prescribed displacement not converted
  }
  {
    ReadRun run(example("group3x2_clay_sand_si.dat"));
    ASSERT_EQ(run.status, ST_OK);
    Model& m = *run.m;
    CONVINPUT(m);
    EXPECT_EQ(m.CAPLEN, 4.8);
    EXPECT_EQ(m.SPROPI(1, 1), 600.0 / 1000);
    EXPECT_EQ(m.SPROPI(1, 19), 600.0 / 1000);
    EXPECT_EQ(m.SPROPI(1, 10), 282743.0 / 1000 / 1000);
    EXPECT_EQ(m.SPROPI(1, 12), 6.3617E9 / 1000 / 1000 / 1000 / 1000);
    EXPECT_EQ(m.LOAD(2, 1, 7), -6.5);
    EXPECT_EQ(m.SOILP(1, 1, 2), 25.0);
  }
}

TEST(ConvInput, RockStrengthStaysAndEveryFactorSetIsConverted) {
  auto m = new_model();
  m->IUNITS = 3;  // generic: converted as US customary
  m->NDIM = 2;
  m->NLAYIN = 1;
  m->LSOILI(1) = 9;
  m->SOILP(1, 1, 1) = 150.0;
  m->SOILP(1, 1, 2) = 2000.0;
  m->IPYMOD = 1;
  m->NPYMOD = 2;
  m->NPTMOD(1) = 5;
  m->NPTMOD(2) = 3;
  for (int p = 1; p <= 5; ++p) m->PMDEP(1, p) = p;
  for (int p = 1; p <= 3; ++p) m->PMDEP(2, p) = p;
  CONVINPUT(*m);
  EXPECT_EQ(m->SOILP(1, 1, 2), 2000.0);
  EXPECT_EQ(m->SOILP(1, 1, 1), 150.0 / 12 / 12 / 12);  // pcf to pci: three divisions by 12
  EXPECT_EQ(m->PMDEP(1, 5), 60.0);
  EXPECT_EQ(m->PMDEP(2, 3), 36.0);
}

// The moment of inertia about the second axis (top and bottom values) is converted in a
// 3-D model only, that about the first axis in both; SI input, where section values are
// converted from millimetres, shows which.
TEST(ConvInput, SecondAxisInertiaIsConvertedIn3dOnly) {
  for (int dim : {2, 3}) {
    auto m = new_model();
    m->IUNITS = 2;
    m->NDIM = dim;
    m->NSECIN = 1;
    for (int j : {11, 12, 29, 30}) m->SPROPI(1, j) = 5.0;
    CONVINPUT(*m);
    const double mm4 = 5.0 / 1000 / 1000 / 1000 / 1000;
    EXPECT_EQ(m->SPROPI(1, 11), mm4) << dim;
    EXPECT_EQ(m->SPROPI(1, 29), mm4) << dim;
    EXPECT_EQ(m->SPROPI(1, 12), dim == 3 ? mm4 : 5.0) << dim;
    EXPECT_EQ(m->SPROPI(1, 30), dim == 3 ? mm4 : 5.0) << dim;
  }
}

// A nonlinear cross section read from an SI input: its dimensions and the coordinates of
// both point lists from millimetres to metres, its areas from square millimetres, and its
// strengths, moduli and forces as read; US customary input keeps every value. Section 2 of
// the example gets the value j in column j and a second point list.
TEST(ConvInput, NonlinearSectionValuesAndPointListsInSi) {
  std::string text = example("all_options_us.dat");
  const std::string from = "2 0.0 0.0 30.0 0.0 0.0 0.0 0.0 0.0 0.0 0.0\n";
  const std::string to = "0 0 0 0 0 0 0 0 0.0 0.0 0.0\n";
  const std::size_t a = text.find(from), b = text.find(to, a);
  ASSERT_NE(b, std::string::npos);
  text.replace(a, b + to.size() - a,
               "2 1 2 3 4 5 6 7 8 9 10\n11 12 13 14 15 16 0 0 0 0\n'ROUND SHAFT'\n"
               "0 0 0 0 3 17 18 19 20 21 0\n0 0 0 0 0 0 22 23 24 25\n"
               "12.0 0.0\n0.0 -12.0\n-8.485 8.485\n"
               "0 0 0 0 2 26 27 28 29 30\n5.0 -6.0\n-7.0 8.0\n"
               "2 0 0 31 32\n0.0\n500000.0\n0 0 0 0 0 0 0 0 33 34 35\n");
  std::string si_text = text;
  si_text.replace(si_text.find("CONTROL RECORD\n1 "), 17, "CONTROL RECORD\n2 ");  // IUNITS
  ReadRun us(text);
  ReadRun si(si_text);
  ASSERT_EQ(us.status, ST_OK);
  ASSERT_EQ(si.status, ST_OK);
  ASSERT_EQ(si.m->IUNITS, 2);
  CONVINPUT(*us.m);
  CONVINPUT(*si.m);
  const int k = 2;
  for (int j = 1; j <= 35; ++j) {
    const bool length = j <= 11 || j == 18 || j == 19 || j == 23 || j == 24 || j == 26 ||
                        j == 28;
    const bool area = j == 17 || j == 22 || j == 27;
    const double v = j;
    EXPECT_EQ(us.m->NLVAL(k, j), v) << "column " << j;
    EXPECT_EQ(si.m->NLVAL(k, j), length ? v / 1000 : area ? v / 1000 / 1000 : v) << "column " << j;
  }
  EXPECT_EQ(us.m->NLPT1(k, 2, 2), -12.0);
  EXPECT_EQ(us.m->NLPT2(k, 1, 2), -7.0);
  for (int p = 1; p <= MAXNLPT; ++p)
    for (int xy = 1; xy <= 2; ++xy) {
      EXPECT_EQ(si.m->NLPT1(k, xy, p), us.m->NLPT1(k, xy, p) / 1000) << p;
      EXPECT_EQ(si.m->NLPT2(k, xy, p), us.m->NLPT2(k, xy, p) / 1000) << p;
    }
}

}  // namespace
}  // namespace torva
