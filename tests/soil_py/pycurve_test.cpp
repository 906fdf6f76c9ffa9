// The p-y dispatcher: a row without soil layers, and a layer of user p-y curves.
#include <gtest/gtest.h>

#include "model/messages.h"
#include "pyfixture.h"

namespace torva {
namespace {

using pytest::PyModel;

// An analysis evaluation has no soil to take the springs from: it stops with the no-soil
// status and message instead of returning a row on no springs. The print and plot modes
// only find no curve to write.
TEST(PyCurve, NoSoilLayersStopsAnAnalysisEvaluation) {
  PyModel pm(10, 240.0, 24.0);
  pm.Es.fill(7.0);
  RowCapture cap;
  {
    CaptureScope scope(cap);
    pm.eval(0.1);
  }
  EXPECT_EQ(pm.status, ST_NOSOIL);
  ASSERT_EQ(cap.lines.size(), 10u);
  EXPECT_EQ(cap.lines[3].second, "     NO SOIL LAYERS ARE DEFINED, BUT PILE-GROUP ROW    1");
  EXPECT_EQ(pm.Es(1), 7.0);  // left to the caller, which stops on the status
  pm.status = 0;
  pm.m.IPYPRT = 1;
  pm.m.IPLOT = 1;
  pm.m.IPLTGS = 0;
  pm.eval(0.0);
  EXPECT_EQ(pm.status, 0);
  EXPECT_EQ(pm.m.IPLTGS, 0);
}

// A layer of user p-y curves whose last curve lies at the pile tip: the tip node's depth,
// a sum of rounded segment lengths as the node layout makes it, lands one rounding step
// past the curve for 7.0 m and 13.1 m (100 segments) and on it for 10.0 m; the tip takes
// the last curve alone.
// Curve 1 at the head p = 100 y, curve 2 at the tip p = 300 y (to y = 10).
TEST(PyCurve, UserCurvesEndingAtTheTipReachTheTipNode) {
  for (const double L : {7.0, 13.1, 10.0}) {
    SCOPED_TRACE(L);
    PyModel pm(100, L, 0.5, 2);
    Model& m = pm.m;
    for (int n = 2; n <= 101; ++n) m.DEPN(1, n) = m.DEPAX(1, n) = m.DEPN(1, n - 1) + L / 100;
    pm.layer(0.0, L + 1.0, 5, pytest::SoilPt{});
    m.PYSETG(1) = 1;
    m.NCRVPY(1) = 2;
    for (int c = 1; c <= 2; ++c) {
      m.PYDEP(1, c) = c == 1 ? 0.0 : L;
      m.NPTPY(1, c) = 2;
      m.PYY(1, c, 2) = 10.0;
      m.PYP(1, c, 2) = c == 1 ? 1000.0 : 3000.0;
    }
    RowCapture cap;
    {
      CaptureScope scope(cap);
      pm.eval(0.5);
    }
    EXPECT_EQ(pm.status, 0);
    EXPECT_TRUE(cap.lines.empty());
    EXPECT_NEAR(pm.Es(101), 300.0, 1e-9);
    EXPECT_NEAR(pm.p(101), -150.0, 1e-9);
  }
}

}  // namespace
}  // namespace torva
