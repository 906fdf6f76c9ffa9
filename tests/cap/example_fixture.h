// Input data files of the bundled examples, edited and run end to end in a temporary
// working directory.
#pragma once

#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "driver/itorva.h"
#include "support/workdir.h"

namespace torva::testing {

inline std::string read_example(const std::string& name) {
  std::ifstream in(std::filesystem::path(TORVA_SOURCE_DIR) / "examples" / name, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

// A data file of the cap tests (tests/cap).
inline std::string read_cap_data(const std::string& name) {
  std::ifstream in(std::filesystem::path(TORVA_SOURCE_DIR) / "tests" / "cap" / name, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

// Replaces the first occurrence of `from` (which must occur) by `to`.
inline std::string replace(std::string text, const std::string& from, const std::string& to) {
  const auto at = text.find(from);
  EXPECT_NE(at, std::string::npos) << from;
  if (at != std::string::npos) text.replace(at, from.size(), to);
  return text;
}

// The wharf-bent example's text with its cap embedded: the passive resistance of the cap on
// and the head of every row `freelen` (ft, negative) below the ground.
inline std::string embedded_bent_rows(std::string t, const std::string& freelen) {
  t = replace(t, "CONTROL RECORD\n1 2 0 ", "CONTROL RECORD\n1 2 1 ");
  t = replace(t, "0.0 -6.0 -14.036 0.0\n", "0.0 -6.0 -14.036 " + freelen + "\n");
  t = replace(t, "0.0 0.0 0.0 0.0\n1 2 1 0 0 0 3", "0.0 0.0 0.0 " + freelen + "\n1 2 1 0 0 0 3");
  return replace(t, "0.0 6.0 14.036 0.0\n", "0.0 6.0 14.036 " + freelen + "\n");
}

// The text with every load case's and combination's record of tolerances and step
// (TOLCAP TOLPILE FACINC FACMIN) given the load step `step` and, when `tolpile` is not
// empty, that pile tolerance.
inline std::string with_step(const std::string& text, const std::string& step, const std::string& tolpile) {
  // A tolerance as the inputs write it: digits and a point, then a negative exponent.
  const auto tolerance = [](const std::string& w) {
    const auto e = w.find("E-");
    return e != std::string::npos && e > 0 && e + 2 < w.size() &&
           w.find_first_not_of("0123456789.") == e &&
           w.find_first_not_of("0123456789", e + 2) == std::string::npos;
  };
  std::istringstream in(text);
  std::string out, line;
  while (std::getline(in, line)) {
    std::istringstream words(line);
    std::string w[4], extra;
    if (words >> w[0] >> w[1] >> w[2] >> w[3] &&
        !(words >> extra) && line == w[0] + " " + w[1] + " " + w[2] + " " + w[3] &&
        tolerance(w[0]) && tolerance(w[1]))
      line = w[0] + " " + (tolpile.empty() ? w[1] : tolpile) + " " + step + " " + w[3];
    out += line + "\n";
  }
  return out;
}

// The outcome lines of the analyses (the case log's numbered lines that are not tables).
inline std::vector<std::string> outcomes(const std::string& cas) {
  std::vector<std::string> o;
  std::istringstream in(cas);
  for (std::string l; std::getline(in, l);)
    if (l.size() > 6 && l.compare(0, 4, "    ") == 0 && std::isdigit(static_cast<unsigned char>(l[4])) &&
        l.find("CALCULATED AND PRINTED") == std::string::npos && l.find("SKIPP") == std::string::npos)
      o.push_back(l);
  return o;
}

// Runs the input text as "case.dat"; the outputs are "case" plus the role's extension.
inline int run_input(WorkDir& dir, const std::string& input) {
  dir.write("case.dat", input);
  dir.write_names();
  dir.write("case.mph", "");
  return run_itorva(3);
}

}  // namespace torva::testing
