#include "input/freeread.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

namespace torva {
namespace {

// Reads `text` with a plan of records: each record a string of targets, 'i' integer,
// 'r' real, 't' text; a plan entry "L" reads a whole line. Targets start at -1 / "?" so
// that a target left unchanged shows as such. Returns the values read, records separated
// by " | ", or "ERR line <n> <field>" on failure.
std::string run_plan(const std::string& text, const std::vector<std::string>& plan) {
  StringLines src(text);
  FreeReader rd(src);
  std::string out;
  for (const std::string& rec : plan) {
    if (!out.empty()) out += " | ";
    if (rec == "L") {
      std::string line;
      rd.fixed_line(line, Fid("NAME"));
      out += "[" + line + "]";
      continue;
    }
    rd.rec();
    std::string vals;
    int k = 0;
    for (char c : rec) {
      ++k;
      if (!vals.empty()) vals += ' ';
      if (c == 'i') {
        int v = -1;
        rd.i(v, Fid("IV", k));
        vals += std::to_string(v);
      } else if (c == 'r') {
        double v = -1;
        rd.r(v, Fid("RV", k));
        char buf[32];
        std::snprintf(buf, sizeof buf, "%g", v);
        vals += buf;
      } else {
        Chars<12> v;
        v = "?";
        rd.t(v, Fid("TV", k));
        vals.append("<").append(v.trimmed()).append(">");
      }
    }
    out += vals;
  }
  if (!rd.ok())
    return "ERR line " + std::to_string(rd.error().line) + " " + rd.error().field + " " +
           rd.error().found;
  return out;
}

struct Case {
  const char* what;
  std::string text;
  std::vector<std::string> plan;
  std::string expect;
};

TEST(FreeRead, RecordsAsListDirectedInputReadsThem) {
  const Case cases[] = {
      {"blanks, commas and tabs", "1, 2\t3 ,4\n", {"iiii"}, "1 2 3 4"},
      {"record over three lines", "1 2\n\n3\n4 5\n", {"iiii"}, "1 2 3 4"},
      {"rest of the last line ignored", "1 2 3 99 98\n7\n", {"iii", "i"}, "1 2 3 | 7"},
      {"each record starts on a new line", "1 2\n3\n", {"i", "i"}, "1 | 3"},
      {"repeat count", "3*2.5 1\n", {"rrrr"}, "2.5 2.5 2.5 1"},
      {"repeat count of nulls", "1 2*, 4\n", {"iiii"}, "1 -1 -1 4"},
      {"repeat runs over records' ends", "2*7\n", {"i", "i"}, "ERR line 1 IV(1) END OF FILE"},
      {"empty value keeps the target", "1,,3\n", {"iii"}, "1 -1 3"},
      {"leading comma is an empty value", ",2\n", {"ii"}, "-1 2"},
      {"comma after a line end joins the blank", "1\n,2\n", {"ii"}, "1 2"},
      {"two commas over a line end", "1,\n,3\n", {"iii"}, "1 -1 3"},
      {"slash ends the record", "1 2 / 5 6\n9\n", {"iiii", "i"}, "1 2 -1 -1 | 9"},
      {"slash right after a value", "4/\n", {"ii"}, "4 -1"},
      {"integer accepted for a real", "5 -3\n", {"rr"}, "5 -3"},
      {"exponent forms", "1.5E3 2D-2 .5 5. -1.0+2 +3e+1\n", {"rrrrrr"},
       "1500 0.02 0.5 5 -100 30"},
      {"quoted name with blanks and commas", "'PIPE 24, X 0.5' 7\n", {"t"}, "<PIPE 24, X 0>"},
      {"doubled quote", "\"A \"\"B\"\"\"\n", {"t"}, "<A \"B\">"},
      {"unquoted name keeps its first word", "HP14X73 STEEL PILE\n3\n", {"t", "i"},
       "<HP14X73> | 3"},
      {"name line holding commas", "LOAD, CASE / 1,\n1\n", {"L", "i"}, "[LOAD, CASE / 1,] | 1"},
      {"name line cut to 80 columns", std::string(85, 'x') + "\n", {"L"},
       "[" + std::string(80, 'x') + "]"},
      {"CRLF line ends", "1 2\r\n3\r\nTITLE\r\n", {"ii", "i", "L"}, "1 2 | 3 | [TITLE]"},
      {"empty record takes one line", "junk\n5\n", {"", "i"}, "5"},
      {"blank name line is a name", "\n5\n", {"L", "i"}, "[] | 5"},
      {"real for an integer", "1.0\n", {"i"}, "ERR line 1 IV(1) \"1.0\""},
      {"letter in a number", "1 2X\n", {"ir"}, "ERR line 1 RV(2) \"2X\""},
      {"truncated record", "1 2\n", {"iii"}, "ERR line 1 IV(3) END OF FILE"},
      {"integer overflow", "3000000000\n", {"i"}, "ERR line 1 IV(1) \"3000000000\""},
      {"real overflow", "1e999\n", {"r"}, "ERR line 1 RV(1) \"1e999\""},
      {"quoted text for a number", "'5'\n", {"i"}, "ERR line 1 IV(1) \"5\""},
      {"zero repeat count", "0*5\n", {"i"}, "ERR line 1 IV(1) \"0*\""},
      {"unclosed quote", "'abc\n", {"t"}, "ERR line 1 TV(1) \"'abc\""},
      {"error line after continuation", "1\n\n2 x\n", {"iii"}, "ERR line 3 IV(3) \"x\""},
  };
  for (const Case& c : cases) EXPECT_EQ(run_plan(c.text, c.plan), c.expect) << c.what;
}

// Values past the end of a record are ignored as the reading rules say, and each line that
// holds them is warned about with its number and what was ignored.
TEST(FreeRead, ValuesBeyondARecordAreWarnedAboutByLine) {
  const Case cases[] = {
      {"second value on a line of one", "1 8.0\n", {"r"}, "line 1: \"8.0\""},
      {"thousands separator", "40,000.0\n", {"r"}, "line 1: \"000.0\""},
      {"record over two lines", "1\n2 3\n", {"ii"}, "line 2: \"3\""},
      {"every line of a file", "1 2\n3 4\nNAME\n", {"i", "i", "L"},
       "line 1: \"2\" line 2: \"4\""},
      {"an empty record's line", "junk\n5\n", {"", "i"}, "line 1: \"junk\""},
      {"a slash ends the line's values", "1 2 / note\n", {"ii"}, ""},
      {"a trailing comma is no value", "1 2,\n", {"ii"}, ""},
      {"exactly the values read", "1 2\n", {"ii"}, ""},
  };
  for (const Case& c : cases) {
    StringLines src(c.text);
    FreeReader rd(src);
    for (const std::string& rec : c.plan) {
      if (rec == "L") {
        std::string line;
        rd.fixed_line(line, Fid("NAME"));
        continue;
      }
      rd.rec();
      double v = 0.0;
      for (std::size_t k = 0; k < rec.size(); ++k) rd.r(v, Fid("RV"));
    }
    rd.end();
    std::string got;
    for (const std::string& w : rd.take_warnings()) {
      const auto at = w.find("LINE ");
      const auto ign = w.find("IGNORED: ");
      if (!got.empty()) got += " ";
      got += "line " + w.substr(at + 5, w.find(' ', at + 5) - at - 5) + ": " + w.substr(ign + 9);
    }
    EXPECT_EQ(got, c.expect) << c.what;
    EXPECT_TRUE(rd.ok()) << c.what;
  }
}

TEST(FreeRead, RemembersWhereFieldsWereReadAndTheSection) {
  StringLines src("TITLE\n1 2\n\n3\n");
  FreeReader rd(src);
  std::string t;
  rd.fixed_line(t, Fid("TITLE"));
  rd.section("CONTROL RECORD");
  rd.title(t + "   ");
  int a = 0, b = 0, c = 0;
  rd.rec().i(a, Fid("A")).i(b, Fid("B", 2, 3)).i(c, Fid("C"));
  ASSERT_TRUE(rd.ok());
  EXPECT_EQ(rd.where(Fid("B", 2, 3)).line, 2);
  EXPECT_EQ(rd.where(Fid("C")).line, 4);
  EXPECT_EQ(rd.where(Fid("D")).line, 0);
  rd.invalid(Fid("B", 2, 3), "2", "1 TO 1");
  EXPECT_EQ(rd.error().kind, ReadFail::invalid);
  EXPECT_EQ(rd.error().field, "B(2,3)");
  EXPECT_EQ(rd.error().line, 2);
  EXPECT_EQ(rd.error().section, "CONTROL RECORD, TITLE \"TITLE\"");
  // After a failure every read leaves its target alone.
  int d = 7;
  rd.rec().i(d, Fid("D"));
  EXPECT_EQ(d, 7);
}

}  // namespace
}  // namespace torva
