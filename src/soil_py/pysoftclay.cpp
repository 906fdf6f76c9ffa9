// Soft clay: the cube-root curve to 8 y50 (static) with the wedge/flow ultimate resistance
// pu = min(3 + g'x/c + J x/D, 9) c D; under cyclic loading 0.72 pu beyond 3 y50, falling
// to 0.72 pu x/xr at 15 y50 above the transition depth xr. Code 13 reads J from the soil
// profile; code 14 limits the curve by the initial line k x y.
#include "soil_py/pyframe.h"

namespace torva {
namespace {

using namespace pyf;

template <int CODE>
struct SoftClay : PyCrit<SoftClay<CODE>> {
  using Base = PyCrit<SoftClay<CODE>>;
  using Base::m;
  static constexpr int code = CODE, plot = 1;
  static constexpr bool eqdepth = true;
  double c = 0, gam = 0, E50 = 0, J = 0, k = 0;
  double pu = 0, xr = 0, xrd = 0, y50 = 0, e0 = 0, xe = 0, kx = 0;
  explicit SoftClay(Model& mm) : Base(mm) {}

  bool cyclic() const { return m.ISTATIC != 1; }

  bool soil(const PyNode& nd, int& status) {
    c = COHESION(m, nd.d, status);
    if (status != 0) return false;
    gam = GAMAVG(m, nd.d, status);
    if (status != 0) return false;
    E50 = E50DEP(m, nd.d);
    if (E50 <= 0.0) E50SOFT(c, E50, m.IUNITS);
    J = CODE == 1 ? 0.5 : JDEP(m, nd.d);
    if (CODE == 14) {
      k = KDEP(m, nd.d);
      if (k <= 0.0) KCLAY(c, k, m.IUNITS, m.ISTATIC);
    }
    return true;
  }
  // Below the transition depth of the node itself the flow resistance governs already.
  bool plain_depth(const PyNode& nd) const {
    return nd.x > 6.0 * c * nd.D / (gam * nd.D + J * c);
  }
  void call_eqdepth(const PyNode& nd) {
    PYEQDEPTH(m, nd.g, nd.L, nd.t, nd.D, c, 0.0, gam, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, nd.x, J,
              SANDXT);
  }
  void constants(const PyNode& nd) {
    xe = nd.xe;
    const double D = nd.D;
    const double Np = c > 0.0 ? 3.0 + gam * xe / c + J * xe / D : 0.0;
    pu = std::min(Np, 9.0) * c * D;
    xr = 6.0 * c * D / (gam * D + J * c);
    xrd = xr >= m.TOLCRV ? xr : D;
    y50 = f32(2.5f) * E50 * D;
    kx = k * xe;
    e0 = CODE == 14 ? kx
                    : 0.5 * pu * std::pow(y50 / m.SMALL, f32(0.6666666666f)) / y50;
  }
  double first_branch(double y) const { return 0.5 * pu * std::pow(y / y50, f32(0.3333333333f)); }
  double curve(double y) const {
    double p;
    if (y <= 3.0 * y50) {
      p = first_branch(y);
    } else if (!cyclic()) {
      p = y <= 8.0 * y50 ? first_branch(y) : pu;
    } else if (xe >= xrd) {
      p = f32(0.72f) * pu;
    } else {
      const double pend = f32(0.72f) * pu * xe / xrd;
      p = y <= 15.0 * y50
              ? f32(0.72f) * pu + (pend - f32(0.72f) * pu) / (15.0 * y50 - 3.0 * y50) * (y - 3.0 * y50)
              : pend;
    }
    if (CODE == 14) p = std::min(p, kx * y);
    return p;
  }
  double es0() const { return e0; }
  void resist(const PyNode& nd, double y, double& pc, double& es) {
    // The cube root has no initial slope; code 14's initial line gives it one.
    if (CODE != 14 && linear_below_step(m, *this, nd, y, pc, es)) return;
    if (CODE == 14 && y < m.SMALL) {
      pc = std::min(first_branch(y), kx * y);
      es = kx;
      return;
    }
    frame_resist(m, *this, nd, y, pc, es);
  }
  void cap_store(const PyNode& nd, double y, double pc) {
    if (CODE != 14 || y >= m.SMALL) m.PCAPP(nd.g) = pc;
  }
  void pusum(const PyNode& nd) {
    this->pusum_common(nd, cyclic() ? f32(0.72f) * pu : pu, true, pu, false);
  }
  int deflist(const PyNode&, double* yl) const {
    yl[0] = 0.0;
    yl[1] = f32(0.008f) * y50;
    for (int i = 1; i <= 12; ++i) yl[1 + i] = f32(0.25f) * y50 * i;
    yl[14] = 8.0 * y50;
    yl[15] = 15.0 * y50;
    yl[16] = 20.0 * y50;
    return 17;
  }
  void heading(const PyNode& nd) {
    TextFile& e = m.ECHO;
    e.nl();
    e.X(9).A("DEPTH BELOW GS").X(6).A("DIAM").X(9).A("C").X(9).A("GAMMA").X(9).A("E50");
    if (CODE != 1) e.X(11).A("J");
    e.nl();
    e.X(15).A(m.UDEP2.view()).X(13).A(m.USML2.view()).X(7).A(stress_lab(m, true)).X(4)
        .A(weight_lab(m)).nl();
    e.X(8).F(TOFT(m, nd.x), 10, 2).X(6).F(TOMM(m, nd.D), 10, 3).X(3).E(TOPSF(m, c), 11, 4)
        .X(2).E(TOPCF(m, gam), 11, 4).X(1).E(E50, 12, 4);
    if (CODE != 1) e.E(J, 12, 4);
    e.nl();
    eq_depth_line(m, nd.xe);
    point_heading(m);
    depth_record(m, nd.d);
  }
  void point_out(const PyNode& nd, int i, double y, double py, double pp, double pc,
                 double e0v) {
    Base::point_out(nd, i, y, py, pp, pc, e0v);
    if (nd.print && py < m.SMALL && i >= 2) {
      TextFile& e = m.ECHO;
      e.nl();
      e.X(29).A("**** WARNING ****").nl();
      e.X(5).A("DEFLECTION IS LESS THAN 1.0E-14.  THE PROGRAM").nl();
      e.X(5).A("USED A SOIL MODULUS OF ").E(e0v, 12, 4).nl();
    }
  }
};

template <int CODE>
void run(Model& m, int t, int L, int& status, int g, int gf, const NodeArr& y, NodeArr& Es,
         const NodeArr& smy, const NodeArr& smz, NodeArr& psm, NodeArr& p) {
  SoftClay<CODE> c(m);
  py_frame(m, c, t, L, status, g, gf, y, Es, smy, smz, psm, p);
}

}  // namespace

void PYSOFTCLAY(Model& m, int t, int L, int& status, int g, int gf, const NodeArr& y,
                NodeArr& Es, const NodeArr& smy, const NodeArr& smz, NodeArr& psm, NodeArr& p) {
  run<1>(m, t, L, status, g, gf, y, Es, smy, smz, psm, p);
}
void PYSOFTCLAYJ(Model& m, int t, int L, int& status, int g, int gf, const NodeArr& y,
                 NodeArr& Es, const NodeArr& smy, const NodeArr& smz, NodeArr& psm, NodeArr& p) {
  run<13>(m, t, L, status, g, gf, y, Es, smy, smz, psm, p);
}
void PYSOFTCLAYK(Model& m, int t, int L, int& status, int g, int gf, const NodeArr& y,
                 NodeArr& Es, const NodeArr& smy, const NodeArr& smz, NodeArr& psm, NodeArr& p) {
  run<14>(m, t, L, status, g, gf, y, Es, smy, smz, psm, p);
}

}  // namespace torva
