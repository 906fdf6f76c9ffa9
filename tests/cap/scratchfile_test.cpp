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

// The warning file is written while the cap iterates, the pile scratch file by the output
// pass after the cap has converged: either is checked before the run empties any report.
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

    dir.write("case.out", "results of an earlier run\n");

    // Refused at the start, before any file is emptied; the progress file names the file
    // and the reason for the host.
    EXPECT_EQ(run_itorva(3), ST_FILEOPEN);
    EXPECT_EQ(dir.read("case.out"), "results of an earlier run\n");
    EXPECT_FALSE(dir.exists("case.log"));
    EXPECT_EQ(dir.read("case.prg"), " - A FILE OF THE RUN CANNOT BE OPENED: " +
                                        (dir.path() / ("nofolder/case" + std::string(k.ext))).string() +
                                        ": NO SUCH FILE OR DIRECTORY\n\n");
  }
}

}  // namespace
}  // namespace torva
