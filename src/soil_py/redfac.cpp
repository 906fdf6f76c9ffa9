// Group reduction factors for closely spaced piles.
//
// Every individual pile of the foundation is listed with an in-line coordinate (along the
// loading direction) and a cross coordinate. For each pile the factors of all its pairs
// are multiplied; a pair factor depends on the offsets in pile diameters: side by side,
// leading or trailing in line, or skewed (a blend of the two by the angle). A row's
// p-multiplier is the mean over its piles. In 2-D a row stands for NPILE identical piles
// laid out across the plane of the model at the row's spacing.
#include "soil_py/redfac.h"

#include <cmath>
#include <string>

#include "soil_py/pycurve.h"
#include "model/messages.h"
#include "model/status.h"

namespace torva {

namespace {

// Single-precision constants of the pair rules, widened.
constexpr double TOLO = double(1e-5f);  // side by side: in-line offset below this
constexpr double TOLU = double(1e-6f);  // in line: cross offset below this
constexpr double CSIDE = double(0.64f), ESIDE = double(0.34f);
constexpr double CLEAD = double(0.70f), ELEAD = double(0.26f);
constexpr double CTRAIL = double(0.48f), ETRAIL = double(0.38f);

double side_rule(double d) { return std::fmin(1.0, CSIDE * std::pow(d, ESIDE)); }
double lead_rule(double d) { return std::fmin(1.0, CLEAD * std::pow(d, ELEAD)); }
double trail_rule(double d) { return std::fmin(1.0, CTRAIL * std::pow(d, ETRAIL)); }

// Piles of row g: the integer part of NPILE (a real), 0 for rows below one pile.
int piles_of(const Model& m, int g) {
  const double n = m.NPILE(g);
  return n >= 1.0 ? static_cast<int>(n) : 0;
}

// Cross position of pile l (0-based) of a 2-D row of n piles at spacing sp: odd n at
// 0, +S, -S, +2S, -2S, ...; even n at +S/2, -S/2, +3S/2, -3S/2, ...
double layout_2d(int n, int l, double sp) {
  if (n % 2 == 1) {
    if (l == 0) return 0.0;
    const int k = (l + 1) / 2;
    return (l % 2 == 1 ? 1.0 : -1.0) * k * sp;
  }
  const int k = l / 2;
  return (l % 2 == 0 ? 1.0 : -1.0) * (2 * k + 1) * sp / 2.0;
}

double row_diameter(const Model& m, int g) {
  const int t = m.PTYPE(g);
  return (t >= 1 && t <= MAXPTYPE) ? m.SDIAM(t, 1) : 0.0;
}

// Fills the work lists; `along_y` takes Y as the in-line coordinate. Returns the count.
int list_piles(Model& m, bool along_y) {
  int n_all = 0;
  for (int g = 1; g <= m.NROW; ++g) {
    const int n = piles_of(m, g);
    for (int l = 0; l < n; ++l) {
      const double y = m.CORY(g);
      const double w = m.NDIM == 3 ? m.CORZ(g) : layout_2d(n, l, m.SPACING(g));
      ++n_all;
      m.RWIN(n_all) = along_y ? y : w;
      m.RWCROSS(n_all) = along_y ? w : y;
      m.RWROW(n_all) = g;
    }
  }
  return n_all;
}

void redfac_dir(Model& m, double s, bool along_y, int& status) {
  if (m.NROW < 1) return;
  const std::string why = group_layout_error(m);
  if (!why.empty()) {
    emit(m, TO_REPORT | TO_RUNLOG, "**** FATAL ERROR ****");
    emit(m, TO_REPORT | TO_RUNLOG, "  REDUCTION FACTORS FOR CLOSELY-SPACED PILES NOT COMPUTED:");
    emit(m, TO_REPORT | TO_RUNLOG, "  " + why);
    status = ST_INPUTCHECK;
    return;
  }
  const int n_all = list_piles(m, along_y);
  const double b1 = row_diameter(m, 1);
  for (int i = 1; i <= n_all; ++i) {
    double f = 1.0;
    for (int j = 1; j <= n_all; ++j) {
      if (j == i) continue;
      const double b =
          m.IAVGDIA == 1 ? 0.5 * (row_diameter(m, m.RWROW(i)) + row_diameter(m, m.RWROW(j))) : b1;
      const double o = (m.RWIN(i) - m.RWIN(j)) / b;
      const double u = (m.RWCROSS(i) - m.RWCROSS(j)) / b;
      f *= redfac_pair(o, u, s);
    }
    m.RWFAC(i) = f;
  }
  // Row means, in list order; a row without a pile keeps the neutral factor 1.0.
  int i = 0;
  for (int g = 1; g <= m.NROW; ++g) {
    const int n = piles_of(m, g);
    double sum = 0.0;
    for (int l = 0; l < n; ++l) sum += m.RWFAC(++i);
    const double pf = n > 0 ? sum / n : 1.0;
    if (along_y) {
      m.PMULT(g) = pf;
      m.YMULT(g) = 1.0;
    } else {
      m.PMULTZ(g) = pf;
      m.YMULTZ(g) = 1.0;
    }
    if (n > 0) m.HEADY(g) = m.CORY(g);
  }
}

}  // namespace

double redfac_pair(double o, double u, double s) {
  const double ao = std::fabs(o), au = std::fabs(u);
  if (ao < TOLO) {  // side by side
    if (au > 5.0) return 1.0;
    return side_rule(au);
  }
  if (u == 0.0 || au < TOLU) {  // in line
    if (ao > 8.0) return 1.0;
    return o * s > 0.0 ? lead_rule(ao) : trail_rule(ao);
  }
  // skewed: blend of the side-by-side and in-line rules at the centre distance
  const double d = std::sqrt(o * o + u * u);
  if (d > 8.0) return 1.0;
  const double theta = std::atan(au / ao);
  const double fa = side_rule(d);
  const double fb = o * s >= 0.0 ? lead_rule(d) : trail_rule(d);
  const double sa = std::sin(theta) * fa, cb = std::cos(theta) * fb;
  return std::fmin(1.0, std::sqrt(sa * sa + cb * cb));
}

std::string group_layout_error(const Model& m) {
  long long n_all = 0;
  for (int g = 1; g <= m.NROW; ++g) {
    const int n = piles_of(m, g);
    n_all += n;
    if (m.NDIM != 3 && n >= 2 && !(std::fabs(m.SPACING(g)) > 0.0))
      return "PILE GROUP " + std::to_string(g) + " HAS " + std::to_string(n) +
             " PILES AT ZERO SPACING";
    if (n >= 1 && !(row_diameter(m, g) > 0.0) && (m.IAVGDIA == 1 || g == 1))
      return "PILE GROUP " + std::to_string(g) + " HAS A PILE DIAMETER THAT IS NOT POSITIVE";
  }
  if (n_all > MAXPILES)
    return "THE MODEL HAS " + std::to_string(n_all) + " INDIVIDUAL PILES; AT MOST " +
           std::to_string(MAXPILES) + " ARE ALLOWED";
  // Two piles at the same position (rows with the same head coordinates) would give a pair
  // factor of 0 and remove all lateral resistance of both.
  const double b1 = row_diameter(m, 1);
  for (int g = 1; g <= m.NROW; ++g) {
    const int n = piles_of(m, g);
    for (int h = g + 1; h <= m.NROW; ++h) {
      const int nh = piles_of(m, h);
      if (n < 1 || nh < 1) continue;
      const double b = m.IAVGDIA == 1 ? 0.5 * (row_diameter(m, g) + row_diameter(m, h)) : b1;
      if (std::fabs(m.CORY(g) - m.CORY(h)) / b >= TOLO) continue;
      if (m.NDIM == 3) {
        if (std::fabs(m.CORZ(g) - m.CORZ(h)) / b >= TOLO) continue;
      } else {
        bool same = false;
        for (int l = 0; l < n && !same; ++l)
          for (int k = 0; k < nh && !same; ++k)
            same = std::fabs(layout_2d(n, l, m.SPACING(g)) - layout_2d(nh, k, m.SPACING(h))) / b <
                   TOLO;
        if (!same) continue;
      }
      return "PILE GROUPS " + std::to_string(g) + " AND " + std::to_string(h) +
             " HAVE PILES AT THE SAME POSITION";
    }
  }
  return {};
}

void REDFACY(Model& m, double s, int& status) {
  renew_py_constants(m);
  redfac_dir(m, s, true, status);
}
void REDFACZ(Model& m, double s, int& status) {
  renew_py_constants(m);
  redfac_dir(m, s, false, status);
}

}  // namespace torva
