// Sand criteria. Sand (code 4): wedge and flow-around resistances Pst, Psd with the A and B
// coefficient curves and a four-piece curve (initial line, parabola, straight line,
// plateau). API sand (code 8): the same mechanisms in the C1, C2, C3 form and a hyperbolic
// tangent curve. Liquefied sand (code 11): the power curve of a 0.3 m pile in liquefied
// sand scaled by a diameter factor.
#include <limits>

#include "soil_py/pywedge.h"

namespace torva {
namespace {

using namespace pyf;

struct Sand : PyCrit<Sand> {
  [[maybe_unused]] static constexpr int code = 4, plot = 4;
  static constexpr bool eqdepth = true;
  Wedge w;
  double gam = 0, k = 0, kx = 0, pst = 0, psd = 0, A = 0, B = 0, pu = 0, pm = 0;
  double ym = 0, yu = 0, sl = 0, n = 0, Cs = 0, yk = 0;
  double rn = std::numeric_limits<double>::infinity();  // 1 / n, the parabola's exponent
  bool flat = false;  // no resistance (zero friction angle or depth): p = 0
  explicit Sand(Model& mm) : PyCrit(mm) {}

  bool soil(const PyNode& nd, int& status) {
    gam = GAMAVG(m, nd.d, status);
    if (status != 0) return false;
    const double phi = PHIDEP(m, nd.d, status);
    if (status != 0) return false;
    w.set(phi);
    return true;
  }
  bool plain_depth(const PyNode& nd) const {
    return w.Pst(gam, nd.x, nd.x, nd.D) > w.Psd(gam, nd.x, nd.D);
  }
  void call_eqdepth(const PyNode& nd) { w.eqdepth(m, nd, 0.0, gam); }
  void constants(const PyNode& nd) {
    const double D = nd.D, xe = nd.xe;
    k = KDEP(m, nd.d);
    if (k <= 0.0) APISANDK(w.phi, gam, k, m.IUNITS);
    kx = k * xe;
    pst = w.Pst(gam, nd.x, xe, D);
    psd = w.Psd(gam, nd.x, D);
    const double ps = std::min(pst, psd);
    const double zd = m.GSDEPTH(nd.g) + xe;
    const bool st = m.ISTATIC == 1;
    A = COEFTAB(m, nd.g, nd.t, zd, st ? SANDAS : SANDAC, SANDXT);
    B = COEFTAB(m, nd.g, nd.t, zd, st ? SANDBS : SANDBC, SANDXT);
    pu = A * ps;
    pm = B * ps;
    ym = D / 60.0;
    yu = 3.0 * D / 80.0;
    yk = 2.0 * D;
    flat = !(ps > 0.0);
    if (xe > 0.0 && !flat) {
      sl = (pu - pm) / (yu - ym);
      n = pm / (sl * ym);
      rn = 1.0 / n;
      Cs = pm / std::pow(ym, rn);
      yk = std::pow(Cs / kx, n / (n - 1.0));
      // A curve whose parabola is not defined (no rise from pm to pu) keeps its lines.
      if (!std::isfinite(n) || !std::isfinite(Cs) || !(sl > 0.0)) flat = true;
    }
  }
  double curve(double y) const {
    if (flat) return 0.0;
    double p;
    if (y >= ym)
      p = y < yu ? pm + sl * (y - ym) : pu;
    else if (y > yk)
      p = Cs * std::pow(y, rn);
    else
      p = kx * y;
    return std::min(p, kx * y);
  }
  double es0() const { return kx; }
  void pusum(const PyNode& nd) { pusum_common(nd, pu, true, pu, true); }
  int deflist(const PyNode& nd, double* yl) const { return sand_list(nd.D, yl); }
  void heading(const PyNode& nd) {
    TextFile& e = m.ECHO;
    e.nl();
    e.X(11).A("DEPTH BELOW GS").X(6).A("DIAM").X(6).A("PHI").X(5).A("GAMMA").X(10).A("A").X(9)
        .A("B").X(15).A("PCT").X(7).A("PCD").nl();
    e.X(17).A(m.UDEP2.view()).X(13).A(m.USML2.view()).X(13).A(weight_lab(m)).nl();
    e.X(10).F(TOFT(m, nd.x), 10, 2).X(5).F(TOMM(m, nd.D), 10, 2).F(w.phi * 180.0 / FULLPI, 10, 2)
        .E(TOPCF(m, gam), 10, 2).F(A, 10, 2).F(B, 10, 2).X(10).E(pst, 10, 2).E(psd, 10, 2).nl();
    eq_depth_line(m, nd.xe);
    e.nl();
    point_heading_yp(m, 38);
    depth_record(m, nd.d);
  }
};

struct ApiSand : PyCrit<ApiSand> {
  [[maybe_unused]] static constexpr int code = 8, plot = 8;
  static constexpr bool eqdepth = true;
  Wedge w;
  double gam = 0, k = 0, kx = 0, C1 = 0, C2 = 0, C3 = 0, A = 0, pu = 0, pus = 0, pcd = 0;
  bool flat = false;
  explicit ApiSand(Model& mm) : PyCrit(mm) {}

