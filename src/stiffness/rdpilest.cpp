#include "stiffness/rdpilest.h"

#include <algorithm>
#include <string_view>

#include "input/freeread.h"
#include "io/textfile.h"

namespace torva {

namespace {

// A real from columns a..b (1-based) of a fixed-column record; an empty field reads as 0.
bool field(const std::string& line, int a, int b, double& v) {
  const std::size_t from = std::size_t(a - 1);
  if (from >= line.size()) {
    v = 0.0;
    return true;
  }
  std::string_view s(line);
  s = s.substr(from, std::size_t(b - a + 1));
  while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
  while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
  if (s.empty()) {
    v = 0.0;
    return true;
  }
  return parse_real(s, v);
}

}  // namespace

bool RDPILEST(Model& m, std::string& why) {
  TextFile f;
  if (!f.open_read(m.fname(R_STATEFILE))) {
    why = "THE PILE-STATE FILE CANNOT BE OPENED";
    return false;
  }
  std::string line;
  auto next = [&](const char* what) {
    if (f.read_line(line)) return true;
    why = std::string("THE PILE-STATE FILE ENDS BEFORE ") + what;
    return false;
  };
  auto bad = [&](const char* what) {
    why = std::string("THE PILE-STATE FILE HAS AN UNREADABLE ") + what + " (LINE " +
          std::to_string(f.line_no()) + ")";
    return false;
  };
  const int ndof = m.NDIM == 3 ? 6 : 3;
  if (!next("THE MATRIX HEADING")) return false;  // "LOAD CASE : "
  if (!next("THE MATRIX HEADING")) return false;
  if (line.find("* EQV. STIFFNESS MATRIX AT ORIGIN *") == std::string::npos)
    return bad("MATRIX HEADING");
  for (int r = 1; r <= ndof; ++r)
    if (!next("THE MATRIX LINES")) return false;
  for (int g = 1; g <= m.NROW; ++g) {
    const int n = m.NSEG(m.PTYPE(g));
    if (!next("THE PILE RECORDS") || !next("THE PILE RECORDS")) return false;
    if (!next("THE PILE-TOP STIFFNESSES")) return false;
    double v1, v2, v3 = 0.0;
    if (!field(line, 1, 17, v1) || !field(line, 18, 34, v2)) return bad("PILE-TOP LINE");
    if (m.NDIM == 3 && !field(line, 35, 51, v3)) return bad("PILE-TOP LINE");
    m.PAXTOP(g) = v1;
    m.KAXTOP(g) = v2;
    if (m.NDIM == 3) m.KTORTOP(g) = v3;
    if (!next("THE PILE RECORDS")) return false;
    if (!next("THE NODE SPACING")) return false;
    double s;
    if (!field(line, 1, int(line.size()), s)) return bad("NODE SPACING");
    for (int j = 1; j <= n + 1; ++j) {
      if (!next("THE NODE LINES")) return false;
      double k1, k2 = 0.0;
      if (!field(line, 23, 39, k1)) return bad("NODE LINE");
      if (m.NDIM == 3 && !field(line, 40, 56, k2)) return bad("NODE LINE");
      m.KSOIL(g, j) = m.NDIM == 3 ? std::max(k1, k2) : k1;
    }
    m.KSOIL(g, 1) *= 0.5 * s;
    for (int j = 2; j <= n; ++j) m.KSOIL(g, j) *= s;
    m.KSOIL(g, n + 1) *= 0.5 * s;
  }
  return true;
}

}  // namespace torva
