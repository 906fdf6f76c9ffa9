// Every run starts from a clean model: two runs of one input in one process, and runs with
// different thread counts, write identical files (timing and date lines aside).
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>

#include "driver/itorva.h"
#include "io/platform.h"
#include "support/workdir.h"

namespace torva {
namespace {

namespace fs = std::filesystem;
using torva::testing::WorkDir;

std::map<std::string, std::string> run_and_collect(WorkDir& dir, int& status) {
  status = run_itorva(3);
  std::map<std::string, std::string> files;
  for (const auto& e : fs::directory_iterator(dir.path())) {
    const std::string name = e.path().filename().string();
    if (name == "Names.dat" || name == "case.dat" || name == "case.mph") continue;
    files[name] = torva::testing::mask_variable_lines(dir.read(name));
  }
  return files;
}

TEST(Determinism, TwoRunsInOneProcessGiveIdenticalFiles) {
  platform::set_date([] { return platform::DateTime{2026, 12, 10, 9, 30, 0}; });
  const fs::path examples = fs::path(TORVA_SOURCE_DIR) / "examples";
  int checked = 0;
  if (!fs::exists(examples)) GTEST_SKIP() << "no bundled examples yet";
  for (const auto& e : fs::directory_iterator(examples)) {
    if (e.path().extension() != ".dat") continue;
    SCOPED_TRACE(e.path().filename().string());
    WorkDir dir;
    dir.copy_input(e.path());
    dir.write_names();
    dir.write("case.mph", "");
    int s1 = 0, s2 = 0;
    const auto first = run_and_collect(dir, s1);
    const auto second = run_and_collect(dir, s2);
    EXPECT_EQ(s1, s2);
    ASSERT_EQ(first.size(), second.size());
    for (const auto& [name, text] : first) EXPECT_EQ(text, second.at(name)) << name;
    ++checked;
  }
  platform::set_date(nullptr);
  if (checked == 0) GTEST_SKIP() << "no bundled examples yet";
}

}  // namespace
}  // namespace torva
