// Input data files of the bundled examples, edited and run end to end in a temporary
// working directory.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "driver/itorva.h"
#include "support/workdir.h"

namespace torva::testing {

inline std::string read_example(const std::string& name) {
  std::ifstream in(std::filesystem::path(TORVA_SOURCE_DIR) / "examples" / name, std::ios::binary);
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

// Runs the input text as "case.dat"; the outputs are "case" plus the role's extension.
inline int run_input(WorkDir& dir, const std::string& input) {
  dir.write("case.dat", input);
  dir.write_names();
  dir.write("case.mph", "");
  return run_itorva(3);
}

}  // namespace torva::testing
