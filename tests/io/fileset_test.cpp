// The file set of a run: the plate program's files named after the input, and two roles
// that name one file however the names are written.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "io/fileset.h"
#include "support/workdir.h"

namespace torva {
namespace {

namespace fs = std::filesystem;

TEST(FileSet, ThePlateProgramsFilesAreNamedAfterTheInput) {
  const std::vector<RunFile> f = plate_files("sub.d/case.dat");
  ASSERT_EQ(f.size(), 11u);
  EXPECT_EQ(f[0].name, "sub.d/case.fem");
  EXPECT_FALSE(f[0].written);  // the plate model file is read
  EXPECT_EQ(f[1].name, "sub.d/case.fel");
  EXPECT_TRUE(f[1].written);
  EXPECT_EQ(f[6].name, "tslab.dat");
  EXPECT_EQ(plate_base("sub.d/case"), "sub.d/case");  // a dot in the folder only
}

// Two names of one file: by their path made normal, by one inode, by one folder reached two
// ways for a file that does not exist yet, by a link to a file that does not exist yet (the
// run would create the file through it), by a folder's ".." as the system takes it (from
// where a linked folder leads). Two files the run only reads are no conflict.
TEST(FileSet, TwoRolesOfOneFileAreFoundHoweverTheNamesAreWritten) {
  testing::WorkDir dir;
  fs::create_directory(dir.path() / "sub");
  fs::create_directory_symlink(dir.path() / "sub", dir.path() / "alias");
  fs::create_directories(dir.path() / "far" / "deep");
  fs::create_directory_symlink(dir.path() / "far" / "deep", dir.path() / "up");
  dir.write("a.out", "x");
  fs::create_hard_link(dir.path() / "a.out", dir.path() / "b.out");
  fs::create_symlink("new.out", dir.path() / "to_new.sum");
  fs::create_symlink("to_new.sum", dir.path() / "to_to_new.sum");
  fs::create_symlink("../sub/new.out", dir.path() / "alias" / "up.sum");
  const struct {
    const char* first;
    bool first_written;
    const char* second;
    bool conflict;
  } cases[] = {{"a.out", true, "./a.out", true},
               {"a.out", true, "sub/../a.out", true},
               {"a.out", true, "b.out", true},           // a hard link
               {"sub/new.out", true, "alias/new.out", true},  // not yet there, one folder
               {"sub/new.out", true, "sub/other.out", false},
               {"new.out", true, "to_new.sum", true},     // a link to a file not yet there
               {"new.out", true, "to_to_new.sum", true},  // through two links
               {"sub/new.out", true, "sub/up.sum", true},  // a link relative to its folder
               {"far/new.out", true, "up/../new.out", true},  // ".." of a linked folder
               {"new.out", true, "up/../new.out", false},
               {"a.out", false, "b.out", false}};       // both only read
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.first) + " / " + c.second);
    const std::vector<RunFile> files = {{c.first, "one", c.first_written, 7},
                                        {c.second, "two", false, 8}};
    const auto [a, b] = one_file_two_roles(files);
    EXPECT_EQ(a, c.conflict ? 0 : -1);
    EXPECT_EQ(b, c.conflict ? 1 : -1);
  }
}

}  // namespace
}  // namespace torva
