// Rock criteria. Weak rock (code 9): the strength qu/2 reduced by the rock quality
// designation, a linear start Kir y and the quarter-power curve 0.5 pur (y/yrm)^0.25 up to
// pur. Vuggy limestone (code 6): two linear pieces of slopes 2000 c' and 100 c' up to c'D,
// then a residual resistance.
#include "soil_py/pyframe.h"

namespace torva {
namespace {

using namespace pyf;

struct WeakRock : PyCrit<WeakRock> {
  [[maybe_unused]] static constexpr int code = 9, plot = 9;
  static constexpr bool eqdepth = false;
  int gf;
  double cr = 0, ar = 0, q = 0, gam = 0, krm = 0, pur = 0, Kir = 0, yrm = 0, yA = 0;
  double cprev = 0, dprev = 0, qint = 0, d1 = 0;
  WeakRock(Model& mm, int gfrow) : PyCrit(mm), gf(gfrow) {}

  bool soil(const PyNode& nd, int& status) {
    cr = 0.5 * COHESION(m, nd.d, status);
    if (status != 0) return false;
    ar = 1.0 - f32(0.006666667f) * RQDDEP(m, nd.d);
    if (!nd.first && cr < 1.0e-10) {
      const unsigned to = TO_ECHO | TO_RUNLOG;
      emit(m, to, "");
      emit(m, to, "       --------------------WARNING----------------------");
      emit(m, to, "       THE UNIAXIAL COMPRESION STRENGTH IS 0 FOR WEAK ROCK ");
      emit(m, to, "       ACCORDING TO THE INPUT DATA.");
      emit(m, to, "       PLEASE ENTER THE CORRECT VALUE AND RUN IT AGAIN.");
      status = ST_ROCKQU0;
      return false;
    }
    // The mean strength along the pile from the top of the layer.
    if (nd.L == 1) {
      q = 0.5 * COHAVG(m, nd.d, status);
      if (status != 0) return false;
    } else if (!nd.analysis) {
      q = 0.5 * (0.5 * COHESION(m, m.LTOP(nd.L), status) + cr);
      if (status != 0) return false;
    } else if (nd.first) {
      q = cr;
      qint = 0.0;
      d1 = nd.d;
    } else {
      qint += 0.5 * (cprev + cr) * (nd.d - dprev);
      q = qint / (nd.d - d1);
    }
    cprev = cr;
    dprev = nd.d;
    gam = GAMAVG(m, nd.d, status);
    if (status != 0) return false;
    krm = E50DEP(m, nd.d);
    return true;
  }
  void constants(const PyNode& nd) {
    const double D = nd.D;
    const double xr = nd.d + 1.0e-8 - m.FREELEN(nd.g) - m.HEADDEP(nd.g);
    if (xr <= 3.0 * D) {
      pur = ar * 2.0 * q * (D + f32(1.4f) * xr);
      Kir = (100.0 + 400.0 * xr / (3.0 * D)) * ERDEP(m, nd.d);
    } else {
      pur = f32(10.4f) * ar * q * D;
      Kir = 500.0 * ERDEP(m, nd.d);
    }
    yrm = krm * D;
    // Without a strain factor the quarter-power piece is unbounded: the initial line then
    // runs up to pur itself.
    yA = yrm > 0.0 ? std::pow(0.5 * pur / (std::pow(yrm, 0.25) * Kir), 4.0 / 3.0)
                   : (Kir > 0.0 ? pur / Kir : 0.0);
    if (!(pur > 0.0)) yA = 0.0;
  }
  double curve(double y) const {
    if (!(pur > 0.0)) return 0.0;
    if (y < yA) return Kir * y;
    if (yrm <= 0.0) return pur;
    return std::min(pur, 0.5 * pur * std::pow(y / yrm, 0.25));
  }
  double es0() const { return pur > 0.0 ? Kir : 0.0; }
  // On the initial line the modulus is Kir itself, without the factors.
  void resist(const PyNode& nd, double y, double& pc, double& es) {
    if (y < yA || y < m.SMALL) {
      es = es0();
      pc = es * y;
      return;
    }
    frame_resist(m, *this, nd, y, pc, es);
  }
  void pusum(const PyNode& nd) {
    if (nd.first) acc = 0.0;
    if (!nd.first) acc += nd.h * pur;
    if (nd.last) acc += (m.LBOT(nd.L) - nd.d) * pur;
    m.PUSUM(nd.g, nd.L) = acc;
  }
  int deflist(const PyNode&, double* yl) const {
    static constexpr float f[17] = {0.0005f, 0.001f, 0.003f, 0.006f, 0.009f, 0.02f,
                                    0.04f,   0.06f,  0.08f,  0.1f,   0.25f,  0.5f,
                                    0.75f,   1.0f,   4.0f,   8.0f,   12.0f};
    for (int i = 0; i < 17; ++i) yl[i] = double(f[i]) * yrm;
    return 17;
  }
  void heading(const PyNode& nd) {
    depth_record(m, nd.d);
    TextFile& e = m.ECHO;
    e.nl();
    e.nl();
    e.X(14).A("DEPTH").X(5).A("DIAM").X(7).A("C").X(8).A(" PU ").X(3).A("GAMMA AVG").X(6)
        .A("KRM").nl();
    e.X(16).A(m.UDEP2.view()).X(7).A(m.USML2.view()).X(4).A(stress_lab(m)).X(1)
        .A(fpl_lab(m)).X(3).X(1).A(weight_lab(m)).X(1).nl();
    e.X(10).F(TOFT(m, nd.x), 10, 2).F(TOMM(m, nd.D), 10, 3).E(cr, 10, 2).E(pur, 10, 2)
        .E(TOPCF(m, gam), 10, 2).E(krm, 12, 3).nl();
    point_heading_yp(m, 37);
  }
  void point_out(const PyNode& nd, int i, double y, double py, double pp, double pc,
                 double e0) {
    if (nd.plot) {
      PyCrit::point_out(nd, i, y, py, pp, pc, e0);
      return;
    }
    m.ECHO.X(21).E(py, 20, 3).E(pp, 20, 3).nl();
    plot_point(m, py, pp, 2);
  }
};

struct Vuggy : PyCrit<Vuggy> {
  [[maybe_unused]] static constexpr int code = 6, plot = 6;
  static constexpr bool eqdepth = false;
  int gf;
  double cr = 0, gam = 0, k1 = 0, y1 = 0, p1 = 0, k2 = 0, y2 = 0, pres = 0, e0 = 0;
  Vuggy(Model& mm, int gfrow) : PyCrit(mm), gf(gfrow) {}

