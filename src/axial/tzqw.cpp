#include "axial/tzqw.h"

#include <cmath>

#include "model/model.h"

namespace torva {

namespace {

// Normalised shapes: movement ratio and load ratio of points 1 to 10. The constants are
// single-precision values widened to double.
constexpr float kZrDS[NTZPT] = {0.0f,   0.001f, 0.002f, 0.003f, 0.005f,
                                0.006f, 0.008f, 0.012f, 0.016f, 0.1f};
constexpr float kTrDSSand[NTZPT] = {0.0f,  0.335f, 0.58f,  0.72f, 0.86f,
                                    0.91f, 0.95f,  0.965f, 0.96f, 0.95f};
constexpr float kTrDSClay[NTZPT] = {0.0f,   0.51f,  0.72f,  0.90f, 0.925f,
                                    0.945f, 0.955f, 0.925f, 0.90f, 0.835f};
constexpr float kZrCZD[NTZPT] = {0.0f, 0.0016f, 0.0031f, 0.0057f, 0.008f,
                                 0.01f, 0.02f,  0.03f,   0.05f,   0.1f};
constexpr float kTrCZD[NTZPT] = {0.0f, 0.3f, 0.5f, 0.75f, 0.9f, 1.0f, 0.8f, 0.8f, 0.8f, 0.8f};
constexpr float kTrDPClay[NTZPT] = {0.0f, 0.18f, 0.38f, 0.79f, 0.97f,
                                    1.0f, 0.97f, 0.93f, 0.93f, 0.93f};
constexpr float kZDPClayIn[NTZPT] = {0.0f,  0.01f, 0.02f, 0.04f, 0.06f,
                                     0.08f, 0.12f, 0.16f, 0.5f,  10.0f};
constexpr float kZDPClayM[NTZPT] = {0.0f,      0.000254f, 0.000508f, 0.001016f, 0.001524f,
                                    0.002032f, 0.003048f, 0.004064f, 0.0127f,   0.254f};
constexpr float kZDPSandIn[NTZPT] = {0.0f,  0.01f, 0.02f, 0.04f, 0.06f,
                                     0.08f, 0.12f, 0.16f, 0.5f,  2.5f};

// Tip curves.
constexpr float kWDrivenSandIn[NTZPT] = {0.0f, 0.0001f, 0.005f, 0.01f, 0.05f,
                                         0.1f, 0.2f,    0.4f,   0.8f,  5.0f};
constexpr float kWDrivenSandM[NTZPT] = {0.0f,     2.54e-6f, 0.000127f, 0.000254f, 0.00127f,
                                        0.00254f, 0.00508f, 0.01016f,  0.02032f,  0.127f};
constexpr float kWrDrilled[NTZPT] = {0.0f,  0.005f, 0.01f, 0.015f, 0.025f,
                                     0.03f, 0.04f,  0.05f, 0.07f,  0.1f};
constexpr float kQrDrilledSand[NTZPT] = {0.0f,  0.175f, 0.345f, 0.485f, 0.65f,
                                         0.73f, 0.88f,  1.015f, 1.195f, 1.46f};
constexpr float kQrDrilledClay[NTZPT] = {0.0f, 0.395f, 0.56f, 0.70f, 0.865f,
                                         0.90f, 0.95f, 0.97f, 0.98f, 0.99f};
constexpr float kWrDrivenUser[NTZPT] = {0.0f, 0.002f, 0.013f, 0.042f, 0.073f,
                                        0.1f, 0.12f,  0.15f,  0.18f,  0.2f};
constexpr float kQrDrivenUser[NTZPT] = {0.0f, 0.25f, 0.5f, 0.75f, 0.9f,
                                        1.0f, 1.0f,  1.0f, 1.0f,  1.0f};

void scaled(int n, double D, TZTab& T, TZTab& Z, double tmax, const float* zr,
            const float* tr) {
  for (int j = 1; j <= NTZPT; ++j) {
    Z(n, j) = D * double(zr[j - 1]);
    T(n, j) = tmax * double(tr[j - 1]);
  }
}

}  // namespace

void TZDSSAND(int n, double D, TZTab& T, TZTab& Z, const DPArr& tmax) {
  scaled(n, D, T, Z, tmax(n), kZrDS, kTrDSSand);
}

void TZDSCLAY(int n, double D, TZTab& T, TZTab& Z, const DPArr& tmax) {
  scaled(n, D, T, Z, tmax(n), kZrDS, kTrDSClay);
}

void TZCLAYZD(int n, double D, TZTab& T, TZTab& Z, const DPArr& tmax) {
  scaled(n, D, T, Z, tmax(n), kZrCZD, kTrCZD);
}

void TZDPCLAY(const Model& m, int n, TZTab& T, TZTab& Z, const DPArr& tmax) {
  // Movements in inches for US customary input; metric for SI and generic input.
  const float* z = m.IUNITS == 1 ? kZDPClayIn : kZDPClayM;
  scaled(n, 1.0, T, Z, tmax(n), z, kTrDPClay);
}

void TZDPSAND(const Model& m, int n, TZTab& T, TZTab& Z, DPArr& tmax, const DPArr& phi) {
  if (tmax(n) <= double(1e-15f)) tmax(n) = double(0.001f);
  // Initial modulus of the hyperbola, pounds per square foot per inch of movement.
  const double f = phi(n);
  double k;
  if (f <= double(28.0f)) k = double(6000.0f);
  else if (f <= double(31.0f)) k = double(6000.0f) + double(1333.3f) * (f - double(28.0f));
  else if (f <= double(32.0f)) k = double(10000.0f);
  else if (f <= double(34.0f)) k = double(10000.0f) + double(2000.0f) * (f - double(32.0f));
  else if (f <= double(35.0f)) k = double(14000.0f);
  else if (f <= double(38.0f)) k = double(14000.0f) + double(1333.3f) * (f - double(35.0f));
  else k = double(18000.0f);
  T(n, 1) = 0.0;
  Z(n, 1) = 0.0;
  if (m.IUNITS == 1) {
    for (int j = 2; j <= NTZPT; ++j) {
      const double zi = double(kZDPSandIn[j - 1]);
      Z(n, j) = zi;
      T(n, j) = zi / (zi / tmax(n) + double(144.0f) / k);  // psi
    }
  } else {
    // Evaluated in pounds per square foot and inches, converted back to kPa and metres.
    const double psfPerKpa = double(20.88f);
    const double tp = psfPerKpa * tmax(n);
    for (int j = 2; j <= NTZPT; ++j) {
      const double zi = double(kZDPSandIn[j - 1]);
      T(n, j) = (zi / (zi / tp + 1.0 / k)) / psfPerKpa;
      Z(n, j) = double(0.0254f) * zi;
    }
  }
}

void TZSHAPE(const Model& m, int code, int kind, int n, double D, TZTab& T, TZTab& Z,
             DPArr& tmax, const DPArr& phi) {
  const bool sandLike = code == 4 || code == 7 || code == 8;
  if (kind == DRILLED) {
    if (sandLike || (code == 5 && phi(n) > 1.0)) TZDSSAND(n, D, T, Z, tmax);
    else TZDSCLAY(n, D, T, Z, tmax);
    return;
  }
  if (sandLike) TZDPSAND(m, n, T, Z, tmax, phi);
  else if (code == 5 || code == 12) TZCLAYZD(n, D, T, Z, tmax);
  else TZDPCLAY(m, n, T, Z, tmax);
}

bool QWSANDSET(int code) {
  switch (code) {
    case 1: case 2: case 3: case 5: case 6: case 10: case 13: case 14:
      return false;
    default:
      return true;
  }
}

double QWEXPONENT(double phiDeg) {
  if (phiDeg <= double(31.0f)) return double(0.5f);
  if (phiDeg <= double(38.0f)) return double(0.333f);
  return double(0.25f);
}

void QWTIP(const Model& m, int kind, int code, double K, double D, double Dl, double E50,
           double phiTip, QWArr& W, QWArr& Q) {
  const bool sand = QWSANDSET(code);
  if (kind == DRILLED) {
    const float* qr = sand ? kQrDrilledSand : kQrDrilledClay;
    for (int j = 1; j <= NTZPT; ++j) {
      W(j) = D * double(kWrDrilled[j - 1]);
      Q(j) = K * double(qr[j - 1]);
    }
    return;
  }
  if (sand) {
    // Power law of the tip movement over 5 per cent of the diameter; it keeps rising past
    // the capacity K at larger movements.
    const float* w = m.IUNITS == 2 ? kWDrivenSandM : kWDrivenSandIn;
    const double e = QWEXPONENT(phiTip);
    const double w5 = double(0.05f) * D;
    for (int j = 1; j <= NTZPT; ++j) {
      W(j) = double(w[j - 1]);
      Q(j) = j == 1 ? 0.0 : K * std::pow(W(j) / w5, e);
    }
    return;
  }
  if (code == 5) {
    for (int j = 1; j <= NTZPT; ++j) {
      W(j) = D * double(kWrDrivenUser[j - 1]);
      Q(j) = K * double(kQrDrivenUser[j - 1]);
    }
    return;
  }
  // Clay: q = 0.5 K sqrt(w / w50) up to the capacity at wf = 4 w50, flat beyond.
  const double w50 = 2.0 * Dl * E50;
  const double wf = 8.0 * Dl * E50;
  W(1) = 0.0;
  for (int j = 2; j <= 8; ++j) W(j) = double(j - 1) / 8.0 * wf;
  W(9) = wf;
  W(10) = 10.0 * wf;
  for (int j = 1; j <= 9; ++j) Q(j) = 0.5 * K * std::sqrt(W(j) / w50);
  Q(9) = K;
  Q(10) = K;
}

double TZREAD(const TZTab& T, const TZTab& Z, int n, double u) {
  if (u <= Z(n, 1)) return T(n, 1);
  for (int j = 2; j <= NTZPT; ++j) {
    if (u < Z(n, j)) {
      const double dz = Z(n, j) - Z(n, j - 1);
      if (dz <= 0.0) return T(n, j);
      return T(n, j - 1) + (u - Z(n, j - 1)) * (T(n, j) - T(n, j - 1)) / dz;
    }
  }
  return T(n, NTZPT);
}

double QWREAD(const QWArr& W, const QWArr& Q, double w) {
  if (w <= 0.0) return 0.0;
  int j = 2;
  while (j < NTZPT && !(w < W(j))) ++j;
  const double dw = W(j) - W(j - 1);
  if (dw <= 0.0) return Q(j);
  return Q(j - 1) + (w - W(j - 1)) * (Q(j) - Q(j - 1)) / dw;
}

}  // namespace torva
