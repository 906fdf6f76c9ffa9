// The progress file as the host reads it while the engine writes it.
#include "host/progress_text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Lines = std::vector<std::string>;

// The engine writes each message over the start of the file and then cuts the file to its
// length: a reader may find the new message followed by the end of a longer earlier one, or,
// while a longer message replaces a shorter one, the new message's beginning only, as long
// as the earlier one (its empty line not yet there). The display takes only a whole message;
// the last words, read after the engine has ended, take what the file holds (a file-size
// limit may have cut the message).
TEST(ProgressText, OnlyAWholeMessageIsShownWhileTheEngineWritesIt) {
  const std::string step = " - ANALYSIS FOR LOAD CASE 1/1 (6/8 proc.)\n STEP:    1 TCUR:    0.2500 ITERATION:   12\n\n";
  const Lines step_lines = {"ANALYSIS FOR LOAD CASE 1/1 (6/8 proc.)", "STEP:    1 TCUR:    0.2500 ITERATION:   12"};
  const struct {
    const char* name;
    std::string text;
    Lines shown;  // while the engine runs
    Lines last;   // after it has ended
  } cases[] = {
      {"a whole message", step, step_lines, step_lines},
      {"a shorter message over a longer one, not yet cut",
       " - ANALYSIS FOR LOAD CASE 1/1 (6/8 proc.)\n STEP:    2 COMPLETED\n\n   0.2500 ITERATION:   12\n\n",
       {"ANALYSIS FOR LOAD CASE 1/1 (6/8 proc.)", "STEP:    2 COMPLETED"},
       {"ANALYSIS FOR LOAD CASE 1/1 (6/8 proc.)", "STEP:    2 COMPLETED"}},
      {"a longer message over a shorter one, as long as the shorter", step.substr(0, step.find("2500")), {},
       {"ANALYSIS FOR LOAD CASE 1/1 (6/8 proc.)", "STEP:    1 TCUR:    0."}},
      {"an empty file", "", {}, {}},
      {"a last message cut by a file-size limit",
       " - A FILE OF THE RUN CANNOT BE WRITTEN: /f/a.out: FILE TOO LARGE\n - ALSO NOT WRITTEN IN FULL",
       {}, {"A FILE OF THE RUN CANNOT BE WRITTEN: /f/a.out: FILE TOO LARGE", "ALSO NOT WRITTEN IN FULL"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(torva_host::progress_lines(c.text, true), c.shown);
    EXPECT_EQ(torva_host::progress_lines(c.text, false), c.last);
  }
}

}  // namespace
