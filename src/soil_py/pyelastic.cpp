// Elastic subgrade: p = Es D y, limited to ST D when the yield stress ST is positive.
#include "soil_py/pyframe.h"

namespace torva {
namespace {

using namespace pyf;

struct Elastic : PyCrit<Elastic> {
  [[maybe_unused]] static constexpr int code = 12, plot = 6;
  static constexpr bool eqdepth = false;
  int gf;
  double ST = 0, Esub = 0, k = 0, yu = 0, pu = 0, e0 = 0;
  Elastic(Model& mm, int gfrow) : PyCrit(mm), gf(gfrow) {}

  bool soil(const PyNode& nd, int& status) {
    ST = COHESION(m, nd.d, status);
    if (status != 0) return false;
    Esub = KDEP(m, nd.d);
    GAMAVG(m, nd.d, status);
    return status == 0;
  }
  void constants(const PyNode& nd) {
    k = Esub * nd.D;
    yu = ST > 0.0 ? ST / Esub : 0.0;
    pu = ST * nd.D;
    e0 = k / m.YMULT(gf);
  }
  double curve(double y) const {
    if (ST > 0.0 && y >= yu) return pu;
    return k * y;
  }
  // Below SMALL (and at y = 0) the modulus is the initial slope without the p-multiplier.
  double es0() const { return e0; }
  int deflist(const PyNode& nd, double* yl) const {
    const double s = ST > 0.0 ? yu / 10.0 : nd.D * f32(0.003125f);
    for (int i = 1; i <= 17; ++i) yl[i - 1] = (i - 1) * s;
    return 17;
  }
  void heading(const PyNode& nd) {
    TextFile& e = m.ECHO;
    e.nl();
    e.X(10).A("DEPTH BELOW GS").X(5).A("DIAM").X(8).A("ST").X(11).A("ES").nl();
    e.X(16).A(m.UDEP2.view()).X(12).A(m.USML2.view()).X(6).A(stress_lab(m)).X(5)
        .A(modulus_lab(m)).nl();
    e.X(10).F(TOFT(m, nd.x), 10, 2).X(5).F(TOMM(m, nd.D), 10, 3).E(ST, 11, 2).X(3)
        .E(Esub, 11, 2).nl();
    e.nl();
    point_heading_yp(m, 38);
    depth_record(m, nd.d);
  }
  void point_out(const PyNode& nd, int i, double, double py, double pp, double, double) {
    point_out_trail(nd, i, py, pp);
  }
};

}  // namespace

void PYELASTIC(Model& m, int t, int L, int& status, int g, int gf, const NodeArr& y, NodeArr& Es,
               const NodeArr& smy, const NodeArr& smz, NodeArr& psm, NodeArr& p) {
  Elastic c(m, gf);
  py_frame(m, c, t, L, status, g, gf, y, Es, smy, smz, psm, p);
}

}  // namespace torva
