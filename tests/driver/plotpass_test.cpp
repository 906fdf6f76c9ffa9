// The plot pass through an input file: the curve-data file of a 2 x 2 pile group as text
// and as a record file.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "driver/itorva.h"
#include "model/status.h"
#include "support/workdir.h"

namespace torva {
namespace {

// The 2 x 2 sand group with the plot pass on (control item 19) in the form of item 20 and
// every pile divided into 4 plot segments.
std::string group_with_plot_pass(int unformatted) {
  std::ifstream in(std::filesystem::path(TORVA_SOURCE_DIR) / "examples" / "group2x2_sand_us.dat");
  std::stringstream s;
  s << in.rdbuf();
  std::string text = s.str();
  const std::string ctl = "1 3 0 0 0 0 0 0 0 0 0 0 0 0 1 1 0 0 0 0";
  const auto at = text.find(ctl);
  EXPECT_NE(at, std::string::npos);
  text.replace(at, ctl.size(),
               "1 3 0 0 0 0 0 0 0 0 0 0 0 0 1 1 0 0 1 " + std::to_string(unformatted));
  return text + "PLOT-PASS LISTS\n4 0 0\n";
}

std::vector<std::string> lines_of(const std::string& text) {
  std::vector<std::string> out;
  std::istringstream in(text);
  std::string l;
  while (std::getline(in, l)) out.push_back(l);
  return out;
}

std::vector<std::string> tokens(const std::string& l) {
  std::vector<std::string> out;
  std::istringstream in(l);
  std::string t;
  while (in >> t) out.push_back(t);
  return out;
}

std::string run_group(int unformatted) {
  testing::WorkDir dir;
  dir.write("case.dat", group_with_plot_pass(unformatted));
  dir.write_names();
  EXPECT_EQ(run_itorva(3), ST_OK) << dir.read("case.log");
  return dir.read("case.cvd");
}

TEST(PlotPass, TextCurveDataOfAGroupHasEveryBlockOfEveryRow) {
  const auto l = lines_of(run_group(0));
  ASSERT_FALSE(l.empty());
  EXPECT_EQ(l[0], "         4         3         1");
  // Per row: geometry 1 + 1 + 1 + 3 + 4 x 2 lines; p-y 1 + 5 x (2 + 33); axial and
  // torsion 1 + 5 x (2 + 19) each (the pile head is at the ground surface, so every
  // point has a curve).
  const size_t geo = 14, py = 1 + 5 * 35, tz = 1 + 5 * 21;
  ASSERT_EQ(l.size(), 1 + 4 * (geo + py + 2 * tz));
  for (int g = 1; g <= 4; ++g) {
    size_t at = 1 + (g - 1) * (geo + py + 2 * tz);
    const std::string row = std::to_string(g);
    EXPECT_EQ(tokens(l[at]), (std::vector<std::string>{row, "4", "0"}));
    EXPECT_EQ(tokens(l[at + 1]).size(), 1u);  // the pile length
    EXPECT_EQ(tokens(l[at + 2]).size(), 3u);  // the head coordinates
    EXPECT_EQ(tokens(l[at + 6]), (std::vector<std::string>{"1", "75.0000"}));
    EXPECT_EQ(tokens(l[at + 7]).size(), 6u);  // D, A, Iz, Iy, E, GJ
    at += geo;
    EXPECT_EQ(tokens(l[at]), (std::vector<std::string>{row, "5", "1"}));
    EXPECT_EQ(tokens(l[at + 1]), (std::vector<std::string>{"1", "0.0000"}));
    EXPECT_EQ(tokens(l[at + 2]), (std::vector<std::string>{"1", "33", "4"}));  // sand
    at += py;
    EXPECT_EQ(tokens(l[at]), (std::vector<std::string>{row, "5", "2"}));
    EXPECT_EQ(tokens(l[at + 2]), (std::vector<std::string>{"1", "19"}));
    at += tz;
    EXPECT_EQ(tokens(l[at]), (std::vector<std::string>{row, "5", "3"}));
  }
  // The first curve record: the integer 1 in 10 columns, a blank and the negated tenth
  // movement in the general form.
  const std::string& first = l[1 + geo + py + 3];
  EXPECT_EQ(first.substr(0, 11), "         1 ");
  EXPECT_EQ(first.size(), 10u + 2 * 16);
  EXPECT_EQ(tokens(first)[1][0], '-');
  // The point at the origin between the two branches.
  EXPECT_EQ(tokens(l[1 + geo + py + 3 + 9]), (std::vector<std::string>{"10", "0.0000000", "0.0000000"}));
}

// Items of the record file, each as read from the records of the same sequence as the
// text lines: a text item without a decimal point is a 32-bit integer, any other a 64-bit
// real.
TEST(PlotPass, RecordFileCarriesTheItemsOfTheTextFile) {
  const auto text = lines_of(run_group(0));
  const std::string rec = run_group(1);
  size_t pos = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    ASSERT_LE(pos + 4, rec.size()) << "record " << i + 1;
    std::int32_t len, tail;
    std::memcpy(&len, rec.data() + pos, 4);
    const auto items = tokens(text[i]);
    size_t want = 0;
    for (const auto& t : items) want += t.find('.') == std::string::npos ? 4 : 8;
    ASSERT_EQ(size_t(len), want) << "record " << i + 1 << ": " << text[i];
    size_t p = pos + 4;
    for (const auto& t : items) {
      if (t.find('.') == std::string::npos) {
        std::int32_t v;
        std::memcpy(&v, rec.data() + p, 4);
        EXPECT_EQ(v, std::stoi(t)) << "record " << i + 1;
        p += 4;
      } else {
        double v;
        std::memcpy(&v, rec.data() + p, 8);
        const double x = std::stod(t);
        EXPECT_NEAR(v, x, 1e-7 * std::abs(x) + 1e-4) << "record " << i + 1;
        p += 8;
      }
    }
    std::memcpy(&tail, rec.data() + p, 4);
    EXPECT_EQ(tail, len);
    pos = p + 4;
  }
  EXPECT_EQ(pos, rec.size());
}

}  // namespace
}  // namespace torva
