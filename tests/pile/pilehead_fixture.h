// A long fixed-head vertical pile on linear springs with linear axial and torsion curves,
// for the pile-head force and stiffness tests: beta L = 8, beta h = 0.08.
#pragma once

#include <cmath>
#include <memory>

#include "pile/pilef.h"
#include "pile_fixture.h"

namespace torva::testing {

inline constexpr double KAX = 2.0e5;  // axial curve slope (force per length)
inline constexpr double KTR = 3.0e8;  // torsion curve slope (moment per radian)

class PileHead : public ::testing::Test {
 protected:
  void SetUp() override {
    m = new_model();
    s = std::make_unique<PilefScratch>();
    set_controls(*m);
    const double k = 1.0e3;
    beta = std::pow(k / (4.0 * p.EI), 0.25);
    p.L = 8.0 / beta;
    set_linear_py(*m, 1, {{0.0, k}});  // the same subgrade modulus from the head down
    m->IEXTEND = 1;
    m->NPTLSU(1) = m->NPTTRU(1) = 3;
    for (int q = 1; q <= 3; ++q) {
      const double x = q - 2.0;
      m->LSDU(1, q) = x, m->LSLU(1, q) = KAX * x;
      m->TRRU(1, q) = x, m->TRTU(1, q) = KTR * x;
    }
    add_row(1);
  }
  // Row g on property 1, the p-y set and the two curves.
  void add_row(int g) {
    set_pile(*m, g, 1, p);
    m->PYSETG(g) = 1;
    m->LSNO(g) = m->TRNO(g) = 1;
  }
  std::unique_ptr<Model> m;
  std::unique_ptr<PilefScratch> s;
  PileDef p;
  double beta = 0;
};

inline Vec6 vec6(std::initializer_list<double> v) {
  Vec6 x;
  int i = 1;
  for (double d : v) x(i++) = d;
  return x;
}

}  // namespace torva::testing
