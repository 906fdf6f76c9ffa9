// Stiff clay. Without free water (codes 3, 10): the quarter-power curve to 16 y50 with
// pu = min((g'D + 0.5 ca) x + 3 ca D, 9 c D), cyclic loading stretching the deflection by
// 1 + 0.6 log10 N; code 10 limits it by the initial line k x y. With free water (code 2):
// the static curve in four pieces shaped by As and the cyclic curve in three shaped by Ac,
// both limited by the initial line k x y.
#include "soil_py/pyframe.h"

namespace torva {
namespace {

using namespace pyf;

template <int CODE>
struct StiffClay : PyCrit<StiffClay<CODE>> {
  using Base = PyCrit<StiffClay<CODE>>;
  using Base::m;
  static constexpr int code = CODE, plot = CODE;
  static constexpr bool eqdepth = true;
  static constexpr bool water = CODE == 2;
  double c = 0, gam = 0, ca = 0, E50 = 0, k = 0, N = 1;
  double cprev = 0, cint = 0;  // running cohesion integral of a lower layer
  double pcprev = 0;           // pc of the node evaluated before (code 2)
  double pu = 0, y50 = 0, e0 = 0, kx = 0, As = 0, Ac = 0, yp = 0, x = 0;
  explicit StiffClay(Model& mm) : Base(mm) {
    // Cycles below 1 (a count of 0 in the input) count as one cycle.
    N = (m.ISTATIC == 1 || !(m.CYCLES >= 1.0)) ? 1.0 : m.CYCLES;
  }
  bool stat() const { return water ? m.ISTATIC == 1 : m.ISTATIC != 0; }