  bool soil(const PyNode& nd, int& status) {
    gam = GAMAVG(m, nd.d, status);
    if (status != 0) return false;
    COHESION(m, nd.d, status);
    if (status != 0) return false;
    const double phi = PHIDEP(m, nd.d, status);
    if (status != 0) return false;
    if (!nd.first && phi < 1.0e-10) {
      zero_phi_warning(m, "SAND");
      status = ST_SANDPHI0;
      return false;
    }
    w.set(phi);
    const double tb = w.tb, ta = w.ta, tp = w.tp;
    C1 = tb * (tb * tb * ta + w.K0 * (tp * w.sb * (1.0 / w.ca + 1.0) - ta));
    C2 = tb * tb - w.Ka;
    C3 = w.tb4 * (tb * tb + w.K0 * tp) - w.Ka;
    return true;
  }
  bool plain_depth(const PyNode& nd) const {
    return (C1 * nd.x + C2 * nd.D) * gam * nd.x > C3 * nd.D * gam * nd.x;
  }
  void call_eqdepth(const PyNode& nd) { w.eqdepth(m, nd, 0.0, gam); }
  void constants(const PyNode& nd) {
    const double D = nd.D, xe = nd.xe;
    k = KDEP(m, nd.d);
    if (k <= 0.0) APISANDK(w.phi, gam, k, m.IUNITS);
    kx = k * xe;
    const double xt = (C3 - C2) * D / C1;
    pus = (C1 * xe + C2 * D) * gam * xe;
    if (xe <= xt) {
      pu = pus;
      pcd = C3 * D * gam * xe;
    } else {
      pu = pcd = C3 * D * gam * nd.x;
    }
    A = m.ISTATIC == 1 ? std::max(f32(0.9f), 3.0 - f32(0.8f) * xe / D) : f32(0.9f);
    // A zero friction angle (accepted at a layer's first node) or a zero depth gives no
    // resistance rather than 0/0.
    flat = xe < 1.0e-10 || !(A * pu > 0.0);
  }
  double curve(double y) const { return flat ? 0.0 : A * pu * std::tanh(kx * y / (A * pu)); }
  double es0() const { return flat ? 0.0 : kx; }
  void pusum(const PyNode& nd) {
    if (nd.first) acc = 0.0;
    const double fl = m.FREELEN(nd.g);
    if (nd.L == 1 && fl <= 0.0 && acc <= 0.0) acc = -0.5 * fl * curve(3.0 * nd.D / 80.0);
    if (!(nd.first && nd.L >= 2)) acc += nd.h * A * pu;
    if (nd.last) acc += (m.LBOT(nd.L) - nd.d) * A * pu;
    if (nd.L == 1 && fl < -f32(1.0e-5f)) acc = 0.5 * A * pu * (m.LBOT(1) - m.LTOP(1));
    m.PUSUM(nd.g, nd.L) = acc;
  }
  int deflist(const PyNode& nd, double* yl) const { return sand_list(nd.D, yl); }
  void heading(const PyNode& nd) {
    TextFile& e = m.ECHO;
    api_block(m, nd, w.phi, gam, A, 0.0, "PCT", "PCD", pus, pcd);
    eq_depth_line(m, nd.xe);
    e.nl();
    point_heading_yp(m, 37);
  }
  void point_out(const PyNode& nd, int i, double y, double py, double pp, double pc, double) {
    unfactored_point_out(m, nd, i, y, py, pp, pc);
  }
};

struct LiqSand : PyCrit<LiqSand> {
  [[maybe_unused]] static constexpr int code = 11, plot = 11;
  static constexpr bool eqdepth = false;
  double gam = 0, Aq = 0, Bq = 0, Cq = 0, Pd = 0, conv = 1, ufac = 1000.0, q150 = 0, pu = 0;
  double y50 = 0, e0 = 0, pprev = 0;
  explicit LiqSand(Model& mm) : PyCrit(mm) {}

