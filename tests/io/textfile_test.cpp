// Files written over an earlier, longer file hold exactly the new content (the earlier file
// is emptied when opened), and a write that fails is recorded with the system's reason.
#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <string>

#include "io/recfile.h"
#include "io/textfile.h"
#include "support/filesizelimit.h"
#include "support/workdir.h"

namespace torva {
namespace {

const std::string kOld(70000, 'Z');  // an earlier run's file, longer than the new one

// A text file opened for writing over an earlier run's file "r.txt".
class Rewrite : public ::testing::Test {
 protected:
  void SetUp() override {
    dir.write("r.txt", kOld);
    ASSERT_TRUE(f.open_write("r.txt"));
  }
  testing::WorkDir dir;
  TextFile f;
};

TEST_F(Rewrite, TextFileKeepsOnlyTheNewLines) {
  f.line("first").A("open line");
  f.close();  // the open line is ended by the close
  EXPECT_FALSE(f.write_failed());
  EXPECT_EQ(dir.read("r.txt"), "first\nopen line\n");
}

TEST_F(Rewrite, RewoundFileKeepsItsFarthestContent) {
  // A rewound file written again over a shorter stretch keeps the rest of what it held
  // before the rewind, as a file emptied once at its opening would.
  f.line("aaaa").line("bbbb");
  f.rewind();
  f.line("cc");
  f.close();
  EXPECT_EQ(dir.read("r.txt"), "cc\na\nbbbb\n");
}

TEST_F(Rewrite, EmptyRunAndRecordFileAndWholeFile) {
  for (const char* n : {"e.txt", "r.bin", "w.txt"}) dir.write(n, kOld);
  {
    TextFile e;
    ASSERT_TRUE(e.open_write("e.txt"));
  }
  EXPECT_EQ(dir.read("e.txt"), "");
  {
    RecFile r;
    ASSERT_TRUE(r.open_write("r.bin"));
    r.i32(7).end();
  }
  EXPECT_EQ(dir.read("r.bin"), std::string("\4\0\0\0\7\0\0\0\4\0\0\0", 12));
  EXPECT_TRUE(rewrite_file("w.txt", "0\n"));
  EXPECT_EQ(dir.read("w.txt"), "0\n");
  EXPECT_TRUE(rewrite_file("new.txt", "1\n"));  // a missing file is created
  EXPECT_EQ(dir.read("new.txt"), "1\n");
}

// A file that is emptied holds nothing of the earlier file at any moment: what is written
// so far, and nothing after it.
TEST_F(Rewrite, OpenedFileHoldsNothingOfTheEarlierOne) {
  EXPECT_EQ(dir.read("r.txt"), "");
  f.line("first");
  f.flush();
  EXPECT_EQ(dir.read("r.txt"), "first\n");
}

// A report reached through a link stays where the link points; a file of one name keeps its
// permissions.
TEST(TextFileWrites, ALinkedFileIsWrittenThroughItsLinkAndPermissionsStay) {
  testing::WorkDir dir;
  dir.write("target.txt", kOld);
  std::filesystem::create_symlink("target.txt", dir.path() / "link.txt");
  dir.write("own.txt", kOld);
  std::filesystem::permissions(dir.path() / "own.txt", std::filesystem::perms(0640));
  for (const char* n : {"link.txt", "own.txt"}) {
    TextFile f;
    ASSERT_TRUE(f.open_write(n));
    f.line("new");
  }
  EXPECT_TRUE(std::filesystem::is_symlink(dir.path() / "link.txt"));
  EXPECT_EQ(dir.read("target.txt"), "new\n");
  EXPECT_EQ(dir.read("own.txt"), "new\n");
  EXPECT_EQ(std::filesystem::status(dir.path() / "own.txt").permissions(),
            std::filesystem::perms(0640));
}

TEST(TextFileWrites, AFailedWriteIsRecordedWithItsReason) {
  TextFile f;
  ASSERT_TRUE(f.open_append("/dev/full"));
  f.line("a line that the device refuses");
  EXPECT_FALSE(f.flush_checked());
  EXPECT_TRUE(f.write_failed());
  EXPECT_EQ(f.write_errno(), ENOSPC);
  f.close();
  EXPECT_TRUE(f.write_failed());  // kept after the close
}

// A log written line by line (each line sent at its end) into a file that can take only part
// of its lines: the file system takes the first part of a line and then refuses the rest.
// The failure is recorded when it happens, whichever line it cuts, and kept to the close.
TEST(TextFileWrites, ALineCutByAFullFileIsRecorded) {
  for (const std::size_t limit : {100, 120, 200}) {
    SCOPED_TRACE(limit);
    testing::WorkDir dir;
    TextFile f;
    ASSERT_TRUE(f.open_write("log.txt"));
    f.line_buffered();
    bool failed_at_once = true;
    {
      const testing::FileSizeLimit fsize(limit);
      ASSERT_TRUE(fsize.set());
      for (int i = 0; i < 5; ++i) {
        const std::size_t before = (std::size_t(i) + 1) * 50;
        f.line(std::string(49, char('a' + i)));
        if (before > limit) failed_at_once = failed_at_once && f.write_failed();
      }
      f.close();
    }
    EXPECT_TRUE(failed_at_once);
    EXPECT_TRUE(f.write_failed());
    EXPECT_EQ(f.write_errno(), EFBIG);
    EXPECT_EQ(dir.read("log.txt").size(), limit);
  }
}

}  // namespace
}  // namespace torva