  bool soil(const PyNode& nd, int& status) {
    cr = 0.5 * COHESION(m, nd.d, status);
    if (status != 0) return false;
    COHAVG(m, nd.d, status);
    if (status != 0) return false;
    gam = GAMAVG(m, nd.d, status);
    return status == 0;
  }
  void constants(const PyNode& nd) {
    const double D = nd.D;
    k1 = 2000.0 * cr;
    y1 = f32(0.0004f) * D;
    p1 = k1 * y1;
    k2 = 100.0 * cr;
    // y1 + (c'D - p1)/k2, written without the strength so that c' = 0 stays defined.
    y2 = y1 + (1.0 - 2000.0 * f32(0.0004f)) * D / 100.0;
    // The residual 3.38 D gamma holds with D in metres and gamma in kN/m3 (giving kN/m):
    // in other units it carries the length of one metre.
    const double metre = m.IUNITS == 2 ? 1.0 : 1.0 / 0.0254;
    pres = f32(3.38f) * D * gam * metre;
    e0 = k1 / m.YMULT(gf);
    if (nd.modset) e0 *= nd.pf / nd.yf;
  }
  double curve(double y) const {
    if (y < y1) return k1 * y;
    if (y < y2) return p1 + k2 * (y - y1);
    return pres;
  }
  double es0() const { return e0; }
  int deflist(const PyNode&, double* yl) const {
    for (int i = 1; i <= 17; ++i) yl[i - 1] = (i - 1) * y2 / 15.0;
    return 17;
  }
  void heading(const PyNode& nd) {
    TextFile& e = m.ECHO;
    e.nl();
    e.X(10).A("DEPTH BELOW GS").X(5).A("DIAM").X(8).A("C").nl();
    e.X(16).A(m.UDEP2.view()).X(12).A(m.USML2.view()).X(5).A(stress_lab(m)).nl();
    e.X(10).F(TOFT(m, nd.x), 10, 2).X(5).F(TOMM(m, nd.D), 10, 3).E(cr, 10, 1).nl();
    point_heading_yp(m, 38);
    depth_record(m, nd.d);
  }
  void point_out(const PyNode& nd, int i, double, double py, double pp, double, double) {
    point_out_trail(nd, i, py, pp);
  }
};

}  // namespace

void PYWEAKROCK(Model& m, int t, int L, int& status, int g, int gf, const NodeArr& y, NodeArr& Es,
                const NodeArr& smy, const NodeArr& smz, NodeArr& psm, NodeArr& p) {
  WeakRock c(m, gf);
  py_frame(m, c, t, L, status, g, gf, y, Es, smy, smz, psm, p);
}
void PYVUGGYLS(Model& m, int t, int L, int& status, int g, int gf, const NodeArr& y, NodeArr& Es,
               const NodeArr& smy, const NodeArr& smz, NodeArr& psm, NodeArr& p) {
  Vuggy c(m, gf);
  py_frame(m, c, t, L, status, g, gf, y, Es, smy, smz, psm, p);
}

}  // namespace torva
