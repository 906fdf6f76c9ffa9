// The free-format record reader of the input data file.
//
// A record is read as list-directed (free-format) input: values separated by blanks, tabs or
// commas; every record starts on a new line and runs over as many lines as it needs, the rest
// of its last line being ignored; blank lines inside a record are skipped; `n*value` repeats a
// value and `n*` gives n empty values; an empty value (two commas) leaves its target
// unchanged; a slash ends the record and leaves every remaining target unchanged. Integers are
// written without a decimal point (a real where an integer is expected cannot be read); an
// integer is accepted where a real is expected. A text item is one word (ended by a blank,
// comma or slash) or a quoted string ('...' or "...", a doubled quote standing for one).
// Titles and case names are whole lines, taken as they stand.
//
// The reader never throws and never ends the process. The first failure (a value that
// does not fit its target, the end of the file inside a record) is kept with its line,
// section and field; every later read is then a no-op, so a caller may test `ok()` once
// per record group. It also remembers where each integer field (and each real field read
// with `keep`) was read, so that checks made after reading can name the line.
#pragma once

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "model/table.h"

namespace torva {

class TextFile;

// Where lines come from: a file or, for tests and fuzzing, a text buffer.
class LineSource {
 public:
  virtual ~LineSource() = default;
  // The next line without its line end (LF or CRLF). False at the end.
  virtual bool next(std::string& line) = 0;
};

class StringLines final : public LineSource {
 public:
  explicit StringLines(std::string_view text) : text_(text) {}
  bool next(std::string& line) override;

 private:
  std::string_view text_;
  std::size_t pos_ = 0;
};

class FileLines final : public LineSource {
 public:
  explicit FileLines(TextFile& f) : f_(f) {}
  bool next(std::string& line) override;

 private:
  TextFile& f_;
};

// A field name with up to three indices, formatted only when a message needs it.
struct Fid {
  const char* name;
  int n = 0;
  int a = 0, b = 0, c = 0;
  Fid(const char* s) : name(s) {}  // NOLINT(google-explicit-constructor)
  Fid(const char* s, int i) : name(s), n(1), a(i) {}
  Fid(const char* s, int i, int j) : name(s), n(2), a(i), b(j) {}
  Fid(const char* s, int i, int j, int k) : name(s), n(3), a(i), b(j), c(k) {}
  std::string str() const;
};

// Line and section of a value as read.
struct Loc {
  int line = 0;
  int section = 0;      // the reader's section number
  int record_line = 0;  // the line where the value's record began
};

enum class ReadFail { none, unreadable, end_of_file, invalid };

struct ReadError {
  ReadFail kind = ReadFail::none;
  int line = 0;
  int record_line = 0;   // the line where the record began (0 outside a record)
  std::string section;   // section name and its title as read
  std::string field;     // field name with indices
  std::string found;     // the text or value found
  std::string expected;  // what the field takes
};

class FreeReader {
 public:
  explicit FreeReader(LineSource& src) : src_(src) {}

  // Starts a new section: `name` is the section's role; `title` sets its title line as
  // read (called once the line is in) and is false when the title is empty.
  void section(std::string_view name);
  bool title(std::string_view title);
  // The next whole line (a title or a case name), first 80 characters. False at the end
  // of the file (recorded as a failure naming `what`).
  bool fixed_line(std::string& out, const Fid& what);

  // Starts a record on the next line (an empty record still takes one line).
  FreeReader& rec();
  FreeReader& i(int& target, const Fid& f);
  FreeReader& r(double& target, const Fid& f, bool keep = false);
  template <int N>
  FreeReader& t(Chars<N>& target, const Fid& f) {
    std::string s;
    if (text(s, f)) target = s;
    return *this;
  }

  bool ok() const { return err_.kind == ReadFail::none; }
  const ReadError& error() const { return err_; }
  // Records a failure of a value that was read but is not allowed (a count beyond its
  // table, a value out of range), placed where the field was read; a field whose place is
  // not kept is placed on the reader's line (the value just read). Only the first failure
  // is kept.
  void invalid(const Fid& f, std::string found, std::string allowed);
  // The failure record of a value that is not allowed, placed where the field was read.
  ReadError make_invalid(const Fid& f, std::string found, std::string allowed) const;
  // The section's name and title, for messages.
  std::string section_text(int section) const;
  // Where a field was read (line 0 when it never was).
  Loc where(const Fid& f) const;
  // Where the last value was read.
  Loc here() const { return {line_no_, cur_section_}; }
  int line_no() const { return line_no_; }
  // Ends the last record (its line is checked for values left over).
  void end();
  // The warnings gathered since the last call: one per line that held more values than
  // its record reads (the values beyond are ignored, as the reading rules say).
  std::vector<std::string> take_warnings();

 private:
  enum class Tok { value, null, ended, fail };
  bool text(std::string& out, const Fid& f);
  Tok next_value(std::string& tok, const Fid& f);
  bool next_line(const Fid& f);
  void fail(ReadFail kind, const Fid& f, std::string found, std::string expected);
  void remember(const Fid& f);
  void check_left_over();

  LineSource& src_;
  std::string line_;
  std::size_t pos_ = 0;
  int line_no_ = 0;
  int rec_line_ = 0;       // the line where the current record began
  bool in_record_ = false;
  bool pending_line_ = false;  // the record's first line is still to be read
  bool ended_ = false;     // a slash ended the record
  bool need_sep_ = false;  // a value was taken; a comma next is its separator
  bool quoted_ = false;    // the last value was a quoted string
  bool repeat_quoted_ = false;
  int repeat_ = 0;         // values still to come from a repeat count
  bool repeat_null_ = false;
  std::string repeat_tok_;
  ReadError err_;
  int cur_section_ = 0;
  std::vector<std::string> sections_{"TITLE AND VERSION"};
  std::vector<std::string> titles_{""};
  std::vector<int> title_lines_{0};  // the line of each section's title (0: not read)
  std::unordered_map<std::string, Loc> locs_;
  std::vector<std::string> warnings_;
};

// Parses a whole integer token (optional sign, digits) into a 32-bit integer.
bool parse_int(std::string_view s, int& v);
// Parses a whole real token in any fixed or exponent form (E or D exponent letter, or a
// signed exponent without a letter). Non-finite results are refused.
bool parse_real(std::string_view s, double& v);
// A real value as a message shows it: the shortest form with six significant digits.
std::string real_text(double v);

}  // namespace torva
