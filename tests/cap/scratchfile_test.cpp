// The scratch files of the cap analyses: one that cannot be opened ends the run with the
// file-open status naming it, never a complete-looking report without its warnings.
#include <gtest/gtest.h>

#include <string>

#include "cap/example_fixture.h"
#include "model/status.h"

namespace torva {
namespace {

using testing::WorkDir;

// Names.dat with the file of `ext` moved into a folder that does not exist.
void names_with_missing_folder(WorkDir& dir, const std::string& ext) {
  dir.write_names();
  std::string names = dir.read("Names.dat");
  names = testing::replace(names, "\ncase" + ext + "\n", "\nnofolder/case" + ext + "\n");
  dir.write("Names.dat", names);
}

// The warning file is opened while the cap iterates, the pile scratch file by the output
// pass after the cap has converged: either way the case list holds no completed outcome for
// the analysis that ended the run.
TEST(CapScratchFiles, UnopenableScratchFileIsAnErrorNamingIt) {
  const struct {
    const char* example;
    const char* ext;
  } cases[] = {
      {"single_pile_elastic_us.dat", ".wrn"},
      {"bent_2d_stiff_clay_us.dat", ".wrn"},
      {"single_pile_elastic_us.dat", ".pls"},
      {"bent_2d_stiff_clay_us.dat", ".pls"},
  };
  for (const auto& k : cases) {
    SCOPED_TRACE(std::string(k.example) + " " + k.ext);
    WorkDir dir;
    dir.write("case.dat", testing::read_example(k.example));
    dir.write("case.mph", "");
    names_with_missing_folder(dir, k.ext);

    EXPECT_EQ(run_itorva(3), ST_FILEOPEN);

    const std::string log = dir.read("case.log");
    EXPECT_NE(log.find(std::string("     nofolder/case") + k.ext + "\n"), std::string::npos) << log;
    const std::string cas = dir.read("case.cas");
    EXPECT_EQ(cas.find("ANALYSIS COMPLETED"), std::string::npos) << cas;
    EXPECT_EQ(cas.find("SOLUTION AT"), std::string::npos) << cas;
  }
}

}  // namespace
}  // namespace torva