  bool soil(const PyNode& nd, int& status) {
    COHESION(m, nd.d, status);
    if (status != 0) return false;
    COHAVG(m, nd.d, status);
    if (status != 0) return false;
    gam = GAMAVG(m, nd.d, status);
    return status == 0;
  }
  double q(double u) const { return Aq * std::pow(Bq * u, Cq); }
  void constants(const PyNode& nd) {
    const bool us = m.IUNITS == 1;
    const double zm = us ? f32(0.0254f) * nd.x : nd.x;
    const double Dm = us ? f32(0.0254f) * nd.D : nd.D;
    conv = us ? f32(5.7143f) : 1.0;
    ufac = us ? f32(25.4f) : 1000.0;
    Aq = f32(3.0e-7f) * std::pow(zm + 1.0, f32(6.05f));
    Bq = f32(2.80f) * std::pow(zm + 1.0, f32(0.11f));
    Cq = f32(2.85f) * std::pow(zm + 1.0, -f32(0.41f));
    Pd = Dm < f32(0.3f) ? Dm / f32(0.3f) : f32(3.81f) * std::log(Dm) + f32(5.6f);
    q150 = q(150.0);
    pu = Pd * std::min({q150, 15.0, q(500.0 * Dm)}) * conv;
    y50 = std::min(150.0, std::pow(15.0 / Aq, 1.0 / Cq) / Bq) / 1000.0;
    if (us) y50 = y50 * 1000.0 / f32(25.4f);
    // The curve has no initial slope of its own: below SMALL the secant at the first
    // point of its printed list stands in.
    const double y1 = f32(0.0001f) * y50;
    e0 = curve(y1) / y1;
  }
  double curve(double y) const {
    return std::min(pu, Pd * std::min({q150, 15.0, q(ufac * y)}) * conv);
  }
  double es0() const { return e0; }
  // In an analysis the curve is stretched by the y-multiplier and the secant is taken at
  // the deflection relative to the soil.
  void resist(const PyNode& nd, double y, double& pc, double& es) {
    if (!nd.analysis) {
      pc = curve(y);
      es = y >= m.SMALL ? pc * m.PMULT(nd.gf) / y : e0;
      return;
    }
    // Deep in the layer the power falls below one and the curve has no initial slope: it
    // is linear below the pile-head tangent's step (see linear_below_step).
    if (Cq < 1.0 && y < py_linear_step(m)) {
      resist(nd, py_linear_step(m), pc, es);
      pc *= y / py_linear_step(m);
      return;
    }
    if (y < m.SMALL) {
      es = e0;
      pc = y * e0;
      return;
    }
    pc = curve(y / m.YMULT(nd.gf));
    es = pc * m.PMULT(nd.gf) / y;
    if (nd.modset) es *= nd.pf / nd.yf;
  }
  void pusum(const PyNode& nd) {
    if (nd.first) acc = 0.0;
    if (!nd.first) acc += 0.5 * nd.h * (pprev + pu);
    if (nd.last) acc += (m.LBOT(nd.L) - nd.d) * pu;
    pprev = pu;
    m.PUSUM(nd.g, nd.L) = acc;
  }
  int deflist(const PyNode&, double* yl) const {
    static constexpr float f[17] = {0.0001f, 0.02f, 0.04f, 0.08f, 0.10f, 0.15f, 0.20f, 0.25f, 0.30f,
                                    0.40f,   0.50f, 0.60f, 0.70f, 0.80f, 0.90f, 1.00f, 1.10f};
    for (int i = 0; i < 17; ++i) yl[i] = double(f[i]) * y50;
    return 17;
  }
  void heading(const PyNode& nd) {
    TextFile& e = m.ECHO;
    e.nl();
    e.X(9).A("Depth below ground surface       = ").F(TOFT(m, nd.x), 12, 3).X(1)
        .A(m.UDEP2.view()).nl();
    e.X(9).A("Diameter                         = ").F(TOMM(m, nd.D), 12, 3).X(1)
        .A(m.USML2.view()).nl();
    e.X(9).A("Gamma Avg                        = ").F(TOPCF(m, gam), 12, 5).X(1)
        .A(weight_lab(m)).nl();
    e.X(9).A("Pu                               = ").F(pu, 12, 3).X(1).A(fpl_lab(m)).nl();
    e.X(26).A("         y, ").A(m.ULEN2.view()).A("            p, ").A(fpl_lab(m)).nl();
    e.X(30).A("------------       -------------").nl();
    depth_record(m, nd.d);
  }
  void point_out(const PyNode& nd, int i, double y, double py, double pp, double pc,
                 double e0v) {
    if (nd.plot) {
      PyCrit::point_out(nd, i, y, py, pp, pc, e0v);
      return;
    }
    WRTBLANK(m.ECHO, 27);
    WRTREAL(m.ECHO, 14, 5, py);
    WRTREAL(m.ECHO, 20, 5, pp);
    ENDLINE(m.ECHO);
    m.PLOTOUT.X(7).PG(py, 20, 8).PG(pp, 20, 8).nl();
  }
};

}  // namespace

void PYSAND(Model& m, int t, int L, int& status, int g, int gf, const NodeArr& y, NodeArr& Es,
            const NodeArr& smy, const NodeArr& smz, NodeArr& psm, NodeArr& p) {
  Sand c(m);
  py_frame(m, c, t, L, status, g, gf, y, Es, smy, smz, psm, p);
}
void PYAPISAND(Model& m, int t, int L, int& status, int g, int gf, const NodeArr& y, NodeArr& Es,
               const NodeArr& smy, const NodeArr& smz, NodeArr& psm, NodeArr& p) {
  ApiSand c(m);
  py_frame(m, c, t, L, status, g, gf, y, Es, smy, smz, psm, p);
}
void PYLIQSAND(Model& m, int t, int L, int& status, int g, int gf, const NodeArr& y, NodeArr& Es,
               const NodeArr& smy, const NodeArr& smz, NodeArr& psm, NodeArr& p) {
  LiqSand c(m);
  py_frame(m, c, t, L, status, g, gf, y, Es, smy, smz, psm, p);
}

}  // namespace torva
