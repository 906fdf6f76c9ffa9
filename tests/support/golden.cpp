#include "support/golden.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "driver/itorva.h"
#include "support/workdir.h"

namespace torva::testing {

namespace {

bool is_num_char(char ch) { return (ch >= '0' && ch <= '9') || ch == '.'; }

// The numeric fields of a line: [start, end) spans of sign, digits, point and exponent.
std::vector<std::pair<std::size_t, std::size_t>> numbers(const std::string& s) {
  std::vector<std::pair<std::size_t, std::size_t>> out;
  std::size_t i = 0;
  while (i < s.size()) {
    if (!is_num_char(s[i]) ||
        (s[i] == '.' && (i + 1 >= s.size() || !std::isdigit(static_cast<unsigned char>(s[i + 1]))))) {
      ++i;
      continue;
    }
    std::size_t b = i;
    if (b > 0 && s[b - 1] == '-') --b;
    while (i < s.size() && is_num_char(s[i])) ++i;
    if (i + 3 < s.size() && s[i] == 'E' && (s[i + 1] == '+' || s[i + 1] == '-')) i += 4;
    out.emplace_back(b, i);
  }
  return out;
}

// One unit of the last printed digit of a numeric field.
double last_digit_unit(const std::string& f) {
  const std::size_t e = f.find('E');
  const std::string mant = f.substr(0, e);
  const std::size_t dot = mant.find('.');
  const int dec = dot == std::string::npos ? 0 : int(mant.size() - dot - 1);
  const int ex = e == std::string::npos ? 0 : std::stoi(f.substr(e + 1));
  return std::pow(10.0, ex - dec);
}

}  // namespace

std::string golden_compare(const std::string& want, const std::string& got) {
  if (want.size() != got.size()) return "line lengths differ";
  const auto nw = numbers(want), ng = numbers(got);
  if (nw != ng) return "numbers in different columns";
  std::size_t at = 0;
  for (const auto& [b, e] : nw) {
    if (want.compare(at, b - at, got, at, b - at) != 0) return "text differs";
    const std::string fw = want.substr(b, e - b), fg = got.substr(b, e - b);
    const double tol = 1.0001 * last_digit_unit(fw);
    if (std::abs(std::stod(fw) - std::stod(fg)) > tol) return "number differs: " + fw + " vs " + fg;
    at = e;
  }
  if (want.compare(at, std::string::npos, got, at, std::string::npos) != 0)
    return "text differs";
  return {};
}

std::vector<std::string> report_part(const std::string& text, const std::string& from,
                                     const std::string& to) {
  std::istringstream s(text);
  std::vector<std::string> out;
  bool in = false;
  for (std::string l; std::getline(s, l);) {
    if (!in && l.find(from) != std::string::npos) in = true;
    else if (in && l.find(to) != std::string::npos) break;
    if (in) out.push_back(l);
  }
  while (!out.empty() && out.back().empty()) out.pop_back();
  return out;
}

void check_golden_lines(const std::filesystem::path& file, const std::vector<std::string>& got) {
  if (std::getenv("TORVA_UPDATE_GOLDEN") != nullptr) {
    std::filesystem::create_directories(file.parent_path());
    std::ofstream out(file, std::ios::binary);
    for (const auto& l : got) out << l << '\n';
    return;
  }
  std::ifstream in(file, std::ios::binary);
  ASSERT_TRUE(in) << "missing " << file << " (regenerate with TORVA_UPDATE_GOLDEN=1)";
  std::vector<std::string> want;
  for (std::string l; std::getline(in, l);) want.push_back(l);
  ASSERT_EQ(got.size(), want.size()) << file;
  for (std::size_t i = 0; i < want.size(); ++i) {
    const std::string why = golden_compare(want[i], got[i]);
    EXPECT_TRUE(why.empty()) << file << ":" << i + 1 << ": " << why << "\n  want: " << want[i]
                             << "\n  got:  " << got[i];
  }
}

// Round-off values (below 1e-9, e.g. the out-of-plane results of a symmetric case) depend on
// the compiler's evaluation order: each is replaced by a 0 ending in the same column.
std::vector<std::string> mask_roundoff(std::vector<std::string> lines) {
  for (std::string& l : lines) {
    std::size_t i = 0;
    while (i < l.size()) {
      const char c = l[i];
      const bool start = (c >= '0' && c <= '9') || ((c == '-' || c == '.') && i + 1 < l.size() &&
                                                    (std::isdigit(static_cast<unsigned char>(l[i + 1])) ||
                                                     l[i + 1] == '.'));
      if (!start || (i > 0 && std::isalnum(static_cast<unsigned char>(l[i - 1])))) {
        ++i;
        continue;
      }
      std::size_t e = i + 1;
      while (e < l.size() && (std::isdigit(static_cast<unsigned char>(l[e])) || l[e] == '.' ||
                              ((l[e] == '+' || l[e] == '-') && l[e - 1] == 'E') || l[e] == 'E'))
        ++e;
      const std::string tok = l.substr(i, e - i);
      char* end = nullptr;
      const double v = std::strtod(tok.c_str(), &end);
      if (end == tok.c_str() + tok.size() && v != 0.0 && std::abs(v) < 1e-9)
        l.replace(i, tok.size(), std::string(tok.size() - 1, ' ') + "0");
      i = e;
    }
  }
  return lines;
}

void check_examples_golden(const std::string& ext, const std::string& golden_file,
                           const std::function<std::vector<std::string>(const std::string&)>& part) {
  namespace fs = std::filesystem;
  const fs::path examples = fs::path(TORVA_SOURCE_DIR) / "examples";
  const fs::path gold = fs::path(TORVA_SOURCE_DIR) / "tests" / "golden";
  int checked = 0;
  for (const auto& e : fs::directory_iterator(examples)) {
    if (e.path().extension() != ".dat") continue;
    const std::string name = e.path().stem().string();
    SCOPED_TRACE(name);
    std::vector<std::string> got;
    {
      WorkDir dir;
      dir.copy_input(e.path());
      dir.write_names();
      dir.write("case.mph", "");
      run_itorva(3, false);  // the input echo only
      got = part(dir.read("case" + ext));
    }
    ASSERT_FALSE(got.empty()) << "the report holds no such part";
    check_golden_lines(gold / name / golden_file, got);
    ++checked;
  }
  EXPECT_GT(checked, 0);
}

}  // namespace torva::testing
