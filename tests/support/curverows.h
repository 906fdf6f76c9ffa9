// The numbers of each line of a text curve-data file, line by line.
#pragma once

#include <sstream>
#include <string>
#include <vector>

namespace torva::testing {

using CurveRow = std::vector<double>;

inline std::vector<CurveRow> curve_rows(const std::string& text) {
  std::vector<CurveRow> out;
  std::istringstream in(text);
  std::string l;
  while (std::getline(in, l)) {
    std::istringstream f(l);
    CurveRow r;
    double v;
    while (f >> v) r.push_back(v);
    out.push_back(r);
  }
  return out;
}

}  // namespace torva::testing
