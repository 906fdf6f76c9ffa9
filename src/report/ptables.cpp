#include "report/ptables.h"

#include <cerrno>
#include <charconv>
#include <cmath>
#include <limits>
#include <string>

#include "io/writers.h"
#include "model/messages.h"
#include "report/captables.h"

namespace torva {

// ---- per-pile scratch records --------------------------------------------------------

void write_top_record(TextFile& f, int g, const double* v, int n) {
  f.X(5).I(g, 6).X(6);
  for (int i = 0; i < n; ++i) {
    f.PG(v[i], 12, 5);
    // Lines of six values end with their separator, the seventh (the stress) without.
    if (i < 6) f.X(2);
  }
  f.nl();
}

void write_top_record_2d(TextFile& f, int g, const double* v, int n) {
  f.X(5).I(g, 6).X(6);
  for (int i = 0; i < n; ++i) {
    if (i > 0) f.X(2);
    f.E(v[i], 11, 4);
  }
  f.nl();
}

void write_extreme_record(TextFile& f, int g, const Extremes& v) {
  f.X(1).I(g, 8).X(2);
  for (double x : v) f.X(2).E(x, 12, 5);
  f.nl();
}

void write_depth_record(TextFile& f, std::string_view caption, const Extremes& depth) {
  f.X(5).A(caption, 5).X(1);
  for (double x : depth) f.X(3).F(x, 11, 4);
  f.nl();
}

double scratch_real(std::string_view field) {
  std::string t;
  for (char c : field) {
    if (c == ' ') continue;
    if (c == 'D' || c == 'd' || c == 'e') c = 'E';
    // A signed exponent may stand without its letter (three-digit exponents).
    if ((c == '+' || c == '-') && !t.empty() && t.back() != 'E') t.push_back('E');
    t.push_back(c);
  }
  if (t.empty()) return 0.0;
  const char* b = t.data();
  const char* e = t.data() + t.size();
  if (*b == '+') ++b;
  double v = 0.0;
  const auto r = std::from_chars(b, e, v, std::chars_format::general);
  if (r.ec != std::errc() || r.ptr != e || !std::isfinite(v))
    return std::numeric_limits<double>::quiet_NaN();
  return v;
}

double scratch_field(const std::string& line, int first, int i, int pitch, int width) {
  const std::size_t at = std::size_t(first - 1 + pitch * i);
  if (at >= line.size()) return 0.0;  // a short record reads as blanks
  return scratch_real(std::string_view(line).substr(at, std::size_t(width)));
}

int scratch_int(const std::string& line, std::size_t at, std::size_t w) {
  if (at >= line.size()) return 0;
  std::string t;
  for (char c : std::string_view(line).substr(at, w))
    if (c != ' ') t.push_back(c);
  int v = 0;
  if (!t.empty()) std::from_chars(t.data(), t.data() + t.size(), v);
  return v;
}

namespace {

void dashes(TextFile& f) { f.X(7).A(std::string(39, '-')).nl(); }

}  // namespace

// ---- summary tables -------------------------------------------------------------------

bool read_pile_records(Model& m, int nrow,
                       const std::function<void(int, const std::string*)>& row, int& status,
                       std::vector<std::string>* held) {
  if (held != nullptr && !held->empty()) {
    for (int g = 1; g <= nrow; ++g) row(g, held->data() + std::size_t(8) * std::size_t(g - 1));
    return true;
  }
  const std::string name = m.fname(R_PILESCR);
  if (!m.PILESCR.open_read(name)) {
    file_failed(m, status, ST_FILEOPEN, name, errno);
    return false;
  }
  std::string rec[8];
  for (int g = 1; g <= nrow; ++g) {
    for (std::string& l : rec)
      if (!m.PILESCR.read_line(l)) {
        // The records of a row that did not reach the file: written short.
        m.PILESCR.close();
        file_failed(m, status, ST_FILEWRITE, name, 0);
        return false;
      }
    if (held != nullptr) held->insert(held->end(), rec, rec + 8);
    row(g, rec);
  }
  m.PILESCR.close();
  return true;
}

void PTABINIT(int row, int n, const double* values, int* minrow, int* maxrow, double* mn,
              double* mx) {
  if (n < 1) return;
  if (row == 1) {
    for (int i = 0; i < n; ++i) {
      mn[i] = mx[i] = values[i];
      minrow[i] = maxrow[i] = 1;
    }
  }
  for (int i = 0; i < n; ++i) {
    if (values[i] > mx[i]) {
      mx[i] = values[i];
      maxrow[i] = row;
    }
    if (values[i] < mn[i]) {
      mn[i] = values[i];
      minrow[i] = row;
    }
  }
}

void PTABLES(Model& m, int nrow, const PrintFlags& F, int& status) {
  std::vector<std::string> held;  // the rows' records, read once for the seven tables
  m.SUMMARY.nl().nl().X(7).A("THE GLOBAL STRUCTURAL COORDINATE SYSTEM").nl();
  dashes(m.SUMMARY);
  m.SUMMARY.nl();
  for (int comp : {1, 2}) {
    PTABLE(m, 1, comp, nrow, F, status, &held);
    if (status != 0) return;
  }
  m.SUMMARY.nl().nl().X(7).A("THE PILE COORDINATE SYSTEM (LOCAL AXES)").nl();
  dashes(m.SUMMARY);
  m.SUMMARY.nl();
  for (int comp : {1, 2, 3}) {
    PTABLE(m, 2, comp, nrow, F, status, &held);
    if (status != 0) return;
  }
  for (TextFile* f : {&m.SUMMARY, &m.SUMSCR})
    f->nl().X(7).A(kEffects).nl();
  for (int comp : {1, 2}) {
    PTABLE(m, 3, comp, nrow, F, status, &held);
    if (status != 0) return;
  }
}

namespace {

// Title and column headings of the head tables (kinds 1 and 2).
void head_table_heading(Model& m, int kind, int comp) {
  const std::string len2(m.ULEN2.view()), rad(m.URAD.view()), for3(m.UFOR3.view());
  const std::string mom = for3 + std::string(m.UDASH.view()) + len2;
  if (comp == 3) {
    m.SUMMARY.nl().X(5).A(" PILE GROUP ").X(2).A("STRESS,").A(for3).A(m.USLASH.view())
        .A(len2).A(m.UPOW.view()).A(m.USQ.view()).nl();
    m.SUMMARY.X(6).A("**********").X(2).A("****************").nl();
    return;
  }
  constexpr const char* kScrTitle[2][2] = {
      {"* PILE TOP DISPLACEMENTS, GLOBAL *", "* PILE TOP REACTIONS, GLOBAL *"},
      {"* PILE TOP DISPLACEMENTS, LOCAL *", "* PILE TOP REACTIONS, LOCAL *"}};
  if (comp == 1) {
    m.SUMMARY.X(7).A("* PILE TOP DISPLACEMENTS *").nl();
  } else {
    m.SUMMARY.nl().X(7).A("* PILE TOP REACTIONS *").nl();
  }
  m.SUMSCR.nl().X(7).A(kScrTitle[kind - 1][comp - 1]).nl();

  std::string cols;
  if (comp == 1) {
    const char* ax = kind == 1 ? "XYZ" : "xyz";
    for (int i = 0; i < 3; ++i)
      cols += std::string(i == 0 ? " " : "   ") + "DISP. " + ax[i] + "," + len2;
    for (int i = 0; i < 3; ++i) cols += std::string("   ROT. ") + ax[i] + "," + rad;
  } else if (kind == 1) {
    cols = " FOR. X," + for3 + "   FOR. Y," + for3 + "   FOR. Z," + for3 + " MOM X," + mom +
           " MOM Y," + mom + " MOM Z," + mom;
  } else {
    cols = "  AXIAL," + for3 + "    LAT. y," + for3 + "   LAT. z," + for3 + " MOM x," + mom +
           " MOM y," + mom + " MOM z," + mom;
  }
  const std::string rowcap = kind == 2 && comp == 2 ? " PILE GROUP " : " PILE GROUP  ";
  m.SUMMARY.nl().X(5).A(rowcap).A(cols).nl();
  m.SUMMARY.X(6).A("**********");
  for (int i = 0; i < 6; ++i) m.SUMMARY.X(2).A("***********");
  m.SUMMARY.nl();
  m.SUMSCR.X(5).X(int(rowcap.size())).A(cols).nl();
  m.SUMSCR.X(6).X(10);
  for (int i = 0; i < 6; ++i) m.SUMSCR.X(2).A("***********");
  m.SUMSCR.nl();
}

}  // namespace

void PTABLE(Model& m, int kind, int comp, int nrow, const PrintFlags& F, int& status,
            std::vector<std::string>* held) {
  // 1. Title and column headings.
  if (kind == 3) {
    m.SUMMARY.nl().X(7)
        .A(comp == 1 ? "* MINIMUM VALUES AND LOCATIONS *" : "* MAXIMUM VALUES AND LOCATIONS *")
        .nl();
    WRHEAD(m, m.SUMMARY, HD_SUMMARY, F);
    // The maxima follow the minima on the summary scratch file under one heading.
    if (comp == 1) WRHEAD(m, m.SUMSCR, HD_SUMSCR, F);
  } else {
    head_table_heading(m, kind, comp);
  }

  // 2. Running extremes.
  const int n = kind == 3 ? NNODEQ : (comp == 3 ? 7 : 6);
  double mn[NNODEQ] = {}, mx[NNODEQ] = {}, vals[NNODEQ] = {};
  int minrow[NNODEQ], maxrow[NNODEQ];
  for (int i = 0; i < NNODEQ; ++i) minrow[i] = maxrow[i] = 1;

  // 3. The rows, read back from the scratch file.
  // The record of this table among the row's eight (0-based), and its depth record.
  const int own = kind == 1 ? comp - 1 : kind == 2 ? (comp == 1 ? 2 : 3) : (comp == 1 ? 4 : 6);
  const bool read = read_pile_records(m, nrow, [&](int g, const std::string* rec) {
    const std::string& r = rec[own];
    if (kind != 3) {
      const int row = scratch_int(r, 5, 6);
      for (int i = 0; i < n; ++i) vals[i] = scratch_field(r, 16, i);
      m.SUMMARY.X(5).I(row, 6).X(5);
      if (comp == 3) {
        WRTREAL(m.SUMMARY, 13, 4, vals[6]);
      } else {
        for (int i = 0; i < 6; ++i) WRTREAL(m.SUMMARY, 13, 4, vals[i]);
      }
      ENDLINE(m.SUMMARY);
    } else {
      const int row = scratch_int(r, 0, 9);
      for (int i = 0; i < n; ++i) vals[i] = scratch_field(r, 12, i);
      WRTBLANK(m.SUMMARY, 1);
      WRTINT(m.SUMMARY, 8, row);
      WRTBLANK(m.SUMMARY, 1);
      for (int q = 1; q <= NNODEQ; ++q)
        if (F(q) > 0) WRTREAL(m.SUMMARY, 12, 4, vals[q - 1]);
      ENDLINE(m.SUMMARY);
      const std::string& d = rec[own + 1];
      const std::string caption = d.size() >= 10 ? d.substr(5, 5) : std::string(5, ' ');
      WRTBLANK(m.SUMMARY, 5);
      m.SUMMARY.A(caption);
      for (int q = 1; q <= NNODEQ; ++q)
        if (F(q) > 0) WRTREAL(m.SUMMARY, 12, 4, scratch_field(d, 12, q - 1));
      ENDLINE(m.SUMMARY);
    }
    PTABINIT(g, n, vals, minrow, maxrow, mn, mx);
  }, status, held);
  if (!read) return;
  m.SUMMARY.nl();

  // 5., 6. Extreme lines.
  if (kind != 3) {
    const int c0 = comp == 3 ? 6 : 0, c1 = comp == 3 ? 7 : 6;
    auto extremes = [&](TextFile& f) {
      for (int which = 0; which < 2; ++which) {
        const double* v = which == 0 ? mn : mx;
        const int* rows = which == 0 ? minrow : maxrow;
        WRTBLANK(f, 5);
        f.A(which == 0 ? "  MINIMUM  " : "  MAXIMUM  ");
        for (int i = c0; i < c1; ++i) WRTREAL(f, 13, 4, v[i]);
        ENDLINE(f);
        WRTBLANK(f, 5);
        f.A("  Pile N. ");
        WRTBLANK(f, 4);
        for (int i = c0; i < c1; ++i) {
          WRTINT(f, 6, rows[i]);
          WRTBLANK(f, 7);
        }
        ENDLINE(f);
      }
    };
    extremes(m.SUMMARY);
    if (comp != 3) extremes(m.SUMSCR);
  } else {
    const double* v = comp == 1 ? mn : mx;
    const int* rows = comp == 1 ? minrow : maxrow;
    for (TextFile* f : {&m.SUMMARY, &m.SUMSCR}) {
      WRTBLANK(*f, 6);
      f->A(comp == 1 ? "Min." : "Max.");
      for (int q = 1; q <= NNODEQ; ++q)
        if (F(q) > 0) WRTREAL(*f, 12, 4, v[q - 1]);
      ENDLINE(*f);
      WRTBLANK(*f, 3);
      f->A("Pile N.  ");
      for (int q = 1; q <= NNODEQ; ++q) {
        if (F(q) <= 0) continue;
        WRTINT(*f, 6, rows[q - 1]);
        WRTBLANK(*f, 6);
      }
      ENDLINE(*f);
    }
  }
}

}  // namespace torva
