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

TEST(CapScratchFiles, UnopenableWarningFileIsAnErrorNamingIt) {
  for (const char* example : {"single_pile_elastic_us.dat", "bent_2d_stiff_clay_us.dat"}) {
    SCOPED_TRACE(example);
    WorkDir dir;
    dir.write("case.dat", testing::read_example(example));
    dir.write("case.mph", "");
    names_with_missing_folder(dir, ".wrn");

    dir.write("case.out", "results of an earlier run\n");

    // Refused at the start, before any file is emptied; the progress file names the file
    // and the reason for the host.
    EXPECT_EQ(run_itorva(3), ST_FILEOPEN);
    EXPECT_EQ(dir.read("case.out"), "results of an earlier run\n");
    EXPECT_FALSE(dir.exists("case.log"));
    EXPECT_EQ(dir.read("case.prg"), " - A FILE OF THE RUN CANNOT BE OPENED: " +
                                        (dir.path() / "nofolder/case.wrn").string() +
                                        ": NO SUCH FILE OR DIRECTORY\n\n");
  }
}

}  // namespace
}  // namespace torva
