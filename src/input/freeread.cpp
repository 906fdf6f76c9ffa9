#include "input/freeread.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <utility>

#include "io/textfile.h"

namespace torva {

namespace {

bool is_blank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\f' || c == '\v'; }
bool is_digit(char c) { return c >= '0' && c <= '9'; }
bool ends_value(char c) { return is_blank(c) || c == ',' || c == '/'; }

// Shows a token in a message: quoted, cut to a readable length.
std::string shown(std::string_view s) {
  std::string out = "\"";
  out.append(s.substr(0, 40));
  if (s.size() > 40) out.append("...");
  out.push_back('"');
  return out;
}

}  // namespace

bool StringLines::next(std::string& line) {
  if (pos_ >= text_.size()) return false;
  std::size_t e = text_.find('\n', pos_);
  if (e == std::string_view::npos) e = text_.size();
  line.assign(text_.substr(pos_, e - pos_));
  pos_ = e + 1;
  if (!line.empty() && line.back() == '\r') line.pop_back();
  return true;
}

bool FileLines::next(std::string& line) { return f_.read_line(line); }

std::string Fid::str() const {
  std::string s = name;
  if (n == 0) return s;
  // Appended piece by piece: GCC 12 takes `"(" + std::to_string(a)` for an overlapping copy.
  s += '(';
  s += std::to_string(a);
  for (int k = 2; k <= n && k <= 3; ++k) {
    s += ',';
    s += std::to_string(k == 2 ? b : c);
  }
  s += ')';
  return s;
}

bool parse_int(std::string_view s, int& v) {
  std::size_t k = 0;
  bool neg = false;
  if (k < s.size() && (s[k] == '+' || s[k] == '-')) neg = s[k++] == '-';
  if (k >= s.size()) return false;
  long long x = 0;
  for (; k < s.size(); ++k) {
    if (!is_digit(s[k])) return false;
    x = x * 10 + (s[k] - '0');
    if (x > 2147483648LL) return false;
  }
  if (neg) x = -x;
  if (x > 2147483647LL) return false;
  v = int(x);
  return true;
}

bool parse_real(std::string_view s, double& v) {
  // Normalise to the form from_chars reads: no leading '+', exponent letter 'e'.
  std::string t;
  std::size_t k = 0;
  if (k < s.size() && (s[k] == '+' || s[k] == '-')) {
    if (s[k] == '-') t.push_back('-');
    ++k;
  }
  std::size_t digits = 0;
  while (k < s.size() && is_digit(s[k])) t.push_back(s[k++]), ++digits;
  if (k < s.size() && s[k] == '.') {
    t.push_back(s[k++]);
    while (k < s.size() && is_digit(s[k])) t.push_back(s[k++]), ++digits;
  }
  if (digits == 0) return false;
  if (k < s.size()) {
    const char c = s[k];
    if (c == 'e' || c == 'E' || c == 'd' || c == 'D' || c == 'q' || c == 'Q') {
      ++k;
    } else if (c != '+' && c != '-') {
      return false;
    }
    t.push_back('e');
    if (k < s.size() && (s[k] == '+' || s[k] == '-')) t.push_back(s[k++]);
    std::size_t ed = 0;
    while (k < s.size() && is_digit(s[k])) t.push_back(s[k++]), ++ed;
    if (ed == 0 || k != s.size()) return false;
  }
  double x = 0.0;
  const auto res = std::from_chars(t.data(), t.data() + t.size(), x);
  if (res.ec != std::errc() || res.ptr != t.data() + t.size()) return false;
  if (!std::isfinite(x)) return false;
  v = x;
  return true;
}

void FreeReader::section(std::string_view name) {
  sections_.emplace_back(name);
  titles_.emplace_back();
  title_lines_.push_back(0);
  cur_section_ = int(sections_.size()) - 1;
}

bool FreeReader::title(std::string_view title) {
  std::string t(title.substr(0, 80));
  while (!t.empty() && (t.back() == ' ' || t.back() == '\t')) t.pop_back();
  titles_[std::size_t(cur_section_)] = t;
  title_lines_[std::size_t(cur_section_)] = line_no_;
  return !t.empty();
}

std::string FreeReader::section_text(int section) const {
  const std::size_t k = std::size_t(section);
  // An empty title is most often a blank line before the section, read in the title's
  // place: every record of the section then stands one line further on.
  if (titles_[k].empty() && title_lines_[k] > 0)
    return sections_[k] + ", ITS TITLE (LINE " + std::to_string(title_lines_[k]) +
           ") IS EMPTY: A BLANK LINE BEFORE A SECTION IS READ AS ITS TITLE";
  if (titles_[k].empty()) return sections_[k];
  return sections_[k] + ", TITLE \"" + titles_[k] + "\"";
}

void FreeReader::fail(ReadFail kind, const Fid& f, std::string found, std::string expected) {
  if (!ok()) return;
  err_.kind = kind;
  err_.line = line_no_;
  err_.record_line = in_record_ ? rec_line_ : 0;
  err_.section = section_text(cur_section_);
  err_.field = f.str();
  err_.found = std::move(found);
  err_.expected = std::move(expected);
}

ReadError FreeReader::make_invalid(const Fid& f, std::string found, std::string allowed) const {
  const Loc at = where(f);
  ReadError e;
  e.kind = ReadFail::invalid;
  e.line = at.line;
  e.record_line = at.record_line;
  e.section = section_text(at.section);
  e.field = f.str();
  e.found = std::move(found);
  e.expected = std::move(allowed);
  return e;
}

void FreeReader::invalid(const Fid& f, std::string found, std::string allowed) {
  if (!ok()) return;
  err_ = make_invalid(f, std::move(found), std::move(allowed));
  // A real whose place is not kept is refused as soon as it is read: it stands on the
  // reader's line.
  if (err_.line == 0) {
    err_.line = line_no_;
    err_.record_line = in_record_ ? rec_line_ : 0;
    err_.section = section_text(cur_section_);
  }
}

Loc FreeReader::where(const Fid& f) const {
  const auto it = locs_.find(f.str());
  return it == locs_.end() ? Loc{} : it->second;
}

void FreeReader::remember(const Fid& f) {
  locs_[f.str()] = Loc{line_no_, cur_section_, in_record_ ? rec_line_ : 0};
}

void FreeReader::check_left_over() {
  if (!ok() || !in_record_ || pending_line_ || ended_) return;
  std::size_t k = pos_;
  while (k < line_.size() && (is_blank(line_[k]) || line_[k] == ',')) ++k;
  if (k >= line_.size() || line_[k] == '/') return;
  std::string_view rest = std::string_view(line_).substr(k);
  while (!rest.empty() && is_blank(rest.back())) rest.remove_suffix(1);
  warnings_.push_back("     ** WARNING ** LINE " + std::to_string(line_no_) +
                      " HOLDS MORE VALUES THAN ITS RECORD READS; IGNORED: " + shown(rest));
}

void FreeReader::end() {
  check_left_over();
  in_record_ = false;
}

std::vector<std::string> FreeReader::take_warnings() { return std::exchange(warnings_, {}); }

bool FreeReader::next_line(const Fid& f) {
  if (!ok()) return false;
  if (!src_.next(line_)) {
    line_.clear();
    pos_ = 0;
    fail(ReadFail::end_of_file, f, "END OF FILE", "a further line");
    return false;
  }
  ++line_no_;
  pos_ = 0;
  return true;
}

bool FreeReader::fixed_line(std::string& out, const Fid& what) {
  if (pending_line_) {  // an empty record still takes its line
    pending_line_ = false;
    if (!next_line(what)) return false;
    rec_line_ = line_no_;
  }
  end();
  if (!next_line(what)) return false;
  out = line_.substr(0, 80);
  pos_ = line_.size();
  return true;
}

FreeReader& FreeReader::rec() {
  if (pending_line_) {  // an empty record still takes its line
    pending_line_ = false;
    if (next_line(Fid("(empty record)"))) rec_line_ = line_no_;
  }
  check_left_over();
  pending_line_ = true;
  in_record_ = true;
  ended_ = false;
  need_sep_ = false;
  repeat_ = 0;
  return *this;
}

FreeReader::Tok FreeReader::next_value(std::string& tok, const Fid& f) {
  if (!ok()) return Tok::fail;
  if (pending_line_) {
    pending_line_ = false;
    if (!next_line(f)) return Tok::fail;
    rec_line_ = line_no_;
  }
  if (!in_record_ || ended_) return Tok::ended;
  if (repeat_ > 0) {
    --repeat_;
    if (repeat_null_) return Tok::null;
    tok = repeat_tok_;
    quoted_ = repeat_quoted_;
    return Tok::value;
  }
  for (;;) {
    while (pos_ < line_.size() && is_blank(line_[pos_])) ++pos_;
    if (pos_ >= line_.size()) {
      if (!next_line(f)) return Tok::fail;
      continue;
    }
    const char c = line_[pos_];
    if (c == ',') {
      ++pos_;
      if (need_sep_) {
        need_sep_ = false;
        continue;
      }
      return Tok::null;
    }
    if (c == '/') {
      ended_ = true;
      return Tok::ended;
    }
    break;
  }
  const std::size_t n = line_.size();
  // Repeat count: digits followed by '*'.
  int rep = 1;
  bool has_rep = false;
  std::size_t k = pos_;
  while (k < n && is_digit(line_[k])) ++k;
  if (k > pos_ && k < n && line_[k] == '*') {
    if (!parse_int(std::string_view(line_).substr(pos_, k - pos_), rep) || rep < 1) {
      fail(ReadFail::unreadable, f, shown(std::string_view(line_).substr(pos_, k - pos_ + 1)),
           "a repeat count of at least 1");
      return Tok::fail;
    }
    has_rep = true;
    pos_ = k + 1;
  }
  bool null_value = false;
  tok.clear();
  quoted_ = false;
  if (pos_ >= n || ends_value(line_[pos_])) {
    null_value = true;  // only after a repeat count: "n*" gives n empty values
  } else if (line_[pos_] == '\'' || line_[pos_] == '"') {
    const char q = line_[pos_++];
    quoted_ = true;
    bool closed = false;
    while (pos_ < n) {
      if (line_[pos_] == q) {
        if (pos_ + 1 < n && line_[pos_ + 1] == q) {
          tok.push_back(q);
          pos_ += 2;
          continue;
        }
        ++pos_;
        closed = true;
        break;
      }
      tok.push_back(line_[pos_++]);
    }
    if (!closed) {
      fail(ReadFail::unreadable, f, shown(std::string(1, q) + tok), "a closing quote on the line");
      return Tok::fail;
    }
  } else {
    while (pos_ < n && !ends_value(line_[pos_])) tok.push_back(line_[pos_++]);
  }
  need_sep_ = true;
  if (has_rep) {
    repeat_ = rep - 1;
    repeat_null_ = null_value;
    repeat_tok_ = tok;
    repeat_quoted_ = quoted_;
  }
  return null_value ? Tok::null : Tok::value;
}

FreeReader& FreeReader::i(int& target, const Fid& f) {
  std::string tok;
  if (next_value(tok, f) != Tok::value) {
    if (ok()) remember(f);
    return *this;
  }
  int v = 0;
  if (quoted_ || !parse_int(tok, v)) {
    fail(ReadFail::unreadable, f, shown(tok), "an integer (no decimal point)");
    return *this;
  }
  target = v;
  remember(f);
  return *this;
}

FreeReader& FreeReader::r(double& target, const Fid& f, bool keep) {
  std::string tok;
  if (next_value(tok, f) != Tok::value) {
    if (ok() && keep) remember(f);
    return *this;
  }
  double v = 0.0;
  if (quoted_ || !parse_real(tok, v)) {
    fail(ReadFail::unreadable, f, shown(tok), "a real number");
    return *this;
  }
  target = v;
  if (keep) remember(f);
  return *this;
}

bool FreeReader::text(std::string& out, const Fid& f) {
  std::string tok;
  if (next_value(tok, f) != Tok::value) return false;
  out = tok;
  return true;
}

std::string real_text(double v) {
  char buf[40];
  std::snprintf(buf, sizeof buf, "%.6G", v);
  return buf;
}

}  // namespace torva
