// Warnings raised inside a parallel pile-row loop: each row captures its own records,
// statuses and counts, and the replay after the loop writes them once each, whole, in row
// order, whatever the thread count.
#include <gtest/gtest.h>
#include <omp.h>

#include <string>
#include <vector>

#include "model/messages.h"
#include "pile/axforce.h"
#include "pile/pilef.h"
#include "pile/piletorq.h"
#include "pilehead_fixture.h"
#include "support/workdir.h"

namespace torva {
namespace {

constexpr int kRows = 600;

// Every row on one user load-settlement curve and one user torque-rotation curve.
void fill_rows(Model& m) {
  m.NDIM = 3;
  m.NROW = kRows;
  m.IWFILE = 1;
  m.IEXTEND = 0;
  m.NPTLSU(1) = 3;
  m.NPTTRU(1) = 3;
  const double x[3] = {-1.0, 0.0, 1.0};
  for (int p = 1; p <= 3; ++p) {
    m.LSDU(1, p) = x[p - 1];
    m.LSLU(1, p) = 100.0 * x[p - 1];
    m.TRRU(1, p) = 0.1 * x[p - 1];
    m.TRTU(1, p) = 50.0 * x[p - 1];
  }
  for (int g = 1; g <= kRows; ++g) {
    m.LSNO(g) = 1;
    m.TRNO(g) = 1;
    m.AXFAC(g) = 1.0;
  }
}

// Row g's head movement: every third row beyond the bearing end, the next beyond the
// pull-out end, every other row twisted beyond the torsion curve.
void row_evaluation(Model& m, int g, int& status) {
  double u[6] = {0.5, 0, 0, 0.05, 0, 0};
  if (g % 3 == 0) u[0] = 1.0 + g * 1e-3;
  if (g % 3 == 1) u[0] = -1.0 - g * 1e-3;
  if (g % 2 == 0) u[3] = 0.1 + g * 1e-4;
  double P = 0, T = 0;
  Arr1<double, MAXNODE> MOV, FAX;
  AXFORCE(m, g, P, u, MOV, FAX, status);
  PILETORQ(m, g, T, u);
  if (g % 97 == 0) status = 1000 + g;  // a failing row, to see which code survives
}

struct LoopResult {
  std::string warnscr;
  int nwbear, nwpull, nwtors, status;
};

// The rows evaluated serially with no capture: the reference.
LoopResult serial_run() {
  testing::WorkDir wd;
  auto m = new_model();
  fill_rows(*m);
  m->WARNSCR.open_write("w.txt");
  int first_status = 0;
  for (int g = 1; g <= kRows; ++g) {
    int st = 0;
    row_evaluation(*m, g, st);
    if (first_status == 0) first_status = st;
  }
  m->WARNSCR.close();
  return {wd.read("w.txt"), m->NWBEAR, m->NWPULL, m->NWTORS, first_status};
}

// The rows on `threads` threads, each with its capture, replayed after the loop.
LoopResult parallel_run(int threads, bool dynamic_schedule) {
  testing::WorkDir wd;
  auto m = new_model();
  fill_rows(*m);
  m->WARNSCR.open_write("w.txt");
  std::vector<RowCapture> caps(kRows + 1);
  Model& mm = *m;
  if (dynamic_schedule) {
#pragma omp parallel for num_threads(threads) schedule(dynamic, 1)
    for (int g = 1; g <= kRows; ++g) {
      CaptureScope scope(caps[std::size_t(g)]);
      row_evaluation(mm, g, caps[std::size_t(g)].status);
    }
  } else {
#pragma omp parallel for num_threads(threads) schedule(static)
    for (int g = 1; g <= kRows; ++g) {
      CaptureScope scope(caps[std::size_t(g)]);
      row_evaluation(mm, g, caps[std::size_t(g)].status);
    }
  }
  // Outside the loop nothing is captured any more.
  EXPECT_EQ(active_capture(), nullptr);
  for (int g = 1; g <= kRows; ++g) replay(*m, caps[std::size_t(g)]);
  const int status = combine_status(caps, 1, kRows);
  m->WARNSCR.close();
  return {wd.read("w.txt"), m->NWBEAR, m->NWPULL, m->NWTORS, status};
}

TEST(RowCapture, EveryWarningOnceWholeInRowOrderOnEightThreads) {
  const LoopResult ref = serial_run();
  // The reference itself: 3 lines per warning, counts by construction.
  int nbear = 0, npull = 0, ntors = 0;
  for (int g = 1; g <= kRows; ++g) {
    nbear += g % 3 == 0;
    npull += g % 3 == 1;
    ntors += g % 2 == 0;
  }
  EXPECT_EQ(ref.nwbear, nbear);
  EXPECT_EQ(ref.nwpull, npull);
  EXPECT_EQ(ref.nwtors, ntors);
  EXPECT_EQ(ref.status, 1000 + 97);
  std::size_t lines = 0;
  for (char ch : ref.warnscr) lines += ch == '\n';
  EXPECT_EQ(lines, std::size_t(3 * (nbear + npull + ntors)));

  // The row numbers of the records increase through the file.
  int last = 0;
  for (std::size_t at = ref.warnscr.find("PILE GROUP"); at != std::string::npos;
       at = ref.warnscr.find("PILE GROUP", at + 1)) {
    const int g = std::stoi(ref.warnscr.substr(at + 10, 5));
    EXPECT_GE(g, last);
    last = g;
  }
  EXPECT_GT(last, kRows - 3);

  for (bool dyn : {false, true}) {
    const LoopResult par = parallel_run(8, dyn);
    EXPECT_EQ(par.warnscr, ref.warnscr) << (dyn ? "dynamic" : "static");
    EXPECT_EQ(par.nwbear, ref.nwbear);
    EXPECT_EQ(par.nwpull, ref.nwpull);
    EXPECT_EQ(par.nwtors, ref.nwtors);
    EXPECT_EQ(par.status, ref.status);  // the lowest failing row's code
  }
}

}  // namespace
}  // namespace torva

