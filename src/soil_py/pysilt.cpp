// Silt: the sand wedge and flow resistances (overburden at the curve depth) plus a
// cohesion part min(3 + g x/c + 0.5 x/D, 9) c D, on the four-piece curve of sand with
// pu = A Pu_phi + Puc and pm = 1.5 (Pu_phi + Puc).
#include "soil_py/pywedge.h"

namespace torva {
namespace {

using namespace pyf;

struct Silt : PyCrit<Silt> {
  [[maybe_unused]] static constexpr int code = 7, plot = 7;
  static constexpr bool eqdepth = true;
  Wedge w;
  double gam = 0, c = 0, k = 0, kx = 0, A = 0, B = 0, puphi = 0, puc = 0, pu = 0, pm = 0;
  double ym = 0, yu = 0, sl = 0, n = 0, Cs = 0, yk = 0, pprev = 0;
  bool lines = false;  // the parabola is not defined: the initial line and the plateau
  explicit Silt(Model& mm) : PyCrit(mm) {}

  void begin_pass() { pprev = 0.0; }
  bool soil(const PyNode& nd, int& status) {
    gam = GAMAVG(m, nd.d, status);
    if (status != 0) return false;
    c = COHESION(m, nd.d, status);
    if (status != 0) return false;
    const double phi = PHIDEP(m, nd.d, status);
    if (status != 0) return false;
    if (!nd.first && phi < 1.0e-10) {
      zero_phi_warning(m, "SILT");
      status = ST_SILTPHI0;
      return false;
    }
    if (1.0 - std::cos(phi) * std::cos(phi) < 1.0e-10) {
      const unsigned to = TO_RUNLOG | TO_ECHO;
      emit(m, to, "");
      emit(m, to, "");
      emit(m, to, "       WARNING-------The Angle of the slope can not");
      emit(m, to, "                     be greater than the internal  ");
      emit(m, to, "                     friction angle of the silt.   ");
      emit(m, to, "");
      status = ST_SILTSLOPE;
      return false;
    }
    w.set(phi);
    return true;
  }
  bool plain_depth(const PyNode& nd) const {
    return w.Pst(gam, nd.x, nd.x, nd.D) > w.Psd(gam, nd.x, nd.D);
  }
  void call_eqdepth(const PyNode& nd) { w.eqdepth(m, nd, c, gam); }
  void constants(const PyNode& nd) {
    const double D = nd.D, xe = nd.xe;
    k = KDEP(m, nd.d);
    if (k <= 0.0) KSILT(gam, c, w.phi, k, m.IUNITS, m.ISTATIC);
    kx = k * xe;
    puphi = std::min(w.Pst(gam, xe, xe, D), w.Psd(gam, xe, D));
    // No cohesion: the friction part alone.
    const double Np = c > 0.0 ? 3.0 + gam * xe / c + 0.5 * xe / D : 9.0;
    puc = Np < 9.0 ? Np * c * D : 9.0 * c * D;
    const double zd = m.GSDEPTH(nd.g) + xe;
    const bool st = m.ISTATIC == 1;
    A = COEFTAB(m, nd.g, nd.t, zd, st ? SANDAS : SANDAC, SANDXT);
    B = COEFTAB(m, nd.g, nd.t, zd, st ? SANDBS : SANDBC, SANDXT);
    pu = A * puphi + puc;
    pm = f32(1.5f) * (puphi + puc);
    ym = D / 60.0;
    yu = 3.0 * D / 80.0;
    yk = 2.0 * D;
    lines = false;
    if (xe > 0.0) {
      sl = (pm - pu) / (yu - ym);
      n = pm / (sl * ym);
      Cs = pm / std::pow(ym, 1.0 / n);
      yk = std::pow(Cs / kx, n / (n - 1.0));
      lines = !std::isfinite(n) || !std::isfinite(Cs) || !std::isfinite(yk);
    }
  }
  double curve(double y) const {
    if (lines) return std::min(kx * y, pu);
    double p;
    if (y > yk) {
      if (y > yu)
        p = pu;
      else if (y > ym)
        p = pm + sl * (y - ym);
      else
        p = Cs * std::pow(y, 1.0 / n);
    } else {
      p = kx * y;
    }
    return std::min(p, kx * y);
  }
  double es0() const { return kx; }
  void pusum(const PyNode& nd) {
    if (nd.first) acc = 0.0;
    const double fl = m.FREELEN(nd.g);
    if (nd.L == 1 && fl <= 0.0 && acc <= 0.0) acc = -0.5 * pu * fl;
    if (!(nd.first && nd.L >= 2)) acc += 0.5 * nd.h * (pprev + pu);
    if (nd.last) acc += (m.LBOT(nd.L) - nd.d) * pu;
    pprev = pu;
    if (nd.L == 1 && fl < -f32(1.0e-5f))
      acc = 0.5 * (3.0 * c * nd.D + pu) * (m.LBOT(1) - m.LTOP(1));
    m.PUSUM(nd.g, nd.L) = acc;
  }
  int deflist(const PyNode& nd, double* yl) const { return sand_list(nd.D, yl); }
  void heading(const PyNode& nd) {
    TextFile& e = m.ECHO;
    // The last column is titled "Pu" and the phi sign of the report's code page.
    api_block(m, nd, w.phi, gam, A, B, "Puc", "Pu\xED", puc, puphi);
    e.nl();
    point_heading_yp(m, 37);
    eq_depth_line(m, nd.xe);
    e.nl();
    point_heading_yp(m, 37);
  }
  void point_out(const PyNode& nd, int i, double y, double py, double pp, double pc, double) {
    unfactored_point_out(m, nd, i, y, py, pp, pc);
  }
};

}  // namespace

void PYSILT(Model& m, int t, int L, int& status, int g, int gf, const NodeArr& y, NodeArr& Es,
            const NodeArr& smy, const NodeArr& smz, NodeArr& psm, NodeArr& p) {
  Silt c(m);
  py_frame(m, c, t, L, status, g, gf, y, Es, smy, smz, psm, p);
}

}  // namespace torva