  bool soil(const PyNode& nd, int& status) {
    c = COHESION(m, nd.d, status);
    if (status != 0) return false;
    gam = GAMAVG(m, nd.d, status);
    if (status != 0) return false;
    if (nd.L == 1 || !water) {
      const double cav = COHAVG(m, nd.d, status);
      if (status != 0) return false;
      if (nd.L == 1) ca = cav;
    }
    if (nd.L >= 2) {
      if (!nd.analysis) {
        ca = 0.5 * (COHESION(m, m.LTOP(nd.L), status) + c);
        if (status != 0) return false;
      } else if (nd.first) {
        ca = c;
        cint = 0.0;
      } else {
        cint += 0.5 * (cprev + c) * (nd.d - m.DEPN(nd.g, nd.n - 1));
        ca = cint / (nd.d - m.DEPN(nd.g, m.NODE1(nd.g, nd.L)));
      }
    }
    cprev = c;
    E50 = E50DEP(m, nd.d);
    if (E50 <= 0.0) E50STIFF(c, E50, m.IUNITS);
    if (CODE != 3) {
      k = KDEP(m, nd.d);
      if (k <= 0.0) KCLAY(c, k, m.IUNITS, m.ISTATIC);
    }
    return true;
  }
  bool plain_depth(const PyNode& nd) const {
    const double D = nd.D;
    if (water) return 11.0 * c * D < (gam * D + f32(2.83f) * ca) * nd.x + 2.0 * ca * D;
    return 9.0 * c * D < (gam * D + 0.5 * ca) * nd.x + 3.0 * D * ca;
  }
  void call_eqdepth(const PyNode& nd) {
    PYEQDEPTH(m, nd.g, nd.L, nd.t, nd.D, c, ca, gam, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, nd.x, 0.0,
              SANDXT);
  }
  void constants(const PyNode& nd) {
    const double D = nd.D, xe = nd.xe;
    x = nd.x;
    kx = k * xe;
    if (water) {
      As = COEFAS(m, nd.g, nd.t, m.GSDEPTH(nd.g) + xe);
      Ac = COEFAC(m, nd.g, nd.t, m.GSDEPTH(nd.g) + xe);
      const double pct = (gam * x + 2.0 * ca) * D + f32(2.83f) * ca * xe;
      pu = std::min(pct, 11.0 * c * D);  // pc
      y50 = E50 * D;
      // The cyclic peak lies at 0.6 yp with yp = 4.1 As y50: the deflection scale whose
      // residual 0.936 Ac - 0.102 x 4.1 As is the ratio of the integral below.
      yp = f32(4.1f) * As * y50;
      e0 = kx;
    } else {
      pu = std::min((gam * D + 0.5 * ca) * xe + 3.0 * ca * D, 9.0 * c * D);
      y50 = f32(2.5f) * E50 * D;
      e0 = CODE == 10 ? kx : 0.5 * pu * std::pow(y50 / m.SMALL, f32(0.75f)) / y50;
    }
  }
  double curve_water(double y) const {
    const double pc = pu;
    double p;
    if (stat()) {
      const double ay = As * y50;
      if (y <= ay) {
        p = 0.5 * pc * std::sqrt(y / y50);
      } else if (y <= 6.0 * ay) {
        p = 0.5 * pc * std::sqrt(y / y50) - f32(0.055f) * pc * std::pow((y - ay) / ay, f32(1.25f));
      } else if (y <= 18.0 * ay) {
        p = 0.5 * pc * std::sqrt(6.0 * As) - f32(0.411f) * pc -
            f32(0.0625f) * pc * (y - 6.0 * ay) / y50;
      } else {
        p = 0.5 * pc * std::sqrt(6.0 * As) - f32(0.75f) * As * pc - f32(0.411f) * pc;
      }
    } else {
      if (y <= f32(0.6f) * yp) {
        const double r = std::abs((y - f32(0.45f) * yp) / (f32(0.45f) * yp));
        p = Ac * pc * (1.0 - std::pow(r, f32(2.5f)));
      } else if (y <= f32(1.8f) * yp) {
        p = f32(0.936f) * Ac * pc - f32(0.085f) * pc * (y - f32(0.6f) * yp) / y50;
      } else {
        p = f32(0.936f) * Ac * pc - f32(0.102f) * pc * yp / y50;
      }
    }
    return std::min(p, kx * y);
  }
  double curve(double y) const {
    if (water) return curve_water(y);
    double p;
    if (stat())
      p = y <= 16.0 * y50 ? 0.5 * pu * std::pow(y / y50, 0.25) : pu;
    else
      p = std::min(pu, 0.5 * pu *
                           std::pow(y / (y50 * (1.0 + f32(0.6f) * std::log10(N))), 0.25));
    if (CODE == 10) p = std::min(p, kx * y);
    return p;
  }
  double es0() const { return e0; }
  void resist(const PyNode& nd, double y, double& pc, double& es) {
    // The quarter power has no initial slope; the initial lines of codes 2 and 10 give one.
    if (CODE == 3 && linear_below_step(m, *this, nd, y, pc, es)) return;
    frame_resist(m, *this, nd, y, pc, es);
    // Without free water the curve's own value stands below SMALL as well.
    if (!water && y < m.SMALL) pc = curve(y);
  }
  void pusum(const PyNode& nd) {
    if (!water) {
      this->pusum_common(nd, pu, true, pu, false);
      return;
    }
    const double R = stat() ? f32(1.225f) * std::sqrt(As) - f32(0.75f) * As - f32(0.411f)
                            : f32(0.936f) * Ac - f32(0.418f) * As;
    if (nd.first) this->acc = 0.0;
    if (!(nd.first && nd.L >= 2)) this->acc += nd.h * 0.5 * (pcprev + pu) * R;
    pcprev = pu;
    m.PUSUM(nd.g, nd.L) = this->acc;
  }
  int deflist(const PyNode&, double* yl) const {
    yl[0] = 0.0;
    if (water && stat()) {
      const double ay = As * y50;
      for (int i = 1; i <= 12; ++i) yl[i] = 0.5 * ay * i;
      yl[13] = 10.0 * ay;
      yl[14] = 14.0 * ay;
      yl[15] = 18.0 * ay;
      yl[16] = 100.0 * ay;
    } else if (water) {
      for (int i = 1; i <= 12; ++i) yl[i] = f32(0.05f) * yp * i;
      yl[13] = 1.0 * yp;
      yl[14] = f32(1.4f) * yp;
      yl[15] = f32(1.8f) * yp;
      yl[16] = 10.0 * yp;
    } else {
      const double Y = y50 * (16.0 + f32(9.6f) * std::log10(N)) / 15.0;
      for (int i = 1; i <= 8; ++i) yl[i] = i * Y / 8.0;
      for (int i = 0; i < 7; ++i) yl[9 + i] = (3.0 + 2.0 * i) * Y;
      yl[16] = f32(18.75f) * Y;
    }
    return 17;
  }
  void heading(const PyNode& nd) {
    TextFile& e = m.ECHO;
    const std::string st = stress_lab(m, true), wt = weight_lab(m);
    e.nl();
    if (water) {
      e.X(9).A("DEPTH BELOW GS").X(6).A("DIAM").X(8).A("C").X(9).A("CAVG").X(6).A("GAMMA").X(8)
          .A("E50").nl();
      e.X(15).A(m.UDEP2.view()).X(13).A(m.USML2.view()).X(5).A(st).X(2).A(st).X(2).A(wt).nl();
      e.X(9).F(TOFT(m, nd.x), 10, 2).X(5).F(TOMM(m, nd.D), 10, 3).X(1).E(TOPSF(m, c), 10, 2)
          .X(1).E(TOPSF(m, ca), 10, 2).X(1).E(TOPCF(m, gam), 10, 2).E(E50, 12, 4).nl();
      e.X(9).A("AS =").F(As, 5, 2).A(",").X(4).A("AC =").F(Ac, 5, 2).A(",").X(4)
          .A("EQ. DEPTH =").F(TOFT(m, nd.xe), 8, 2).X(1).A(m.UDEP2.view()).nl();
      point_heading(m);
    } else {
      e.X(10).A("DEPTH BELOW GS").X(5).A("DIAM").X(8).A("C").X(7).A("CAVG").X(6).A("GAMMA").X(7)
          .A("E50").nl();
      e.X(16).A(m.UDEP2.view()).X(12).A(m.USML2.view()).X(5).A(st).X(1).A(st).X(1).A(wt).X(1)
          .nl();
      e.X(10).F(TOFT(m, nd.x), 10, 2).X(5).F(TOMM(m, nd.D), 10, 3).E(TOPSF(m, c), 10, 2)
          .E(TOPSF(m, ca), 10, 2).E(TOPCF(m, gam), 10, 2).E(E50, 12, 4).nl();
      eq_depth_line(m, nd.xe);
      e.nl();
      point_heading_yp(m, 38);
    }
    depth_record(m, nd.d);
  }
};

template <int CODE>
void run(Model& m, int t, int L, int& status, int g, int gf, const NodeArr& y, NodeArr& Es,
         const NodeArr& smy, const NodeArr& smz, NodeArr& psm, NodeArr& p) {
  StiffClay<CODE> c(m);
  py_frame(m, c, t, L, status, g, gf, y, Es, smy, smz, psm, p);
}

}  // namespace

void PYSTIFFCLAYW(Model& m, int t, int L, int& status, int g, int gf, const NodeArr& y,
                  NodeArr& Es, const NodeArr& smy, const NodeArr& smz, NodeArr& psm,
                  NodeArr& p) {
  run<2>(m, t, L, status, g, gf, y, Es, smy, smz, psm, p);
}
void PYSTIFFCLAY(Model& m, int t, int L, int& status, int g, int gf, const NodeArr& y,
                 NodeArr& Es, const NodeArr& smy, const NodeArr& smz, NodeArr& psm, NodeArr& p) {
  run<3>(m, t, L, status, g, gf, y, Es, smy, smz, psm, p);
}
void PYSTIFFCLAYK(Model& m, int t, int L, int& status, int g, int gf, const NodeArr& y,
                  NodeArr& Es, const NodeArr& smy, const NodeArr& smz, NodeArr& psm,
                  NodeArr& p) {
  run<10>(m, t, L, status, g, gf, y, Es, smy, smz, psm, p);
}

}  // namespace torva
