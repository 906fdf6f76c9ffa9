// Node layout of a pile row: depths, layer ranges and the deepest-layer failure.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <vector>

#include "model/messages.h"
#include "pile/node.h"
#include "pile_fixture.h"

namespace torva {
namespace {

// Row 1 on property 1: a pile of length L in 10 segments.
std::unique_ptr<Model> ten_segment_pile(double L) {
  auto m = new_model();
  testing::PileDef p;
  p.L = L;
  p.nseg = 10;
  testing::set_pile(*m, 1, 1, p);
  return m;
}

struct NodeCase {
  const char* name;
  double head;                // head X coordinate
  double L;                   // pile length, 10 segments
  std::vector<double> tops;   // layer tops; each layer ends at the next top, the last at 100
  std::vector<int> node1, node2;
  int status;
  int dim = 3;  // 3: NODE from CORX; 2: NODE2D from HEADDEP, with its own failure code
};

class NodeLayout : public ::testing::TestWithParam<NodeCase> {};

TEST_P(NodeLayout, RangesAndStatus) {
  const NodeCase& c = GetParam();
  auto m = ten_segment_pile(c.L);
  // The head of the other model lies far above: each layout starts from its own.
  m->CORX(1) = c.dim == 3 ? c.head : -999.0;
  m->HEADDEP(1) = c.dim == 2 ? c.head : -999.0;
  m->NLAYER = int(c.tops.size());
  for (int L = 1; L <= m->NLAYER; ++L) {
    m->LTOP(L) = c.tops[std::size_t(L - 1)];
    m->LBOT(L) = L < m->NLAYER ? c.tops[std::size_t(L)] : 100.0;
  }
  RowCapture cap;
  // NODE clears a stale code from an earlier evaluation of the same row; NODE2D leaves
  // the status word as it was unless it fails.
  int st = c.dim == 3 ? 7 : 0;
  {
    CaptureScope scope(cap);
    if (c.dim == 3)
      NODE(*m, 1, st);
    else
      NODE2D(*m, 1, st);
  }
  EXPECT_EQ(st, c.status);
  if (c.status == 0) {
    for (int L = 1; L <= m->NLAYER; ++L) {
      EXPECT_EQ(m->NODE1(1, L), c.node1[std::size_t(L - 1)]) << "layer " << L;
      EXPECT_EQ(m->NODE2(1, L), c.node2[std::size_t(L - 1)]) << "layer " << L;
    }
    EXPECT_EQ(m->DEPN(1, 11), m->DEPAX(1, 11));
  } else {
    ASSERT_EQ(cap.lines.size(), 12u);
    EXPECT_EQ(cap.lines[3].second, "     **** FATAL ERROR ****");
    EXPECT_EQ(cap.lines[4].second.substr(0, 22), "     THE PILE LENGTH, ");
    EXPECT_EQ(cap.lines[5].second, "     BOTTOM OF THE DEEPEST LAYER.");
    EXPECT_EQ(cap.lines[0].first, unsigned(TO_REPORT));
    EXPECT_EQ(cap.lines[6].first, unsigned(TO_RUNLOG));
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, NodeLayout,
    ::testing::Values(
        // Five thick layers, the pile ends in layer 2: layer 3 holds only the tip, layers
        // 4 and 5 nothing.
        NodeCase{"ends_in_layer_2", 0.0, 50.0, {0, 20, 60, 70, 80}, {1, 5, 11, 0, 0},
                 {4, 11, 11, 11, 11}, 0},
        // Head above the ground: the first nodes belong to no layer.
        NodeCase{"head_above_ground", -12.0, 50.0, {0, 20}, {4, 8}, {7, 11}, 0},
        // Several layer tops above one node: the layers begin at successive nodes.
        NodeCase{"thin_layers", 0.0, 50.0, {-3, -2, -1, 12}, {1, 2, 3, 4}, {1, 2, 3, 11}, 0},
        // A tip exactly at the bottom of the deepest layer is accepted.
        NodeCase{"tip_at_bottom", 0.0, 100.0, {0}, {1}, {11}, 0},
        // A tip below the deepest layer ends the analysis.
        NodeCase{"tip_below_bottom", 0.0, 100.001, {0}, {}, {}, ST_PILEDEEP},
        // The same in the 2-D model, which has its own code.
        NodeCase{"head_above_ground_2d", -12.0, 50.0, {0, 20}, {4, 8}, {7, 11}, 0, 2},
        NodeCase{"tip_below_bottom_2d", 0.0, 100.001, {0}, {}, {}, ST_PILEDEEP2D, 2}),
    [](const auto& pi) { return std::string(pi.param.name); });

// Forty thin layers, the most the tables hold: one layer begins per node, the next one
// at the tip, and nothing is written past the layer tables.
TEST(NodeLayoutFull, FortyLayers) {
  auto m = ten_segment_pile(50.0);
  m->NLAYER = MAXLAYER;
  for (int L = 1; L <= MAXLAYER; ++L) {
    m->LTOP(L) = 2.0 * (L - 1);
    m->LBOT(L) = 2.0 * L;
  }
  m->LBOT(MAXLAYER) = 100.0;
  int st = 0;
  NODE(*m, 1, st);
  ASSERT_EQ(st, 0);
  for (int L = 1; L <= 11; ++L) EXPECT_EQ(m->NODE1(1, L), L);
  EXPECT_EQ(m->NODE1(1, 12), 11);
  EXPECT_EQ(m->NODE1(1, 13), 0);
  EXPECT_EQ(m->NODE2(1, 10), 10);
  EXPECT_EQ(m->NODE2(1, 13), -1);
  EXPECT_EQ(m->NODE2(1, 25), 11);
  EXPECT_EQ(m->NODE2(1, MAXLAYER), 11);
}

// Battered pile with the projection option: depths step by h cos(batter), the axial
// coordinate by h; without the option both step by h. A user p-y row gets depths only.
TEST(NodeDepths, BatterAndUserCurves) {
  auto m = ten_segment_pile(10.0);
  m->BATTER(1) = 0.3;
  m->NLAYER = 1;
  m->LTOP(1) = 0.0;
  m->LBOT(1) = 5.0;  // shallower than the pile: only the user p-y row passes
  m->IPYUSER = 1;
  m->PYSETG(1) = 1;
  m->IBATTER = 1;
  m->NODE1(1, 1) = 9;
  int st = 0;
  NODE(*m, 1, st);
  EXPECT_EQ(st, 0);
  EXPECT_EQ(m->NODE1(1, 1), 0);
  EXPECT_NEAR(m->DEPN(1, 11), 10.0 * std::cos(0.3), 1e-12);
  EXPECT_NEAR(m->DEPAX(1, 11), 10.0, 1e-12);
  m->PYSETG(1) = 0;
  NODE(*m, 1, st);
  EXPECT_EQ(st, ST_PILEDEEP);
  m->LBOT(1) = 20.0;
  m->IBATTER = 0;
  int st2 = 5;
  NODE2D(*m, 1, st2);
  EXPECT_EQ(st2, 5) << "the 2-D layout leaves the status word as it was";
  EXPECT_EQ(m->DEPN(1, 11), m->DEPAX(1, 11));
}

// No soil layers: a row on user p-y curves gets its depths; a row whose p-y curves come
// from the soil is refused in both models with the no-soil message, and no layer range is
// written.
TEST(NodeLayoutNoSoil, UserRowPassesSoilRowIsRefused) {
  auto m = ten_segment_pile(10.0);
  m->NROW = 1;
  m->NLAYER = 0;
  m->IPYUSER = 1;
  m->PYSETG(1) = 1;
  int st = 7;
  NODE(*m, 1, st);
  EXPECT_EQ(st, 0);
  EXPECT_DOUBLE_EQ(m->DEPN(1, 11), 10.0);
  m->PYSETG(1) = 0;
  for (int dim : {3, 2}) {
    RowCapture cap;
    st = 0;
    {
      CaptureScope scope(cap);
      if (dim == 3)
        NODE(*m, 1, st);
      else
        NODE2D(*m, 1, st);
    }
    EXPECT_EQ(st, ST_NOSOIL) << dim;
    ASSERT_EQ(cap.lines.size(), 10u) << dim;
    EXPECT_EQ(cap.lines[2].second, "     **** FATAL ERROR ****");
    EXPECT_EQ(cap.lines[3].second, "     NO SOIL LAYERS ARE DEFINED, BUT PILE-GROUP ROW    1");
    EXPECT_EQ(cap.lines[4].second, "     NEEDS P-Y CURVES GENERATED FROM THE SOIL.");
    EXPECT_EQ(cap.lines[4].first, unsigned(TO_REPORT));
    EXPECT_EQ(cap.lines[9].first, unsigned(TO_RUNLOG));
  }
  for (int L = 1; L <= MAXLAYER; ++L) EXPECT_EQ(m->NODE1(1, L), 0);
}

}  // namespace
}  // namespace torva
