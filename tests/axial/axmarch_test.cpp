// The tip-up load-transfer march against the closed form of an elastic bar on linear
// springs, and its bounded segment iteration.
#include <gtest/gtest.h>

#include <cmath>

#include "axial/axdist.h"

namespace torva {
namespace {

// A bar of length L, stiffness AE, on uniform linear side springs of modulus ks (unit side
// load per movement) over the perimeter p, with a linear tip spring kt: the head stiffness
// is AE lam (sinh lam L + b cosh lam L) / (cosh lam L + b sinh lam L), lam^2 = ks p / AE,
// b = kt / (AE lam).
double head_stiffness(double L, double AE, double ks, double p, double kt) {
  const double lam = std::sqrt(ks * p / AE), b = kt / (AE * lam), x = lam * L;
  return AE * lam * (std::sinh(x) + b * std::cosh(x)) / (std::cosh(x) + b * std::sinh(x));
}

// Work set with linear t-z curves (t = ks z over a long range) at two depth points that
// enclose the pile, and a constant AE.
void linear_work(AXWORK& w, double ks, double AE, double L) {
  w.NDP = 2;
  for (int k = 1; k <= 2; ++k) {
    w.DPX(k) = k == 1 ? -1.0 : 2.0 * L;
    for (int j = 1; j <= NTZPT; ++j) {
      w.DPZ(k, j) = 1.0e5 * (j - 1);
      w.DPT(k, j) = ks * w.DPZ(k, j);
    }
  }
  w.NSTIF = 2;
  w.SECZ(1) = 0.0;
  w.SECZ(2) = L;
  w.SECAE(1) = w.SECAE(2) = AE;
}

TEST(AxMarch, ElasticBarOnLinearSpringsConverges) {
  const double L = 600.0, AE = 2.0e6, ks = 0.5, p = 10.0, kt = 300.0, w0 = 50.0;
  AXWORK w{};
  linear_work(w, ks, AE, L);
  const double exact = head_stiffness(L, AE, ks, p, kt);
  double prevErr = 1e30;
  for (int nseg : {5, 20, 80}) {
    NodeArr P{}, W{};
    const int stalled = AXMARCH(w, nseg, L / nseg, L, L / nseg, L, p, 1.0, kt * w0, w0, P, W);
    EXPECT_EQ(stalled, 0);
    const double err = std::abs(P(nseg + 1) / W(nseg + 1) / exact - 1.0);
    EXPECT_LT(err, prevErr) << nseg;
    prevErr = err;
  }
  EXPECT_LT(prevErr, 2e-3);
}

TEST(AxMarch, RigidSpringlessBarCarriesTipLoad) {
  // No side springs: the head carries the tip load and moves by the tip movement plus the
  // elastic shortening P L / AE.
  const double L = 400.0, AE = 1.0e5;
  AXWORK w{};
  linear_work(w, 0.0, AE, L);
  NodeArr P{}, W{};
  AXMARCH(w, 10, 40.0, L, 40.0, L, 5.0, 1.0, 250.0, 0.3, P, W);
  EXPECT_DOUBLE_EQ(P(11), 250.0);
  EXPECT_NEAR(W(11), 0.3 + 250.0 * L / AE, 1e-12);
}

TEST(AxMarch, OscillatingSegmentIsBoundedAndCounted) {
  // A t-z curve that drops from a large load to nothing past its peak makes the middle
  // movement swing between two values; the march stops after MAXSEGIT repetitions and says so.
  AXWORK w{};
  linear_work(w, 0.0, 1.0, 100.0);
  for (int k = 1; k <= 2; ++k) {
    const double z[NTZPT] = {0, 0.5, 0.50001, 0.7, 1.0, 1e3, 2e3, 3e3, 4e3, 5e3};
    const double t[NTZPT] = {0, 0, 10, 10, 0, 0, 0, 0, 0, 0};
    for (int j = 1; j <= NTZPT; ++j) {
      w.DPZ(k, j) = z[j - 1];
      w.DPT(k, j) = t[j - 1];
    }
  }
  NodeArr P{}, W{};
  const int stalled = AXMARCH(w, 1, 1.0, 100.0, 1.0, 100.0, 1.0, 1.0, 0.0, 0.6, P, W);
  EXPECT_EQ(stalled, 1);
  EXPECT_TRUE(std::isfinite(W(2)));
}

}  // namespace
}  // namespace torva
