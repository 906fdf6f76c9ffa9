#include "host/progress_text.h"

#include <sstream>

namespace torva_host {

namespace {

std::string rtrim(std::string s) {
  while (!s.empty() && (s.back() == ' ' || s.back() == '\r')) s.pop_back();
  return s;
}

}  // namespace

std::vector<std::string> progress_lines(std::string_view text, bool ended) {
  std::vector<std::string> lines;
  std::istringstream in{std::string(text)};
  for (std::string line; std::getline(in, line);) {
    line = rtrim(line);
    const std::size_t k = line.find_first_not_of(" -");
    if (k == std::string::npos) return lines;
    lines.push_back(line.substr(k));
  }
  // No empty line: the message is cut (being written, or by a limit on the file's size).
  if (ended) lines.clear();
  return lines;
}

}  // namespace torva_host
