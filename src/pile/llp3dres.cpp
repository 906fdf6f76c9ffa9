// Results of a closed lateral pile shape (3-D) and their store.
#include <cmath>

#include "pile/axforce.h"
#include "pile/llp3d.h"
#include "pile/matinv.h"
#include "pile/piletorq.h"
#include "soil/lookups.h"

namespace torva {

void ROTPILE(const Model& m, int g, double x, double y, double z, double& X, double& Y,
             double& Z) {
  const double a = m.ALPHA(g), b = m.BETA(g), t = m.THETA(g);
  const double y1 = y * std::cos(t) - z * std::sin(t);
  const double z1 = y * std::sin(t) + z * std::cos(t);
  X = x * std::sin(b) - y1 * std::cos(b);
  const double w = x * std::cos(b) + y1 * std::sin(b);
  Y = w * std::cos(a) - z1 * std::sin(a);
  Z = w * std::sin(a) + z1 * std::cos(a);
}

void LLP3DRES(Model& m, int g, double P, double Tq, double Vy, double Vz, double My, double Mz,
              const double u[6], const double QT[36], const NodeVec& MOV, const NodeVec& FAX,
              Llp3dScratch& s) {
  const int t = m.PTYPE(g);
  const int n = m.NSEG(t);
  const double h = m.PILELEN(t) / n;
  const int N = n + 4;

  if (m.IOPASS == 2) {  // equivalent stiffnesses of the pile
    constexpr double tiny = 1.0e-14;
    m.EQTOP(g, 1) = P;
    // With no axial movement (or rotation) the slope of the curve next to the origin,
    // scaled like the head force by the row's axial-load factor.
    m.EQTOP(g, 2) = std::abs(u[0]) > tiny ? P / u[0] : AXSLOPE(m, g, 1) * m.AXFAC(g);
    m.EQTOP(g, 3) = std::abs(u[3]) > tiny ? Tq / u[3] : TRSLOPE(m, g, 1);
    m.EQDEPN(g, 0) = h;
    for (int mm = 4; mm <= N; ++mm) {
      m.EQDEPN(g, mm) = (mm - 4) * h;
      const double yy = s.y(mm), zz = s.z(mm);
      m.EQKN(g, mm) = std::abs(yy) > tiny ? s.Es(mm) * yy / yy : 0.0;
      m.EQKN2(g, mm) = std::abs(zz) > tiny ? s.Es(mm) * zz / zz : 0.0;
    }
    return;
  }

  // Node quantities, in the order of the result store.
  NodeVec* q = s.res;
  for (int k = 0; k < NNODEQ; ++k) q[k].fill(0.0);
  NodeVec &qmov = q[0], &qy = q[1], &qz = q[2], &qr = q[3], &gX = q[4], &gY = q[5], &gZ = q[6],
          &gR = q[7], &mY = q[8], &mZ = q[9], &mR = q[10], &fY = q[11], &fZ = q[12], &fR = q[13],
          &pY = q[14], &pZ = q[15], &pR = q[16], &fax = q[17], &sig = q[18], &eiz = q[19],
          &eiy = q[20], &dly = q[21], &dlz = q[22], &rM = q[23], &rV = q[24];

  const double h2 = h * h;
  // Slopes and moments (moments with the sign of the head moments), then shears.
  NodeVec &thy = s.um, &thz = s.Espm;  // scratch reused for the slopes
  for (int mm = 4; mm <= N + 1; ++mm) {
    thy(mm) = (s.y(mm + 1) - s.y(mm - 1)) / (2.0 * h);
    thz(mm) = (s.z(mm + 1) - s.z(mm - 1)) / (2.0 * h);
    mY(mm) = -s.EIz(mm) * (s.y(mm - 1) - 2.0 * s.y(mm) + s.y(mm + 1)) / h2;
    mZ(mm) = -s.EIy(mm) * (s.z(mm - 1) - 2.0 * s.z(mm) + s.z(mm + 1)) / h2;
  }
  mY(N) = mZ(N) = 0.0;  // the tip carries no moment
  fY(4) = s.Pax(4) * thy(4) - (mY(5) - mY(4)) / h;
  fZ(4) = s.Pax(4) * thz(4) - (mZ(5) - mZ(4)) / h;
  for (int mm = 5; mm <= N; ++mm) {
    fY(mm) = s.Pax(mm) * thy(mm) - (mY(mm + 1) - mY(mm - 1)) / (2.0 * h);
    fZ(mm) = s.Pax(mm) * thz(mm) - (mZ(mm + 1) - mZ(mm - 1)) / (2.0 * h);
  }
  const bool combination = m.ICOMB != 0;
  constexpr double cap_tiny = double(1.0e-14f);
  for (int mm = 4; mm <= N; ++mm) {
    const int k = mm - 3;
    const double x = m.DEPAX(g, k);
    // Soil reactions: the spring forces of the analysis, Es times the pile's movement
    // relative to the soil (the deflection itself where the soil does not move).
    pY(mm) = s.Es(mm) * (s.y(mm) - s.smy(k));
    pZ(mm) = s.Es(mm) * (s.z(mm) - s.smz(k));
    // Extreme-fibre bending stresses of the two planes combined, plus the axial stress;
    // a section without area or inertia contributes no stress.
    const double D = SECDIAM(m, g, t, x);
    const double iz = SECIZ(m, g, t, x), iy = SECIY(m, g, t, x), A = SECAREA(m, g, t, x);
    const double sy = iz > 0.0 ? mY(mm) * D / (2.0 * iz) : 0.0;
    const double sz = iy > 0.0 ? mZ(mm) * D / (2.0 * iy) : 0.0;
    sig(mm) = (A > 0.0 ? std::abs(s.Pax(mm)) / A : 0.0) + std::sqrt(sy * sy + sz * sz);
    if (combination) {  // capacity ratios are kept for load combinations only
      const double mn = SECMN(m, g, t, x), vn = SECVN(m, g, t, x);
      if (mn > cap_tiny && m.RFBEND != 0.0)
        rM(mm) = std::sqrt(mY(mm) * mY(mm) + mZ(mm) * mZ(mm)) / mn / m.RFBEND;
      if (vn > cap_tiny && m.RFSHEAR != 0.0)
        rV(mm) = std::sqrt(fY(mm) * fY(mm) + fZ(mm) * fZ(mm)) / vn / m.RFSHEAR;
    }
  }

  // Pile-top values: f is the force the pile carries at its head.
  const double f[6] = {P, Vy, Vz, Tq, -Mz, My};
  double UG[6], FG[6];
  MATVEC6(UG, QT, u);
  MATVEC6(FG, QT, f);
  PILEENV(m, g, sig(4), UG, u, FG, f);

  const bool axdist = m.IAXVAR != 0 && m.LSNO(g) <= 0;
  for (int mm = 4; mm <= N; ++mm) {
    mY(mm) = -mY(mm);  // stored as +EI y''
    mZ(mm) = -mZ(mm);
    qy(mm) = s.y(mm);
    qz(mm) = s.z(mm);
    qr(mm) = VLEN2(s.y(mm), s.z(mm));
    mR(mm) = VLEN2(mY(mm), mZ(mm));
    fR(mm) = VLEN2(fY(mm), fZ(mm));
    pR(mm) = VLEN2(pY(mm), pZ(mm));
    qmov(mm) = axdist ? MOV(mm) : 0.0;
    fax(mm) = axdist ? FAX(mm) : P;
    ROTPILE(m, g, qmov(mm), s.y(mm), s.z(mm), gX(mm), gY(mm), gZ(mm));
    gR(mm) = VLEN2(gY(mm), gZ(mm));
    eiz(mm) = s.EIz(mm);
    eiy(mm) = s.EIy(mm);
    dly(mm) = s.qy0(mm);
    dlz(mm) = s.qz0(mm);
  }
  // Quantities 12 and 13 beyond the tip, and the slopes, are not stored.
  const NodeVec* const A[NNODEQ] = {&q[0],  &q[1],  &q[2],  &q[3],  &q[4],  &q[5],  &q[6],
                                    &q[7],  &q[8],  &q[9],  &q[10], &q[11], &q[12], &q[13],
                                    &q[14], &q[15], &q[16], &q[17], &q[18], &q[19], &q[20],
                                    &q[21], &q[22], &q[23], &q[24]};
  PACKNODE(s.block, A);
  NODEENV(m, g, N, m.NDIM, h, s.block);
}

}  // namespace torva
