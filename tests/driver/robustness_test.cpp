// Damaged input files run end to end: every bundled example with a few of its numbers replaced
// by extreme or wrong values, or a line removed. Whatever the damage, the engine must end
// with a status it explains on the run log, never fail one of its own internal checks, and
// never crash (the sanitizer builds run this test too). With TORVA_DAMAGED_DIR set, each
// damaged copy is also written to that folder, so that CI can run it through the host.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "driver/itorva.h"
#include "driver/runctl.h"
#include "model/status.h"
#include "support/workdir.h"

namespace torva {
namespace {

namespace fs = std::filesystem;
using torva::testing::WorkDir;

std::vector<std::string> lines_of(const fs::path& p) {
  std::ifstream in(p);
  std::vector<std::string> v;
  for (std::string l; std::getline(in, l);) v.push_back(l);
  return v;
}

// Replaces one number of a random line by a damaging value, or removes the line.
void damage(std::vector<std::string>& lines, std::mt19937& rng) {
  static const char* const kValues[] = {"0", "-1", "1e30", "-1e30", "1e-30", "99999",
                                        "2501", "101", "x", "7", "-99999", "3"};
  if (lines.empty()) return;
  const std::size_t i = rng() % lines.size();
  // The blank-separated fields of the line that begin like a number.
  const std::string& l = lines[i];
  std::vector<std::pair<std::size_t, std::size_t>> spans;
  for (std::size_t a = l.find_first_not_of(' '); a != std::string::npos;) {
    std::size_t b = l.find(' ', a);
    if (b == std::string::npos) b = l.size();
    const char c0 = l[a], c1 = a + 1 < b ? l[a + 1] : ' ';
    if (std::isdigit(static_cast<unsigned char>(c0)) ||
        ((c0 == '-' || c0 == '.') && std::isdigit(static_cast<unsigned char>(c1))))
      spans.emplace_back(a, b - a);
    a = l.find_first_not_of(' ', b);
  }
  if (spans.empty() || rng() % 8 == 0) {
    lines.erase(lines.begin() + std::ptrdiff_t(i));
    return;
  }
  const auto [at, len] = spans[rng() % spans.size()];
  lines[i].replace(at, len, kValues[rng() % std::size(kValues)]);
}

TEST(Robustness, DamagedExamplesEndWithAnExplainedStatus) {
  const char* keep = std::getenv("TORVA_DAMAGED_DIR");
  std::mt19937 rng(20261210);
  std::vector<fs::path> examples;
  for (const auto& f : fs::directory_iterator(fs::path(TORVA_SOURCE_DIR) / "examples"))
    if (f.path().extension() == ".dat") examples.push_back(f.path());
  std::sort(examples.begin(), examples.end());
  ASSERT_FALSE(examples.empty());
  for (const fs::path& ex : examples) {
    for (int variant = 0; variant < 3; ++variant) {
      std::vector<std::string> lines = lines_of(ex);
      const int hits = 1 + int(rng() % 3);
      for (int k = 0; k < hits; ++k) damage(lines, rng);
      std::ostringstream text;
      for (const std::string& l : lines) text << l << "\n";
      SCOPED_TRACE(ex.filename().string() + " variant " + std::to_string(variant) + "\n" +
                   text.str());
      if (keep != nullptr && *keep != '\0') {
        // The damaged input beside an intact copy of its plate model file, as the run has it.
        const fs::path copy = fs::path(keep) / (ex.stem().string() + "_damaged" +
                                                std::to_string(variant) + ".dat");
        std::ofstream(copy) << text.str();
        ASSERT_TRUE(fs::exists(copy)) << "cannot write the damaged copy to " << keep;
        fs::path fem = ex;
        fem.replace_extension(".fem");
        if (fs::exists(fem))
          fs::copy_file(fem, fs::path(copy).replace_extension(".fem"),
                        fs::copy_options::overwrite_existing);
      }
      WorkDir dir;
      dir.copy_input(ex);  // with the plate model file of a plate cap
      dir.write("case.dat", text.str());
      dir.write_names();
      const int st = run_itorva(3);
      EXPECT_NE(st, ST_INTERNAL);
      EXPECT_NE(st, ST_BADARG);
      if (st == ST_OK) continue;
      std::string out[4];
      int n = 0;
      status_lines(st, out, n);
      ASSERT_GT(n, 0);
      const std::string log = dir.read("case.log");
      EXPECT_NE(log.find(out[n - 1]), std::string::npos) << "status " << st;
      EXPECT_EQ(out[n - 1].find("UNKNOWN CODE"), std::string::npos) << "status " << st;
    }
  }
}

}  // namespace
}  // namespace torva
