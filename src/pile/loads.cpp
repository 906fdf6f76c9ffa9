#include "pile/loads.h"

#include <algorithm>
#include <cmath>

#include "soil_py/pycurve.h"

namespace torva {

namespace {

constexpr double kPi = 3.141592653589793;
constexpr double kCurveEps = double(1e-8f);  // end-point tolerance of a load curve

// Storage columns of a concentrated load LOAD(c,n,k).
enum { LFX = 1, LFY = 2, LMZ = 3, LFZ = 4, LMY = 5, LMX = 6, LPX = 7, LPY = 8, LPZ = 9 };

// r x F about the origin for a force F applied at (X, Y, Z): moments about X, Y, Z.
void add_moment(Vec6& R, double X, double Y, double Z, double FX, double FY, double FZ) {
  R(4) += Y * FZ - Z * FY;
  R(5) += Z * FX - X * FZ;
  R(6) += X * FY - Y * FX;
}

void zero(Vec6& v) {
  for (int k = 1; k <= 6; ++k) v(k) = 0.0;
}

// Lateral part of a horizontal load on a 2-D pile battered by b from the vertical: the
// cosine of the batter, written as the sine of the complement.
double lateral_2d(double b, double q) { return q * std::sin(kPi / 2.0 - b); }

}  // namespace

void LOADORIG(const Model& m, int c, Vec6& R) {
  zero(R);
  const int nconc = m.CASINT(c, 15);
  if (m.IDISP(c) == 1 || nconc <= 0) return;
  const double s = m.CASREAL(c, 5);
  for (int n = 1; n <= nconc; ++n) {
    const double FX = m.LOAD(c, n, LFX), FY = m.LOAD(c, n, LFY);
    const double X = m.LOAD(c, n, LPX), Y = m.LOAD(c, n, LPY);
    R(1) += FX;
    R(2) += FY;
    if (m.NDIM == 2) {
      R(6) += m.LOAD(c, n, LMZ) + X * FY - Y * FX;
    } else {
      const double FZ = m.LOAD(c, n, LFZ), Z = m.LOAD(c, n, LPZ);
      R(3) += FZ;
      R(4) += m.LOAD(c, n, LMX);
      R(5) += m.LOAD(c, n, LMY);
      R(6) += m.LOAD(c, n, LMZ);
      add_moment(R, X, Y, Z, FX, FY, FZ);
    }
  }
  for (int k = 1; k <= 6; ++k) R(k) *= s;
}

void COMBORIG(const Model& m, int j, Vec6& R) {
  zero(R);
  for (int n = 1; n <= m.CBINT(j, 8); ++n) {
    Vec6 r;
    LOADORIG(m, m.MEMCASE(j, n), r);
    for (int k = 1; k <= 6; ++k) R(k) += m.MEMFAC(j, n) * r(k);
  }
}

void DISPLOAD(const Model& m, int c, Vec6& FO, Vec6& FP, Vec6& UP, Vec6& P, IVec6& K) {
  zero(FO);
  zero(FP);
  zero(UP);
  zero(P);
  if (m.IDISP(c) == 0) return;
  // Pair d of SPVAL (storage order X, Y, rot Z, Z, rot Y, rot X): displacement 2d-1,
  // load 2d. The condition code keeps the prescribed one of the two.
  double u[7], F[7];
  for (int d = 1; d <= 6; ++d) {
    u[d] = m.SPVAL(c, 2 * d - 1);
    F[d] = m.SPVAL(c, 2 * d);
    const int code = m.ICOND(c, d);
    if (code == 0) F[d] = 0.0;
    if (code == 1) u[d] = 0.0;
  }
  const double X = m.SPVAL(c, 13), Y = m.SPVAL(c, 14);
  if (m.NDIM == 2) {
    K(1) = m.ICOND(c, 1);
    K(2) = m.ICOND(c, 2);
    K(6) = m.ICOND(c, 3);
    FO(1) = F[1];
    FO(2) = F[2];
    FO(6) = F[3] + X * F[2] - Y * F[1];
    FP(1) = F[1];
    FP(2) = F[2];
    FP(3) = F[3];
    UP(1) = u[1];
    UP(2) = u[2];
    UP(6) = u[3];
    P(1) = X;
    P(2) = Y;
  } else {
    const double Z = m.SPVAL(c, 15);
    // Global order X, Y, Z, rot X, rot Y, rot Z from storage pairs 1, 2, 4, 6, 5, 3.
    static constexpr int kFromStorage[7] = {0, 1, 2, 4, 6, 5, 3};
    for (int k = 1; k <= 6; ++k) {
      const int d = kFromStorage[k];
      K(k) = m.ICOND(c, d);
      FP(k) = F[d];
      UP(k) = u[d];
    }
    for (int k = 1; k <= 6; ++k) FO(k) = FP(k);
    add_moment(FO, X, Y, Z, FP(1), FP(2), FP(3));
    P(1) = X;
    P(2) = Y;
    P(3) = Z;
  }
  const double s = m.CASREAL(c, 5);
  for (int k = 1; k <= 6; ++k) {
    FO(k) *= s;
    FP(k) *= s;
    UP(k) *= s;
  }
}

void CLRLOAD(Model& m) {
  // A row's load table is written (and read) over its DLNODES nodes only: the rest of the
  // table is still zero.
  for (int g = 1; g <= m.NROW; ++g) {
    for (int k = 1; k <= std::min(m.DLNODES(g), MAXDLNODE); ++k) {
      m.DLWY(g, k) = 0.0;
      m.DLWZ(g, k) = 0.0;
    }
    m.DLAXIAL(g) = 0.0;
    m.DLNODES(g) = 0;
  }
}

void CASELOAD(Model& m, int c) {
  m.IAXDL = 0;
  CLRLOAD(m);
  ADDDLOAD(m, c, m.CASREAL(c, 5));
}

void COMBLOAD(Model& m, int j) {
  m.IAXDL = 0;
  CLRLOAD(m);
  for (int n = 1; n <= m.CBINT(j, 8); ++n) {
    const int c = m.MEMCASE(j, n);
    ADDDLOAD(m, c, m.CASREAL(c, 5) * m.MEMFAC(j, n));
  }
}

double DLCURVE(const Model& m, int i, double s) {
  if (i <= 0) return 0.0;
  const int np = m.NPDC(i);
  if (np <= 1) return 0.0;
  if (std::fabs(s - m.DCDEP(i, 1)) < kCurveEps) return m.DCVAL(i, 1);
  if (std::fabs(s - m.DCDEP(i, np)) < kCurveEps) return m.DCVAL(i, np);
  if (s < m.DCDEP(i, 1) || s > m.DCDEP(i, np)) return 0.0;
  for (int p = 2; p <= np; ++p) {
    const double d0 = m.DCDEP(i, p - 1), d1 = m.DCDEP(i, p);
    if (d1 > s) {
      const double v0 = m.DCVAL(i, p - 1), v1 = m.DCVAL(i, p);
      return v0 + (v1 - v0) / (d1 - d0) * (s - d0);
    }
  }
  return 0.0;  // depths that do not increase: nothing between the end points
}

double GLOBAL2LOCAL(double A, double B, double T, double qY, double qZ, double& ly, double& lz) {
  // Local y before the twist T is (-cos B, sin B cos A, sin B sin A), local z is
  // (0, -sin A, cos A) and the axis is (sin B, cos A cos B, sin A cos B).
  const double P = std::sin(B) * (qY * std::cos(A) + qZ * std::sin(A));
  const double Q = qZ * std::cos(A) - qY * std::sin(A);
  ly = std::cos(T) * P + std::sin(T) * Q;
  lz = -std::sin(T) * P + std::cos(T) * Q;
  return (qY * std::cos(A) + qZ * std::sin(A)) * std::cos(B);
}

void ADDDLOAD(Model& m, int c, double f) {
  m.PI = kPi;
  const int ndist = m.CASINT(c, 16);
  const bool axial_kept = m.CASINT(c, 14) == 1;
  for (int n = 1; n <= ndist; ++n) {
    // Axis code 0: the pile's local axes; any other code: the global axes.
    const bool global = m.DLINT(c, n, 2) != 0;
    const int from = m.DLINT(c, n, 3);
    const int to = m.DLINT(c, n, 4) == 0 ? from : m.DLINT(c, n, 4);
    int step = m.DLINT(c, n, 5);
    const int iy = m.DLINT(c, n, 6), iz = m.DLINT(c, n, 7);
    const double vY = m.DLFY(c, n) * f, vZ = m.DLFZ(c, n) * f;
    const int lo = std::min(from, to), hi = std::max(from, to);
    // Without a step a line loads its first and last row only.
    if (step == 0) step = lo == hi ? 1 : hi - lo;
    // The walk in a wider type: a step of any size ends it without overflow.
    for (long long at = lo; at <= hi && at > 0; at += step) {
      const int w = int(at);
      const int t = m.PTYPE(w);
      const int nseg = m.NSEG(t);
      TORVA_ASSERT(w <= m.NROW && nseg >= 1 && nseg <= MAXSEG,
                   "distributed load on a row the input checks refuse");
      const double dl = m.PILELEN(t) / nseg;
      const int N = nseg + 1;
      m.DLNODES(w) = N;
      double s = 0.0, qYprev = 0.0, qZprev = 0.0;
      for (int k = 1; k <= N; ++k, s += dl) {
        m.DLPOS(w, k) = s;
        const double qY = vY * DLCURVE(m, iy, s);
        if (m.NDIM != 2) {
          const double qZ = vZ * DLCURVE(m, iz, s);
          if (!global) {
            m.DLWY(w, k) += qY;
            m.DLWZ(w, k) += qZ;
          } else {
            double ly, lz;
            GLOBAL2LOCAL(m.ALPHA(w), m.BETA(w), m.THETA(w), qY, qZ, ly, lz);
            m.DLWY(w, k) += ly;
            m.DLWZ(w, k) += lz;
            if (axial_kept && k > 1) {
              // Trapezoid over the segment ending at node k.
              const double A = m.ALPHA(w), B = m.BETA(w);
              m.IAXDL = 1;
              m.DLAXIAL(w) += ((qYprev + qY) * std::cos(A) + (qZprev + qZ) * std::sin(A)) *
                              std::cos(B) * dl / 2.0;
            }
          }
          qZprev = qZ;
        } else if (!global) {
          m.DLWY(w, k) += qY;
        } else {
          m.DLWY(w, k) += lateral_2d(m.BATTER(w), qY);
          if (axial_kept && k > 1) {
            m.IAXDL = 1;
            m.DLAXIAL(w) += (qYprev + qY) * dl / 2.0 * std::cos(kPi / 2.0 - m.BATTER(w));
          }
        }
        qYprev = qY;
      }
    }
  }
}

void DLOADORIG(Model& m, Vec6& R) {
  m.PI = kPi;
  if (m.IAXDL <= 0 || m.NROW <= 0) return;
  for (int g = 1; g <= m.NROW; ++g) {  // the cap pseudo row carries no distributed load
    const double F = m.DLAXIAL(g);
    const double X = m.CORX(g), Y = m.CORY(g);
    if (m.NDIM == 2) {
      const double b = m.BATTER(g);
      const double FX = F * std::sin(kPi / 2.0 - b), FY = F * std::cos(kPi / 2.0 - b);
      R(1) += FX;
      R(2) += FY;
      R(6) += X * FY - Y * FX;
    } else {
      const double A = m.ALPHA(g), B = m.BETA(g);
      const double FX = F * std::sin(B), FY = F * std::cos(A) * std::cos(B),
                   FZ = F * std::sin(A) * std::cos(B);
      R(1) += FX;
      R(2) += FY;
      R(3) += FZ;
      add_moment(R, X, Y, m.CORZ(g), FX, FY, FZ);
    }
  }
}

// Soil movement, one rule for the whole engine:
//  - depth: SMPD holds the movement depths as given, in the vertical X coordinate of the
//    soil layers and of the node depths DEPN, so the node lookup compares like with like;
//  - direction: resolved into the pile's local y and z here, once, with the same
//    transformation as the global distributed loads (the twist THETA included);
//  - load factor: SMPY and SMPZ are the movements as read (SMY0, SMZ0), i.e. at full load;
//    the node lookup multiplies by the current load factor TCURSM, once, and applies no
//    further direction factor.
void SMOVEPILE(Model& m, int g) {
  const int n = m.NSMPT;
  if (n < 1) return;
  for (int p = 1; p <= n; ++p) {
    m.SMPD(g, p) = m.SMDEP(p);
    if (m.NDIM == 2) {
      m.SMPY(g, p) = lateral_2d(m.BATTER(g), m.SMY0(p));
      m.SMPZ(g, p) = 0.0;
    } else {
      double ly, lz;
      GLOBAL2LOCAL(m.ALPHA(g), m.BETA(g), m.THETA(g), m.SMY0(p), m.SMZ0(p), ly, lz);
      m.SMPY(g, p) = ly;
      m.SMPZ(g, p) = lz;
    }
  }
}

void SETCURCASE(Model& m, int c) {
  renew_py_constants(m);
  m.CYCLES = double(m.CASINT(c, 5));
  m.ISTATIC = m.CASINT(c, 4);
  m.NTHREQ = m.CASINT(c, 3);
  m.MAXITFND = m.CASINT(c, 6);
  m.MAXITLLP = m.CASINT(c, 7);
  m.IPRTOPT = m.CASINT(c, 18);
  m.NPRSTEP = m.CASINT(c, 19);
  m.IALTTOL = m.CASINT(c, 20);
  m.IAXVAR = m.CASINT(c, 21);
  m.IEIPREV = m.CASINT(c, 51);
  m.TOLCAP = m.CASREAL(c, 1);
  m.TOLPILE = m.CASREAL(c, 2);
  m.FACINC = m.CASREAL(c, 3);
  m.FACMIN = m.CASREAL(c, 4);
  m.TOLCAPD = m.CASREAL(c, 6);
  m.TOLCAPR = m.CASREAL(c, 7);
  m.RFBEND = 1.0;
  m.RFSHEAR = 1.0;
  m.ICOMB = 0;
  m.NTHUSE = 1;
}

void SETCURCOMB(Model& m, int j) {
  renew_py_constants(m);
  m.CYCLES = double(m.CBINT(j, 5));
  m.ISTATIC = m.CBINT(j, 4);
  m.NTHREQ = m.CBINT(j, 3);
  m.MAXITFND = m.CBINT(j, 6);
  m.MAXITLLP = m.CBINT(j, 7);
  m.IPRTOPT = m.CBINT(j, 9);
  m.NPRSTEP = m.CBINT(j, 10);
  m.IALTTOL = m.CBINT(j, 11);
  m.IAXVAR = m.CBINT(j, 12);
  m.IEIPREV = m.CBINT(j, 41);
  m.TOLCAP = m.CBREAL(j, 1);
  m.TOLPILE = m.CBREAL(j, 2);
  m.FACINC = m.CBREAL(j, 3);
  m.FACMIN = m.CBREAL(j, 4);
  m.TOLCAPD = m.CBREAL(j, 7);
  m.TOLCAPR = m.CBREAL(j, 8);
  m.RFBEND = m.CBREAL(j, 5);
  m.RFSHEAR = m.CBREAL(j, 6);
  m.ICOMB = j;
  m.NTHUSE = 1;
}

}  // namespace torva
