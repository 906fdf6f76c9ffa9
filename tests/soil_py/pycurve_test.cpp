// The p-y dispatcher: a row without soil layers, a layer of user p-y curves, and the kept
// curve constants.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <memory>

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

// Curves without an initial slope, soft clay's cube root (code 1) and stiff clay's quarter
// power (code 3), are linear in an analysis below the translation step of the pile-head
// tangent, h = 1.0E-7 in, in 2-D models as in 3-D: p = y p(h) / h, with the secant at h as
// the modulus; from h on the curve's own values. Curves with an initial line (codes 10, 14,
// k x = 6000 lb/in2 here) keep it. D = 12 in, c = 5 psi, g' = 0.02 pci, E50 = 0.01: at
// 60 in pu = 344.4 lb/in and y50 = 0.3 in for both curves.
TEST(PyCurve, CurvesWithoutAnInitialSlopeAreLinearBelowTheTangentStep) {
  const auto curve = [](int code, double y) {
    if (code == 10 || code == 14) return 6000.0 * y;
    return 172.2 * std::pow(y / 0.3, code == 1 ? double(0.3333333333f) : 0.25);
  };
  for (const int code : {1, 3, 10, 14}) {
    for (const int ndim : {3, 2}) {
      const double h = double(1.0e-7f);
      for (const double r : {0.0, 0.25, 1.0, 4.0}) {
        SCOPED_TRACE(testing::Message() << "code " << code << " ndim " << ndim << " y/h " << r);
        PyModel pm(4, 240.0, 12.0);
        pytest::SoilPt s;
        s.c = 5.0;
        s.gam = 0.02;
        s.e50 = 0.01;
        s.j = 0.5;
        s.k = 100.0;
        pm.layer(0.0, 300.0, code, s);
        pm.m.NDIM = ndim;
        const double y = r * h;
        pm.eval(y);
        ASSERT_EQ(pm.status, 0);
        const bool linear = code <= 3 && y < h;
        const double want = linear ? curve(code, h) * r : curve(code, y);
        const double es = linear ? curve(code, h) / h : want / y;
        EXPECT_NEAR(-pm.p(2), want, 1e-9 * want);
        if (y > 0.0 || code <= 3) {
          EXPECT_NEAR(pm.Es(2), es, 1e-9 * es);
        }
      }
    }
  }
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

namespace torva {
namespace {

// Springs of row g at the deflections y(n) = y0 (1 + n / 10): with the curve constants kept
// in `kept`, and derived afresh.
struct Springs {
  NodeArr Es{}, p{};
};
Springs springs(PyModel& pm, double y0, PyKept* kept, int g = 1) {
  for (int n = 1; n <= pm.m.NSEG(1) + 1; ++n) pm.y(n) = y0 * (1.0 + n / 10.0);
  Springs s;
  PYCURVE(pm.m, pm.m.PTYPE(g), pm.status, g, g, pm.y, s.Es, pm.smy, pm.smz, pm.psm, s.p, kept);
  return s;
}
void expect_same_bits(const Springs& a, const Springs& b, int last, const char* what) {
  for (int n = 1; n <= last; ++n) {
    EXPECT_EQ(std::bit_cast<std::uint64_t>(a.Es(n)), std::bit_cast<std::uint64_t>(b.Es(n)))
        << what << ", node " << n;
    EXPECT_EQ(std::bit_cast<std::uint64_t>(a.p(n)), std::bit_cast<std::uint64_t>(b.p(n)))
        << what << ", node " << n;
  }
}

// Kept curve constants give the springs of a fresh derivation bit for bit, also when a call
// replays the last one, and are renewed exactly when an input of the constants changes: the
// case's static or cyclic control, the group factors, the head depth (every node depth), the
// soil profile, the equivalent depth of the lower layer, the node depths alone. Soft clay
// over sand, whose upper nodes take the equivalent depth.
TEST(PyCurve, KeptConstantsFollowEveryInputChange) {
  PyModel pm(20, 480.0, 24.0);
  pm.layer(0.0, 120.0, 1, {2.0, 0.0, 0.02, 0.0, 0.01});
  pm.layer(120.0, 600.0, 4, {0.0, 35.0, 0.035, 60.0});
  Model& m = pm.m;
  renew_py_constants(m);
  auto kept = std::make_unique<PyKept>();
  const int last = m.NSEG(1) + 1;
  struct Change {
    const char* what;
    void (*apply)(Model&);
  };
  const Change changes[] = {
      {"unchanged", [](Model&) {}},
      {"cyclic loading", [](Model& mm) { mm.ISTATIC = 2; }},
      {"group factors", [](Model& mm) { mm.PMULT(1) = 0.6, mm.YMULT(1) = 1.3; }},
      {"head 12 below", [](Model& mm) {
         mm.HEADDEP(1) = 12.0;
         for (int n = 1; n <= mm.NSEG(1) + 1; ++n) mm.DEPAX(1, n) = mm.DEPN(1, n) += 12.0;
       }},
      {"stiffer sand, new profile", [](Model& mm) {
         mm.SPK(3) = mm.SPK(4) = 90.0;
         renew_py_constants(mm);
       }},
      {"equivalent depth reset", [](Model& mm) { mm.EQDEPTH(1, 2) = 0.0; }},
      {"nodes 6 lower, same head", [](Model& mm) {
         for (int n = 1; n <= mm.NSEG(1) + 1; ++n) mm.DEPAX(1, n) = mm.DEPN(1, n) += 6.0;
       }},
  };
  for (const Change& c : changes) {
    c.apply(m);
    for (double y0 : {0.05, 0.4, 2.0}) {
      const Springs k = springs(pm, y0, kept.get());
      const unsigned long long versions = kept->versions;
      Springs again;
      {  // within one pile solution the later calls replay the first without checks
        PySolution solution(*kept);
        springs(pm, 0.5 * y0, kept.get());
        again = springs(pm, y0, kept.get());
      }
      EXPECT_EQ(kept->versions, versions) << c.what << ": unchanged inputs keep their constants";
      const Springs fresh = springs(pm, y0, nullptr);
      ASSERT_EQ(pm.status, 0) << c.what;
      expect_same_bits(k, fresh, last, c.what);
      expect_same_bits(again, fresh, last, c.what);
    }
  }
}

// Rows whose inputs agree take each other's kept constants; a row that differs from the
// other in any input derives its own. Row 2 is row 1 but for one input; the rows are
// evaluated in turn on one store, each against a fresh derivation, below the smallest
// deflection (the initial moduli) and on the curves. Soft clay over sand, and liquefied
// sand over elastic subgrade (whose criteria keep the row of the group factors).
TEST(PyCurve, RowsWithTheSameInputsShareKeptConstants) {
  struct Change {
    const char* what;
    void (*apply)(Model&);
  };
  const Change changes[] = {
      {"the same inputs", [](Model&) {}},
      {"p-multiplier", [](Model& mm) { mm.PMULT(2) = 0.7; }},
      {"y-multiplier", [](Model& mm) { mm.YMULT(2) = 1.4; }},
      {"ground 3 below the head", [](Model& mm) { mm.FREELEN(2) = 3.0; }},
      {"head 6 lower", [](Model& mm) {
         mm.HEADDEP(2) = 6.0;
         for (int n = 1; n <= mm.NSEG(1) + 1; ++n) mm.DEPAX(2, n) = mm.DEPN(2, n) += 6.0;
       }},
      {"a wider pile", [](Model& mm) {
         mm.PTYPE(2) = 2;
         mm.SDIAM(2, 1) = mm.SDIAMB(2, 1) = 36.0;
       }},
  };
  for (const int profile : {0, 1}) {
    for (const Change& c : changes) {
      SCOPED_TRACE(testing::Message() << "profile " << profile << ", " << c.what);
      PyModel pm(20, 480.0, 24.0);
      Model& m = pm.m;
      if (profile == 0) {
        pm.layer(0.0, 120.0, 1, {2.0, 0.0, 0.02, 0.0, 0.01});
        pm.layer(120.0, 600.0, 4, {0.0, 35.0, 0.035, 60.0});
      } else {
        pm.layer(0.0, 120.0, 11, {0.0, 0.0, 0.035});
        pm.layer(120.0, 600.0, 12, {0.5, 0.0, 0.035, 300.0});
      }
      // Row 2: row 1's pile, nodes and layers, then the change.
      m.NROW = 2;
      m.PTYPE(2) = 1;
      const int last = m.NSEG(1) + 1;
      for (int n = 1; n <= last; ++n) {
        m.DEPN(2, n) = m.DEPN(1, n);
        m.DEPAX(2, n) = m.DEPAX(1, n);
      }
      for (int L = 1; L <= m.NLAYER; ++L) {
        m.NODE1(2, L) = m.NODE1(1, L);
        m.NODE2(2, L) = m.NODE2(1, L);
      }
      m.NSEG(2) = m.NSEG(1);
      m.PILELEN(2) = m.PILELEN(1);
      m.SEGLEN(2) = m.SEGLEN(1);
      m.NSECT(2) = 1;
      m.STO(2, 1) = m.STO(1, 1);
      m.SDIAM(2, 1) = m.SDIAMB(2, 1) = m.SDIAM(1, 1);
      c.apply(m);
      renew_py_constants(m);
      auto kept = std::make_unique<PyKept>();
      for (const int g : {1, 2, 1, 2}) {
        for (const double y0 : {1.0e-16, 0.05, 2.0}) {
          const unsigned long long versions = kept->versions;
          const Springs k = springs(pm, y0, kept.get(), g);
          if (g == 2 && c.apply == changes[0].apply) {
            EXPECT_EQ(kept->versions, versions) << "row 2 takes row 1's constants";
          }
          Springs again;
          {
            PySolution solution(*kept);
            springs(pm, 0.5 * y0, kept.get(), g);
            again = springs(pm, y0, kept.get(), g);
          }
          const Springs fresh = springs(pm, y0, nullptr, g);
          ASSERT_EQ(pm.status, 0);
          expect_same_bits(k, fresh, last, "kept");
          expect_same_bits(again, fresh, last, "replayed");
        }
      }
    }
  }
}

}  // namespace
}  // namespace torva
