// The p-y dispatcher of a row without soil layers.
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

}  // namespace
}  // namespace torva