namespace torva {
namespace {

// Whole pile evaluations on 8 threads, one scratch per thread: the same forces, records,
// lateral warnings and pile state as the rows one after another.
class PilefRows : public testing::PileHead {
 protected:
  static constexpr int kPileRows = 48;
  void rows() {
    m->IWFILE = 1;
    m->IEXTEND = 0;
    m->NROW = kPileRows;
    for (int g = 2; g <= kPileRows; ++g) add_row(g);
  }
  static Vec6 head(int g) {  // every fourth row pushed beyond the axial curve
    return testing::vec6({g % 4 == 0 ? 1.5 : 0.001 * g, 0.01 * g, -0.005 * g, 1e-4, 2e-5, -3e-5});
  }
  struct Out {
    std::string warnscr, report;
    std::vector<double> F;
    int nwbear, istate;
  };
  Out run(int threads) {
    testing::WorkDir wd;
    m->WARNSCR.open_write("w.txt");
    m->REPORT.open_write("r.txt");
    m->NWBEAR = 0;
    m->ISTATE = 0;
    std::vector<RowCapture> caps(kPileRows + 1);
    std::vector<double> F(6 * (kPileRows + 1), 0.0);
    Model& mm = *m;
#pragma omp parallel num_threads(threads)
    {
      auto scratch = std::make_unique<PilefScratch>();
#pragma omp for schedule(static)
      for (int g = 1; g <= kPileRows; ++g) {
        RowCapture& c = caps[std::size_t(g)];
        CaptureScope scope(c);
        Vec6 f;
        PILEF(mm, g, f, head(g), c.status, *scratch);
        for (int i = 1; i <= 6; ++i) F[std::size_t(6 * g + i - 1)] = f(i);
      }
    }
    for (int g = 1; g <= kPileRows; ++g) replay(*m, caps[std::size_t(g)]);
    m->ISTATE = combine_istate(caps, 1, kPileRows);
    m->WARNSCR.close();
    m->REPORT.close();
    return {wd.read("w.txt"), wd.read("r.txt"), F, m->NWBEAR, m->ISTATE};
  }
};

TEST_F(PilefRows, EightThreadsMatchOneThread) {
  rows();
  const Out one = run(1);
  const Out eight = run(8);
  EXPECT_EQ(one.nwbear, kPileRows / 4);
  EXPECT_EQ(eight.warnscr, one.warnscr);
  EXPECT_EQ(eight.nwbear, one.nwbear);
  EXPECT_EQ(eight.F, one.F);
  EXPECT_EQ(eight.istate, 0);

  // Lateral solutions that cannot close: one warning per row, in row order, state 1.
  m->MAXITLLP = 1;
  const Out stuck = run(8);
  EXPECT_EQ(stuck.istate, 1);
  int last = 0, count = 0;
  for (std::size_t at = stuck.report.find("PILE GROUP"); at != std::string::npos;
       at = stuck.report.find("PILE GROUP", at + 1), ++count) {
    const int g = std::stoi(stuck.report.substr(at + 10, 5));
    EXPECT_EQ(g, last + 1);
    last = g;
  }
  EXPECT_EQ(count, kPileRows);
}

}  // namespace
}  // namespace torva
