#include "soil/lookups.h"

#include <cmath>
#include <string>
#include <string_view>

#include "io/fmt.h"
#include "model/messages.h"
#include "model/status.h"

namespace torva {

namespace {

constexpr double kDiamMin = double(1.0e-5f);    // a section diameter below this is unset
constexpr double kStepLenFactor = double(1.2f);  // last section reaches 1.2 x pile length
constexpr double kZeroValue = 1.0e-20;           // a profile value below this counts as 0
constexpr double kKZero = double(1.0e-4f);       // |k| at or below this asks for a default

// ---- Section lookups -------------------------------------------------------------------

// Section count of property t, at least 1 so that section 1 always answers.
int nsect(const Model& m, int t) { return m.NSECT(t) < 1 ? 1 : m.NSECT(t); }

// The section that holds depth z below the head: above section 1 the first, below the
// last section the last, otherwise the first section whose bottom is at or below z.
int bracket_section(const Model& m, int t, double z) {
  const int n = nsect(m, t);
  if (z < m.SFROM(t, 1)) return 1;
  if (z > m.STO(t, n)) return n;
  for (int s = 1; s <= n; ++s)
    if (m.STO(t, s) >= z) return s;
  return n;
}

// A property interpolated linearly between the top and bottom of its section.
template <class Tab>
double sec_interp(const Model& m, int g, int t, double x, const Tab& top, const Tab& bot) {
  const int n = nsect(m, t);
  const double z = x - m.HEADDEP(g);
  if (z < m.SFROM(t, 1)) return top(t, 1);
  if (z > m.STO(t, n)) return bot(t, n);
  const int s = bracket_section(m, t, z);
  const double len = m.STO(t, s) - m.SFROM(t, s);
  if (len == 0.0) return top(t, s);  // a zero-length section: its own top value
  return top(t, s) + (z - m.SFROM(t, s)) * (bot(t, s) - top(t, s)) / len;
}

// A value that steps from section to section; the last section reaches down to 1.2 x the
// pile length, and a depth below that lies in no section (0).
template <class T, class Tab>
T sec_step(const Model& m, int g, int t, double x, const Tab& v) {
  const int n = m.NSECT(t);
  if (n <= 0) return v(t, 1);
  const double z = x - m.HEADDEP(g);
  const double bound = kStepLenFactor * m.PILELEN(t);
  for (int s = 1; s <= n; ++s) {
    const double next_top = s < n ? m.SFROM(t, s + 1) : bound;
    if (z < next_top) return v(t, s);
  }
  return T(0);
}

// ---- Soil profile ----------------------------------------------------------------------

using Column = Arr1<double, MAXPROF>;

// The beyond-the-profile warning of the soil lookups: an empty line, the banner, the depth
// in a general field of width 9 followed by the first text, and the second text.
void depth_warning(Model& m, unsigned dest, double x, int decimals, std::string_view text1,
                   std::string_view text2) {
  emit(m, dest, "");
  emit(m, dest, std::string(29, ' ') + "**** WARNING ****");
  std::string line(5, ' ');
  line += "THE VALUE OF X =";
  put_G(line, x, 9, decimals);
  line += text1;
  emit(m, dest, line);
  emit(m, dest, std::string(5, ' ') + std::string(text2));
}

void cohesion_warning(Model& m, double x) {
  depth_warning(m, TO_REPORT | TO_RUNLOG, x, 1, " IS BEYOND THE EXTENT OF",
                "THE INPUT STRENGTH CURVE");
}

// Linear value of column v at x between profile points i-1 and i (extrapolating outside
// them); two points at one depth give the value of point i.
double linear(const Model& m, const Column& v, int i, double x) {
  const double d0 = m.SPDEP(i - 1), d1 = m.SPDEP(i);
  if (d1 == d0) return v(i);
  return v(i - 1) + (x - d0) * (v(i) - v(i - 1)) / (d1 - d0);
}

enum class Boundary { Mean, Lower };

// Point lookup of column v at x. False when x lies below the last profile point (or the
// profile has fewer than two points); the value is then 0.
bool point_lookup(const Model& m, const Column& v, double x, Boundary rule, double& out) {
  out = 0.0;
  const int n = m.NSPX;
  int i = 0;
  for (int k = 2; k <= n; ++k) {
    if (m.SPDEP(k) >= x) {
      i = k;
      break;
    }
  }
  if (i == 0) return false;
  if (x == m.SPDEP(n)) {
    out = v(i);
  } else if (x == m.SPDEP(i) && i < n && m.SPDEP(i + 1) == x) {
    // A layer boundary: the bottom of the upper layer and the top of the lower one.
    const double up = v(i), low = v(i + 1);
    if (rule == Boundary::Lower) {
      out = low < kZeroValue ? up : low;
    } else if (low < kZeroValue) {
      out = up;
    } else if (up < kZeroValue) {
      out = low;
    } else {
      out = (up + low) / 2.0;
    }
  } else if (x == m.SPDEP(i)) {
    out = v(i);
  } else {
    out = linear(m, v, i, x);
  }
  return true;
}

double point_mean(const Model& m, const Column& v, double x) {
  double out;
  point_lookup(m, v, x, Boundary::Mean, out);
  return out;
}

// Interval lookup of column v at x: the interval whose bottom lies below x, so a boundary
// gives the lower layer's top value. False beyond the profile.
bool interval_lookup(const Model& m, const Column& v, double x, double& out) {
  out = 0.0;
  const int n = m.NSPX;
  if (n < 2) return false;
  int i = 0;
  for (int k = 2; k <= n; ++k) {
    if (x < m.SPDEP(k)) {
      i = k;
      break;
    }
  }
  if (i == 0) {
    if (x > m.SPDEP(n)) return false;
    i = n;
  }
  if (m.SPDEP(i) - m.SPDEP(i - 1) < m.TOLCRV)
    out = (v(i - 1) + v(i)) / 2.0;
  else
    out = linear(m, v, i, x);
  return true;
}

// Trapezoid mean of column v over depths d from the ground surface g0 down to x, the
// whole intervals above x and the part of the interval that holds x. With `extend`, a
// depth below the last point extends the last interval linearly down to x.
double trapezoid_mean(const Model& m, const Column& v, const Column& d, int n, double g0,
                      double x, bool extend) {
  const double h = x - g0;
  double sum = 0.0;
  const int last = extend ? n - 1 : n;
  for (int i = 2; i <= last; ++i) {
    if (d(i) <= x) {
      sum += (v(i - 1) + v(i)) / 2.0 * (d(i) - d(i - 1)) / h;
      continue;
    }
    const double len = d(i) - d(i - 1);
    if (len >= m.TOLCRV) {
      const double vx = v(i - 1) + (x - d(i - 1)) * (v(i) - v(i - 1)) / len;
      sum += (x - d(i - 1)) / h * (v(i - 1) + vx) / 2.0;
    }
    return sum;
  }
  if (extend && n >= 2) {
    const double len = d(n) - d(n - 1);
    if (len >= m.TOLCRV) {
      const double vx = v(n - 1) + (x - d(n - 1)) * (v(n) - v(n - 1)) / len;
      sum += (x - d(n - 1)) / h * (v(n - 1) + vx) / 2.0;
    }
  }
  return sum;
}

// A coefficient from a table of points by the normalised depth r: linear between the
// first point beyond r and the one before it, extrapolating the end segments.
double table_at(const double* xs, const double* ys, int npt, double r) {
  int k = npt;
  for (int j = 2; j <= npt; ++j) {
    if (xs[j - 1] > r) {
      k = j;
      break;
    }
  }
  const double x0 = xs[k - 2], x1 = xs[k - 1];
  if (x1 == x0) return ys[k - 1];
  return ys[k - 2] + (r - x0) * (ys[k - 1] - ys[k - 2]) / (x1 - x0);
}

// The depth below the row's ground surface in diameters. A zero diameter (no section
// given) takes the limit of a vanishing width: the surface itself, or far below it.
double table_by_depth(const Model& m, int g, double x, double diam, const double* xs,
                      const double* ys, int npt) {
  const double below = x - m.GSDEPTH(g);
  double r;
  if (diam > 0.0)
    r = below / diam;
  else
    r = below > 0.0 ? xs[npt - 1] : (below < 0.0 ? xs[0] : 0.0);
  return table_at(xs, ys, npt, r);
}

// The coefficient lookups of stiff clay take the reference diameter in the print mode
// that asks for it, and the section diameter otherwise (also when no reference is set).
double coef_diameter(const Model& m, int g, int t, double x) {
  if (m.IPYOUT == -1 && m.DIAREF > 0.0) return m.DIAREF;
  return SECDIAM(m, g, t, x);
}

}  // namespace

// ---- Section lookups -------------------------------------------------------------------

double SECDIAM(const Model& m, int g, int t, double x) {
  if (t < 1) return m.CAPWEFF;  // the cap pseudo row has no pile property: the cap width
  const double d = sec_interp(m, g, t, x, m.SDIAM, m.SDIAMB);
  if (d < kDiamMin) return m.SDIAM(t, nsect(m, t));
  return d;
}
double SECIZ(const Model& m, int g, int t, double x) { return sec_interp(m, g, t, x, m.SIZ, m.SIZB); }
double SECIY(const Model& m, int g, int t, double x) { return sec_interp(m, g, t, x, m.SIY, m.SIYB); }
double SECAREA(const Model& m, int g, int t, double x) {
  return sec_interp(m, g, t, x, m.SAREA, m.SAREAB);
}
double SECGJ(const Model& m, int g, int t, double x) { return sec_interp(m, g, t, x, m.SGJ, m.SGJB); }
double SECMN(const Model& m, int g, int t, double x) { return sec_interp(m, g, t, x, m.SMN, m.SMNB); }
double SECVN(const Model& m, int g, int t, double x) { return sec_interp(m, g, t, x, m.SVN, m.SVNB); }
double SECEIZ(const Model& m, int g, int t, double x) {
  return sec_interp(m, g, t, x, m.SEIZ, m.SEIZB);
}
double SECEIY(const Model& m, int g, int t, double x) {
  return sec_interp(m, g, t, x, m.SEIY, m.SEIYB);
}

double SECDIMZ(const Model& m, int g, int t, double x) {
  return m.SDIMZ(t, bracket_section(m, t, x - m.HEADDEP(g)));
}
double SECDIMY(const Model& m, int g, int t, double x) {
  return m.SDIMY(t, bracket_section(m, t, x - m.HEADDEP(g)));
}
int SECSHAPE(const Model& m, int g, int t, double x) {
  return m.ISHAPE(t, bracket_section(m, t, x - m.HEADDEP(g)));
}

double SECEMOD(const Model& m, int g, int t, double x) { return sec_step<double>(m, g, t, x, m.SEMOD); }
int SECMPHIY(const Model& m, int g, int t, double x) { return sec_step<int>(m, g, t, x, m.ISEIZ); }
int SECMPHIZ(const Model& m, int g, int t, double x) { return sec_step<int>(m, g, t, x, m.ISEIY); }

// ---- Soil point lookups ----------------------------------------------------------------

double KDEP(const Model& m, double x) { return point_mean(m, m.SPK, x); }
double ERDEP(const Model& m, double x) { return point_mean(m, m.SPER, x); }
double E50DEP(const Model& m, double x) { return point_mean(m, m.SPE50, x); }
double RQDDEP(const Model& m, double x) { return point_mean(m, m.SPJ, x); }
double JDEP(const Model& m, double x) { return RQDDEP(m, x); }

double PHIDEP(Model& m, double x, int& status) {
  double v;
  if (!point_lookup(m, m.SPPHI, x, Boundary::Mean, v)) {
    depth_warning(m, TO_REPORT | TO_RUNLOG, x, 1, " IS BEYOND THE EXTENT OF",
                  "THE INPUT PHI CURVE");
    status = ST_DEPPHI;
  }
  return v;
}

double COHESION(Model& m, double x, int& status) {
  double v;
  if (!point_lookup(m, m.SPC, x, Boundary::Lower, v)) {
    cohesion_warning(m, x);
    status = ST_DEPCOHES;
  }
  return v;
}

double KDEPDEF(Model& m, double x, bool* warned) {
  if (m.NSPX >= 1 && x < m.SPDEP(1)) return 0.0;
  const double k = KDEP(m, x);
  if (std::abs(k) > kKZero) return k;
  // Default subgrade modulus by cohesion class (pounds per cubic inch for c in psi).
  double c;
  if (!point_lookup(m, m.SPC, x, Boundary::Lower, c)) {
    cohesion_warning(m, x);
    if (warned) *warned = true;
  }
  const bool si = m.IUNITS == 2;
  if (si) c /= double(6.895f);
  double kd;
  if (c <= double(3.47f))
    kd = 50.0;
  else if (c <= double(6.94f))
    kd = 100.0;
  else if (c <= double(13.9f))
    kd = 500.0;
  else if (c <= double(27.8f))
    kd = 1000.0;
  else
    kd = 2000.0;
  return si ? kd * 271.5 : kd;
}

// ---- Averages from the ground surface -------------------------------------------------

double GAMAVG(Model& m, double x, int& status) {
  const int n = m.NSPXG;
  // Without a profile (no soil layers) every depth is beyond it, above the ground too.
  const double g0 = n >= 2 ? m.LTOP(1) : -HUGE_VAL;
  if (x < g0) return 0.0;
  if (n < 2 || x > m.SPDEPG(n)) {
    depth_warning(m, TO_REPORT | TO_RUNLOG, x, 2, "IS BEYOND THE EXTENT OF",
                  "THE INPUT CURVE FOR UNIT WEIGHT");
    status = ST_DEPGAMMA;
    return 0.0;
  }
  if (x - g0 < m.TOLCRV) {
    for (int i = 1; i <= n; ++i)
      if (m.SPGAM(i) > 0.0) return m.SPGAM(i);
    return m.SPGAM(n);
  }
  return trapezoid_mean(m, m.SPGAM, m.SPDEPG, n, g0, x, false);
}

double COHAVG(Model& m, double x, int& status) {
  const int n = m.NSPX;
  // No profile to average: the cohesion lookup's own warning and status.
  if (n < 2) return COHESION(m, x, status);
  const double g0 = m.LTOP(1);
  if (x < g0) return 0.0;
  if (x - g0 < m.TOLCRV) return COHESION(m, x, status);
  const bool beyond = x > m.SPDEP(n);
  if (beyond)
    depth_warning(m, TO_REPORT, x, 2, "IS BEYOND THE EXTENT OF THE", "INPUT CURVE FOR STRENGTH");
  return trapezoid_mean(m, m.SPC, m.SPDEP, n, g0, x, beyond);
}

// ---- Interval lookups ------------------------------------------------------------------

namespace {
// An interval lookup of the axial curves that warns and sets `code` beyond the profile.
double interval_or_warn(Model& m, const Column& v, double x, int& status, int code,
                        std::string_view text2) {
  double out;
  if (!interval_lookup(m, v, x, out)) {
    depth_warning(m, TO_REPORT | TO_RUNLOG, x, 2, "IS BEYOND THE EXTENT OF", text2);
    status = code;
  }
  return out;
}
}  // namespace

double SIDEFRIC(Model& m, double x, int& status) {
  double v;
  if (!interval_lookup(m, m.SPSIDE, x, v)) {
    const double last = m.NSPX >= 1 ? m.SPDEP(m.NSPX) : 0.0;
    // Appended piece by piece: GCC 12 takes `" " + std::string` for an overlapping copy.
    std::string line(1, ' ');
    line.append(free_real(x)).append(1, ' ').append(std::to_string(m.NSPX));
    line.append(1, ' ').append(free_real(last));
    emit(m, TO_REPORT, line);
    depth_warning(m, TO_REPORT | TO_RUNLOG, x, 2, " IS BEYOND THE EXTENT OF",
                  "THE INPUT MAX. LOAD TRANSFER");
    status = ST_DEPSIDEF;
  }
  return v;
}

double TIPRES(Model& m, double x, int& status) {
  return interval_or_warn(m, m.SPTIP, x, status, ST_DEPSIDER, "THE INPUT MAX. LOAD TRANSFER");
}

double BPHIDEP(Model& m, double x, int& status) {
  return interval_or_warn(m, m.SPPHI, x, status, ST_DEPBPHI, "THE INPUT STRENGTH CURVE, BPHI");
}

// ---- Coefficient lookups ---------------------------------------------------------------

namespace {
// Coefficients AS and AC of stiff clay with free water by depth in diameters.
constexpr double kAsDepth[6] = {0.0, 1.0, 2.0, 3.0, 4.0, 5.0};
constexpr double kAsValue[6] = {double(0.223f), double(0.46f), double(0.55f),
                                double(0.59f),  double(0.60f), double(0.60f)};
constexpr double kAcDepth[4] = {0.0, 1.0, 2.0, 3.0};
constexpr double kAcValue[4] = {double(0.20f), double(0.29f), double(0.30f), double(0.30f)};
}  // namespace

double COEFAS(const Model& m, int g, int t, double x) {
  return table_by_depth(m, g, x, coef_diameter(m, g, t, x), kAsDepth, kAsValue, 6);
}

double COEFAC(const Model& m, int g, int t, double x) {
  return table_by_depth(m, g, x, coef_diameter(m, g, t, x), kAcDepth, kAcValue, 4);
}

double COEFTAB(const Model& m, int g, int t, double x, const double values[10],
               const double depths[10]) {
  return table_by_depth(m, g, x, SECDIAM(m, g, t, x), depths, values, 10);
}

double VLEN2(double a, double b) {
  const double a0 = std::abs(a) < 1.0e-24 ? 0.0 : a;
  const double b0 = std::abs(b) < 1.0e-24 ? 0.0 : b;
  return std::sqrt(a0 * a0 + b0 * b0);
}

}  // namespace torva
