// Work files of the run opened or written during the analysis: one that fails ends the run
// with the open or write status, and the end-of-run message names the file by its full path
// with the system's reason, as for the reports.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>

#include "cap/capreport.h"
#include "cap/example_fixture.h"
#include "driver/runctl.h"
#include "input/readinput.h"
#include "model/status.h"
#include "report/envewr.h"
#include "report/ptables.h"
#include "report/report_fixture.h"

namespace torva {
namespace {

namespace fs = std::filesystem;
using testing::ReportFixture;

const Model& node_tables(ReportFixture& f, Model&, int& st) {
  ENVEWR(f.m, 0, 0, st);
  return f.m;
}

const Model& summary_tables(ReportFixture& f, Model&, int& st) {
  PrintFlags F;
  F.fill(1);
  PTABLES(f.m, 2, F, st);
  return f.m;
}

TEST(FailedFile, AWorkFileIsNamedByItsFullPathAndTheSystemsReason) {
  const struct {
    const char* name;
    const char* file;  // the name the file is given, relative to the working folder
    // Runs the routine on the fixture's model (or on a model of its own): the model it used.
    std::function<const Model&(ReportFixture&, Model&, int&)> run;
    int status;
    const char* reason;
  } cases[] = {
      {"pile scratch opened by the cap analysis", "sub",
       [](ReportFixture& f, Model&, int& st) -> const Model& {
         (void)open_scratch(f.m, f.m.PILESCR, R_PILESCR, st);
         return f.m;
       },
       ST_FILEOPEN, "IS A DIRECTORY"},
      {"pile scratch opened by the node tables", "sub",
       node_tables, ST_FILEOPEN, "IS A DIRECTORY"},
      {"pile scratch that refuses the node tables' records", "full",
       node_tables, ST_FILEWRITE,
       "NO SPACE LEFT ON DEVICE"},
      {"pile scratch read back by the summary tables", "missing/none.pls",
       summary_tables,
       ST_FILEOPEN, "NO SUCH FILE OR DIRECTORY"},
      {"pile scratch that lost records", "short.pls",
       summary_tables,
       ST_FILEWRITE, ""},
      {"curve data opened by the input reader", "sub",
       [](ReportFixture& f, Model& m, int& st) -> const Model& {
         f.dir.write("case.dat", testing::read_example("single_pile_elastic_us.dat"));
         f.dir.write_names();
         OPENFILES(m, st);
         if (st == ST_OK) {
           m.FNAME[R_CURVEDATA] = "sub";
           READINPUT(m, st);
         }
         return m;
       },
       ST_FILEOPEN, "IS A DIRECTORY"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ReportFixture f;
    fs::create_directory(f.dir.path() / "sub");
    fs::create_symlink("/dev/full", f.dir.path() / "full");
    f.dir.write("short.pls", "          1        1.0000\n");
    f.m.FNAME[R_PILESCR] = c.file;
    auto fresh = new_model();
    int status = ST_OK;
    const Model& m = c.run(f, *fresh, status);
    EXPECT_EQ(status, c.status);
    EXPECT_EQ(m.ERRFILE, (f.dir.path() / c.file).string());
    EXPECT_EQ(m.ERRREASON, c.reason);
  }
}

}  // namespace
}  // namespace torva
