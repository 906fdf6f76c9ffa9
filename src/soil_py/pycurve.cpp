// The p-y dispatcher over the soil layers of a pile row, the modification factors along
// depth, the equivalent depth of a lower layer and the report pieces the criteria share.
#include "soil_py/pycurve.h"

#include <atomic>
#include <cmath>

#include "io/fmt.h"
#include "soil/nosoil.h"
#include "soil_py/pyframe.h"

namespace torva {

using pyf::f32;

void renew_py_constants(Model& m) {
  static std::atomic<unsigned long long> generation{0};
  m.PYGEN = ++generation;
}

namespace {

// The row's layout inputs and the layers' inputs agree bit by bit with the recorded call.
// Factors along depth are looked up per node: a row with them never replays across calls.
bool row_unchanged(const Model& m, const PyKept& k, int g, int gf, int t) {
  const int nl = m.NLAYER, tip = pyf::last_node(m, t);
  if (nl != k.nlayer || tip != k.tip || m.IPYMOD == 1) return false;
  if (!same_bits(&m.DEPN(g, 1), k.depn, tip) || !same_bits(&m.DEPAX(g, 1), k.depax, tip)) return false;
  pyf::PyNode nd;
  nd.g = g;
  nd.gf = gf;
  nd.t = t;
  nd.modset = m.IPYMOD == 1 && m.PMODTAB(g) >= 1;
  for (int L = 1; L <= nl; ++L) {
    if (m.LTYPE(L) != k.ltype[L - 1] || m.NODE1(g, L) != k.node1[L - 1] ||
        m.NODE2(g, L) != k.node2[L - 1])
      return false;
    const double eq = m.EQDEPTH(g, L);
    if (!same_bits(&eq, &k.eqdepth[L - 1], 1)) return false;
    if (!k.framed[L - 1]) continue;
    nd.L = L;
    double lk[PYKEEP_LKEY];
    pyf::kept_layer_key(m, nd, lk);
    if (!pyf::same_key(lk, k.lkey[L - 1])) return false;
  }
  return true;
}

// Records the row's inputs with the steps of a replayable call.
void record_row(const Model& m, PyKept& k, int g, int tip) {
  k.nlayer = m.NLAYER;
  k.tip = tip;
  for (int L = 1; L <= m.NLAYER; ++L) {
    k.ltype[L - 1] = m.LTYPE(L);
    k.node1[L - 1] = m.NODE1(g, L);
    k.node2[L - 1] = m.NODE2(g, L);
    k.eqdepth[L - 1] = m.EQDEPTH(g, L);
  }
  for (int n = 1; n <= tip; ++n) {
    k.depn[n - 1] = m.DEPN(g, n);
    k.depax[n - 1] = m.DEPAX(g, n);
  }
  k.recorded = true;
}

}  // namespace

void PYCURVE(Model& m, int t, int& status, int g, int gf, const NodeArr& y, NodeArr& Es,
             const NodeArr& smy, const NodeArr& smz, NodeArr& psm, NodeArr& p, PyKept* kept) {
  pyf::KeptScope keep(kept);
  SETGSDEPTH(m, g);
  // An analysis takes the row's springs from the soil: without layers the row would stand
  // on none and its results would look complete.
  if (m.NLAYER < 1 && m.IPYPRT == 0) {
    NOSOILMSG(m, g, NEED_PY);
    status = ST_NOSOIL;
    return;
  }
  const int tip = pyf::last_node(m, t);
  // Kept constants in an analysis: a call on a row whose inputs are those of the last
  // recorded call replays it; any other call records anew.
  const bool keeping = kept && m.IPYPRT == 0 && !pyf::is_plot(m) && m.PYGEN != 0;
  if (keeping) {
    const bool same = kept->recorded && kept->g == g && kept->gf == gf && kept->t == t &&
                      (kept->trusted || row_unchanged(m, *kept, g, gf, t));
    kept->replaying = same;
    kept->trusted = same && kept->solution;
    if (!same) {
      kept->recorded = false;
      kept->g = g;
      kept->gf = gf;
      kept->t = t;
      kept->nsteps = 0;
      kept->replayable = true;
      for (int L = 1; L <= m.NLAYER; ++L) kept->framed[L - 1] = false;
    }
  }
  for (int L = 1; L <= m.NLAYER; ++L) {
    const int n1 = m.NODE1(g, L), n2 = m.NODE2(g, L);
    if (n1 == 0) continue;
    if (m.IPYOUT == 0 && n1 == tip && n2 == tip) continue;
    switch (m.LTYPE(L)) {
      case 2: PYSTIFFCLAYW(m, t, L, status, g, gf, y, Es, smy, smz, psm, p); break;
      case 3: PYSTIFFCLAY(m, t, L, status, g, gf, y, Es, smy, smz, psm, p); break;
      case 4: PYSAND(m, t, L, status, g, gf, y, Es, smy, smz, psm, p); break;
      case 5: PYINPUT(m, t, L, status, g, gf, y, Es, smy, smz, psm, p); break;
      case 6: PYVUGGYLS(m, t, L, status, g, gf, y, Es, smy, smz, psm, p); break;
      case 7: PYSILT(m, t, L, status, g, gf, y, Es, smy, smz, psm, p); break;
      case 8: PYAPISAND(m, t, L, status, g, gf, y, Es, smy, smz, psm, p); break;
      case 9: PYWEAKROCK(m, t, L, status, g, gf, y, Es, smy, smz, psm, p); break;
      case 10: PYSTIFFCLAYK(m, t, L, status, g, gf, y, Es, smy, smz, psm, p); break;
      case 11: PYLIQSAND(m, t, L, status, g, gf, y, Es, smy, smz, psm, p); break;
      case 12: PYELASTIC(m, t, L, status, g, gf, y, Es, smy, smz, psm, p); break;
      case 13: PYSOFTCLAYJ(m, t, L, status, g, gf, y, Es, smy, smz, psm, p); break;
      case 14: PYSOFTCLAYK(m, t, L, status, g, gf, y, Es, smy, smz, psm, p); break;
      default: PYSOFTCLAY(m, t, L, status, g, gf, y, Es, smy, smz, psm, p); break;
    }
  }
  if (keeping) {
    if (status != 0) {
      kept->recorded = kept->trusted = false;
    } else if (!kept->replaying && kept->replayable) {
      record_row(m, *kept, g, tip);
      kept->trusted = kept->solution;
    }
    kept->replaying = false;
  }
  if (status != 0) return;
  SETGSDEPTH(m, g);
  const double gs = m.GSDEPTH(g);
  // Branch-free, so that the loop vectorizes: the row's depths lie side by side.
  static_assert(decltype(m.DEPN)::step2 == 1);
  const double* dep = &m.DEPN(g, 1);
  double* es = &Es(1);
  for (int i = 0; i < tip; ++i) es[i] = dep[i] < gs ? 0.0 : es[i];
}

void PYMODFAC(const Model& m, int g, int& set, double depth, double& pf, double& yf) {
  set = m.PMODTAB(g);
  pf = yf = 1.0;
  if (set < 1 || set > 100) return;
  const int np = m.NPTMOD(set);
  // Node depths are sums or products of rounded lengths: a depth within the position
  // tolerance of the first or the last point takes that point's factors.
  const double tol = m.TOLDEP;
  if (np < 1 || depth < m.PMDEP(set, 1) - tol || depth > m.PMDEP(set, np) + tol) return;
  const bool first = std::abs(depth - m.PMDEP(set, 1)) <= tol;
  if (first || std::abs(depth - m.PMDEP(set, np)) <= tol) {
    const int k = first ? 1 : np;
    pf = m.PMPF(set, k);
    yf = m.PMYF(set, k);
    return;
  }
  int k = np;
  for (int j = 2; j <= np; ++j)
    if (depth <= m.PMDEP(set, j)) {
      k = j;
      break;
    }
  const double f = (depth - m.PMDEP(set, k - 1)) / (m.PMDEP(set, k) - m.PMDEP(set, k - 1));
  pf = m.PMPF(set, k - 1) + f * (m.PMPF(set, k) - m.PMPF(set, k - 1));
  yf = m.PMYF(set, k - 1) + f * (m.PMYF(set, k) - m.PMYF(set, k - 1));
}

namespace {

// Depth x at which a x^2 + b x reaches S (a quadratic integral of a linear resistance).
double quad_root(double a, double b, double S) {
  if (a > 0.0) return (std::sqrt(b * b + 4.0 * a * S) - b) / (2.0 * a);
  return b > 0.0 ? S / b : NAN;
}

// Clay families: integral a x^2 + b x up to the transition depth xr, then P9 per depth.
double clay_family(double xr, double a, double b, double P9, double fac, double S) {
  const double P1 = fac * (a * xr + b) * xr;
  if (P1 < S) return P9 * fac > 0.0 ? xr + (S - P1) / (fac * P9) : NAN;
  return quad_root(a, b, S / fac);
}

}  // namespace

void PYEQDEPTH(Model& m, int g, int L, int t, double D, double c, double ca, double gam,
               double phi, double alpha, double beta, double K0, double Ka, double Kp, double r,
               double J, const double* xt) {
  double S = 0.0;
  for (int j = 1; j <= L - 1; ++j) S += m.PUSUM(g, j);
  const bool stat = m.ISTATIC == 1;
  double eq = NAN;
  switch (m.LTYPE(L)) {
    case 13:
    case 14: {
      const double xr = 6.0 * c * D / (gam * D + J * c);
      eq = clay_family(xr, 0.5 * (gam * D + J * c), 3.0 * c * D, 9.0 * c * D,
                       stat ? 1.0 : f32(0.72f), S);
      break;
    }
    case 3:
    case 10: {
      const double xr = (9.0 * c - 3.0 * ca) * D / (0.5 * c + gam * D);
      eq = clay_family(xr, 0.25 * c + 0.5 * gam * D, 3.0 * c * D, 9.0 * c * D, 1.0, S);
      break;
    }
    case 2: {
      const double xr = (11.0 * c - 2.0 * ca) * D / (gam * D + f32(2.83f) * ca);
      const double dx = xr / 40.0;
      double Sk = 0.0, Sprev = 0.0, R = 0.0;
      for (int k = 1; k <= 40 && std::isfinite(dx) && dx > 0.0; ++k) {
        const double xk = k * dx;
        const double As = COEFAS(m, g, t, m.GSDEPTH(g) + xk);
        const double Ac = COEFAC(m, g, t, m.GSDEPTH(g) + xk);
        R = stat ? f32(1.225f) * std::sqrt(As) - f32(0.411f) - f32(0.75f) * As
                 : f32(0.936f) * Ac - f32(0.418f) * As;
        Sprev = Sk;
        Sk += dx * R * ((gam * D + f32(2.83f) * ca) * xk + 2.0 * ca * D);
        if (Sk > S) {
          eq = xk - dx * (Sk - S) / (Sk - Sprev);
          break;
        }
        if (k == 40) eq = 11.0 * c * R * D > 0.0 ? xr + (S - Sk) / (11.0 * c * R * D) : NAN;
      }
      break;
    }
    case 9: {
      const double P3 = f32(9.3f) * c * D * D;
      eq = P3 < S ? (c * D > 0.0 ? 3.0 * D + (S - P3) / (f32(5.2f) * c * D) : NAN)
                  : quad_root(f32(0.7f) * c, c * D, S);
      break;
    }
    case 4:
    case 7:
    case 8: {
      const double tb = std::tan(beta), ta = std::tan(alpha), tp = std::tan(phi);
      const double C1 = tb * (Kp * ta + K0 * (tp * std::sin(beta) * (1.0 + 1.0 / std::cos(alpha)) - ta));
      const double C2 = Kp - Ka;
      const double C3 = Kp * Kp * (Kp + K0 * tp) - Ka;
      const double xc = (C3 - C2) * D / C1;
      const double dx = xc / 50.0;
      const int code = m.LTYPE(L);
      double Sk = 0.0, Sprev = 0.0;
      for (int k = 1; k <= 50 && std::isfinite(dx) && dx > 0.0; ++k) {
        const double xk = k * dx;
        double fk;
        if (code == 8) {
          const double A = stat ? std::max(f32(0.9f), 3.0 - f32(0.8f) * xk / D) : f32(0.9f);
          fk = A * (C1 * xk + C2 * D) * gam * xk;
        } else {
          const double A = COEFTAB(m, g, t, m.GSDEPTH(g) + xk, stat ? pyf::SANDAS : pyf::SANDAC, xt);
          if (code == 4) {
            const double tbp = std::tan(beta - phi);
            fk = A * gam * xk *
                 (K0 * xk * tp * std::sin(beta) / (tbp * std::cos(alpha)) +
                  (tb / tbp) * (D + xk * tb * ta) + K0 * xk * tb * (tp * std::sin(beta) - ta) -
                  Ka * D);
          } else {
            fk = A * (C1 * xk + C2 * D) * gam * xk + c * (3.0 * D + 0.5 * xk) + gam * D * xk;
          }
        }
        Sprev = Sk;
        Sk += dx * fk;
        if (Sk > S) {
          eq = xk - dx * (Sk - S) / (Sk - Sprev);
          break;
        }
        if (k == 50) {
          double P = f32(0.88f) * r * C3 * gam * D;
          if (code == 7) P += 9.0 * c * D;
          eq = P > 0.0 ? xc + (S - Sk) / P : NAN;
        }
      }
      break;
    }
    default: {
      const double xr = 6.0 * c * D / (gam * D + 0.5 * c);
      eq = clay_family(xr, 0.25 * c + 0.5 * gam * D, 3.0 * c * D, 9.0 * c * D,
                       stat ? 1.0 : f32(0.72f), S);
      break;
    }
  }
  // A layer whose resistance does not grow with depth (zero strength or friction) has no
  // depth that matches the layers above: it takes the plain depth below the ground.
  if (!std::isfinite(eq) || eq < 0.0) eq = m.LTOP(L) - m.FREELEN(g) - m.HEADDEP(g);
  m.EQDEPTH(g, L) = eq;
}

const char* pyname(int code) {
  switch (code) {
    case 2: return "STIFF CLAY WITH FREE WATER CRITERIA";
    case 3: return "STIFF CLAY WITHOUT FREE WATER CRITERIA";
    case 4: return "SAND CRITERIA";
    case 5: return "BETWWEN USER-DEFINED P-Y CURVES";
    case 6: return "VUGGY LIMESTONE CRITERIA";
    case 7: return "SILT CRITERIA";
    case 8: return "API SAND CRITERIA";
    case 9: return "WEAK ROCK CRITERIA";
    case 10: return "STIFF CLAY W/O FREE WATER, WITH INITIAL K VALUE";
    case 11: return "LIQUIFIED SAND CRITERIA";
    case 12: return "ELASTIC SUBGRADE CRITERIA";
    case 13: return "SOFT CLAY WITH USER DEFINED J CRITERIA";
    case 14: return "MOD. SOFT CLAY WITH INITIAL K VALUE CRITERIA";
    default: return "SOFT CLAY CRITERIA";
  }
}

namespace pyf {

void eq_depth_line(Model& m, double xe) {
  m.ECHO.X(13).A("EQ. DEPTH =").F(TOFT(m, xe), 8, 2).X(1).A(m.UDEP2.view()).nl();
}

void point_heading(Model& m) {
  m.ECHO.nl();
  m.ECHO.X(37).A("Y,").A(m.ULEN2.view()).X(13).A("P,").A(m.UFOR3.view()).A("/")
      .A(m.ULEN2.view()).nl();
}

void point_heading_yp(Model& m, int lead) {
  m.ECHO.X(lead).A("Y").X(19).A("P").nl();
  m.ECHO.X(lead).A(m.ULEN2.view()).X(53 - lead).A(m.UFOR3.view()).A(m.USLASH.view())
      .A(m.ULEN2.view()).nl();
}

void depth_record(Model& m, double d) { m.PLOTOUT.free(free_real(d)); }

void echo_point(Model& m, double y, double p) {
  WRTBLANK(m.ECHO, 21);
  WRTREAL(m.ECHO, 20, 5, y);
  WRTREAL(m.ECHO, 20, 5, p);
  ENDLINE(m.ECHO);
}

void plot_point(Model& m, double y, double p, int lead) {
  m.PLOTOUT.X(lead).PG(y, 15, 8).X(lead).PG(p, 15, 8).nl();
}

namespace {
// force / length ** power
std::string per_pow(const Model& m, std::string_view len, std::string_view pw) {
  std::string s(m.UFOR3.view());
  s += m.USLASH.view();
  s += len;
  s += m.UPOW.view();
  s += pw;
  return s;
}
}  // namespace

void plot_point_trail(Model& m, double y, double p) {
  m.PLOTOUT.X(1).PG(y, 15, 8).X(2).PG(p, 15, 8).X(2).nl();
}

std::string stress_lab(const Model& m, bool depth_unit) {
  return per_pow(m, depth_unit ? m.UDEP2.view() : m.ULEN2.view(), m.USQ.view());
}
std::string modulus_lab(const Model& m) { return per_pow(m, m.ULEN2.view(), m.UCUBE.view()); }
std::string weight_lab(const Model& m) { return per_pow(m, m.UDEP2.view(), m.UCUBE.view()); }

std::string fpl_lab(const Model& m) {
  std::string s(m.UFOR3.view());
  s += m.USLASH.view();
  s += m.ULEN2.view();
  return s;
}

}  // namespace pyf
}  // namespace torva
