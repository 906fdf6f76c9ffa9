#include "cap/fvec.h"

#include <omp.h>

#include <cmath>

#include "io/platform.h"
#include "io/threads.h"
#include "pile/pilef.h"
#include "pile/pilestif.h"
#include "pile/ptrans.h"

namespace torva {

namespace {

// Sizes the per-row results and the per-thread scratch once; returns the scratch.
std::vector<PilefScratch>& size_row_work(Model& m, int nthr) {
  const std::size_t n = std::size_t(m.NROW) + 1;
  if (m.ROWCAP.size() < n) m.ROWCAP.resize(n);
  if (m.ROWF.size() < n) m.ROWF.resize(n);
  if (m.ROWK.size() < n) m.ROWK.resize(n);
  if (!m.PSCRATCH || m.NPSCRATCH < nthr) {
    m.PSCRATCH = std::make_shared<std::vector<PilefScratch>>(std::size_t(nthr));
    m.NPSCRATCH = nthr;
  }
  return *static_cast<std::vector<PilefScratch>*>(m.PSCRATCH.get());
}

// After a loop: the rows' lines in row order, then their status, state and counters.
void gather_rows(Model& m, int& status) {
  for (int g = 1; g <= m.NROW; ++g) {
    const RowCapture& c = m.ROWCAP[std::size_t(g)];
    replay(m, c);
  }
  const int st = combine_status(m.ROWCAP, 1, m.NROW);
  if (status == 0) status = st;
  const int is = combine_istate(m.ROWCAP, 1, m.NROW);
  if (is == 1 || (is == 4 && m.ISTATE != 1)) m.ISTATE = is;
}

// Evaluates every pile row in parallel: each row with its own capture of messages, status
// and state, the pile scratch of its thread, its transformation (Ht, H) and its head
// movement u = H U, calling eval(g, ps, cap, Ht, H, u). A row writes only its own results;
// an exception inside a row is that row's internal failure, its message kept.
//
// Rows are handed out as threads come free, in chunks of adjacent rows that shrink towards
// the end (guided): a row that costs more than the others, or a thread the system holds
// up, does not keep the rest waiting at the loop's end, and a chunk's rows keep their
// writes to the per-row tables on lines other threads are not writing at the same time.
// Which thread takes a row changes nothing in the row's results.
template <class Eval>
void row_loop(Model& m, int nthr, const Vec6& U, Eval&& eval) {
  std::vector<PilefScratch>& scratch = size_row_work(m, nthr);
  const int nrow = m.NROW;
#pragma omp parallel for schedule(guided) num_threads(nthr)
  for (int g = 1; g <= nrow; ++g) {
    PilefScratch& ps = scratch[std::size_t(omp_get_thread_num())];
    RowCapture& cap = m.ROWCAP[std::size_t(g)];
    cap.clear();
    CaptureScope scope(cap);
    guarded_row(cap, [&] {
      Mat6 Ht, H, Qt, Q;
      PTRANS(m, g, Ht, H, Qt, Q);
      Vec6 u;
      MATVEC6(u, H, U);
      eval(g, ps, cap, Ht, H, u);
    });
  }
}

}  // namespace

void FVEC(Model& m, Vec6& F, const Vec6& U, int& status) {
  for (int i = 1; i <= 6; ++i) F(i) = 0.0;
  const int nthr = LOOPTHR(SETNTHR(m.NTHREQ, m.NTHUSE, m.NTHRUN, m.NROW, 0), ROWNODES(m));
  const double t0 = platform::wall_seconds();
  const int nrow = m.NROW;
  row_loop(m, nthr, U, [&m](int g, PilefScratch& ps, RowCapture& cap, const Mat6& Ht, const Mat6&,
                            const Vec6& u) {
    std::array<double, 6>& out = m.ROWF[std::size_t(g)];
    out.fill(0.0);
    Vec6 f, fo;
    int st = 0;
    PILEF(m, g, f, u, st, ps);
    if (st == 0) {
      MATVEC6(fo, Ht, f);
      for (int i = 0; i < 6; ++i) out[std::size_t(i)] = fo(i + 1);
    } else {
      cap.status = st;
    }
  });
  for (int g = 1; g <= nrow; ++g)
    for (int i = 1; i <= 6; ++i) F(i) += m.ROWF[std::size_t(g)][std::size_t(i - 1)];
  gather_rows(m, status);
  m.TPAR += platform::wall_seconds() - t0;
}

void ROWMAGS(const Model& m, Vec6& A) {
  A.fill(0.0);
  for (int g = 1; g <= m.NROW && std::size_t(g) < m.ROWF.size(); ++g)
    for (int i = 1; i <= 6; ++i) A(i) += std::fabs(m.ROWF[std::size_t(g)][std::size_t(i - 1)]);
}

void STIFF(Model& m, Mat6& K, const Vec6& U, int& status) {
  // A row's tangent is thirteen pile solutions (at the movement, then a step up and down
  // along each of the six freedoms).
  const int nthr =
      LOOPTHR(SETNTHR(m.NTHREQ, m.NTHUSE, m.NTHRUN, m.NROW, 0), 13 * ROWNODES(m));
  const double t0 = platform::wall_seconds();
  const int nrow = m.NROW;
  row_loop(m, nthr, U, [&m](int g, PilefScratch& ps, RowCapture& cap, const Mat6& Ht, const Mat6& H,
                            const Vec6& u) {
    std::array<double, 36>& out = m.ROWK[std::size_t(g)];
    out.fill(0.0);
    Mat6 k;
    int st = 0;
    PILESTIF(m, g, k, u, st, ps);
    cap.status = st;
    // Ht k H, first Ht k, then that times H.
    double hk[36];
    for (int i = 1; i <= 6; ++i)
      for (int j = 1; j <= 6; ++j) {
        double s = 0.0;
        for (int l = 1; l <= 6; ++l) s += Ht(i, l) * k(l, j);
        hk[(i - 1) + 6 * (j - 1)] = s;
      }
    for (int i = 1; i <= 6; ++i)
      for (int j = 1; j <= 6; ++j) {
        double s = 0.0;
        for (int l = 1; l <= 6; ++l) s += hk[(i - 1) + 6 * (l - 1)] * H(l, j);
        out[std::size_t((i - 1) + 6 * (j - 1))] = s;
      }
  });
  for (int i = 1; i <= 6; ++i)
    for (int j = 1; j <= 6; ++j) K(i, j) = 0.0;
  for (int g = 1; g <= nrow; ++g)
    for (int i = 1; i <= 6; ++i)
      for (int j = 1; j <= 6; ++j) K(i, j) += m.ROWK[std::size_t(g)][std::size_t((i - 1) + 6 * (j - 1))];
  gather_rows(m, status);
  if (m.IOPASS == 0)
    m.TPAR += platform::wall_seconds() - t0;
  else
    m.TPRT += platform::wall_seconds() - t0;
}

}  // namespace torva
