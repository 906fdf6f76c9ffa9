#include "cap/fvec2d.h"

#include <omp.h>

#include <cmath>

#include "io/platform.h"
#include "io/threads.h"
#include "pile/axforce.h"
#include "pile/node.h"

namespace torva {

namespace {

Fvec2dWork& work(Model& m, int nthr) {
  if (!m.FV2DWORK) m.FV2DWORK = std::make_shared<Fvec2dWork>();
  Fvec2dWork& w = *m.FV2DWORK;
  const std::size_t rows = std::size_t(m.NROW) + 1;
  if (w.cap.size() < rows) w.cap.resize(rows);
  if (w.force.size() < rows) w.force.resize(rows);
  while (w.scratch.size() < std::size_t(nthr)) w.scratch.push_back(std::make_unique<Pile2dScratch>());
  return w;
}

}  // namespace

void ROWTRANS2D(const Model& m, int g, Mat3& B, Mat3& A) {
  const double s = std::sin(m.BATTER(g)), c = std::cos(m.BATTER(g));
  const double HD = m.HEADDEP(g), HY = m.HEADY(g);
  B(1, 1) = c;
  B(1, 2) = s;
  B(1, 3) = HD * s - HY * c;
  B(2, 1) = -s;
  B(2, 2) = c;
  B(2, 3) = HD * c + HY * s;
  B(3, 1) = 0.0;
  B(3, 2) = 0.0;
  B(3, 3) = 1.0;
  for (int i = 1; i <= 3; ++i)
    for (int j = 1; j <= 3; ++j) A(i, j) = B(j, i);
}

void PILEF2D(Model& m, int g, Vec3& r, const Vec3& U, int& status, Pile2dScratch& s) {
  r.fill(0.0);
  Mat3 B, A;
  ROWTRANS2D(m, g, B, A);
  Vec3 h;
  MATVEC3(h, B, U);
  // Each step reports into this evaluation's own word; a failed step ends the row.
  int st = 0;
  double P = 0.0, V = 0.0, M = 0.0;
  s.MOV.fill(0.0);
  s.FAX.fill(0.0);
  AXFORCE(m, g, P, h.data(), s.MOV, s.FAX, st);
  if (st == 0) {
    P *= m.AXFAC(g);
    NODE2D(m, g, st);
  }
  if (st == 0) LLP2D(m, g, h(2), h(3), P, V, M, st, h(1), A, s.MOV, s.FAX, s.llp);
  status = st;
  if (st != 0) return;
  Vec3 w;
  w(1) = m.NPILE(g) * P;
  w(2) = m.NPILE(g) * V;
  w(3) = m.NPILE(g) * M;
  MATVEC3(r, A, w);
}

void FVEC2D(Model& m, Vec3& F, const Vec3& U, int& status) {
  F.fill(0.0);
  const int nthr = LOOPTHR(SETNTHR(m.NTHREQ, m.NTHUSE, m.NTHRUN, m.NROW, 0), ROWNODES(m));
  const double t0 = platform::wall_seconds();
  Fvec2dWork& w = work(m, nthr < 1 ? 1 : nthr);
  const int nrow = m.NROW;
  const Vec3 Uc = U;
  // Rows handed out as threads come free (see the 3-D force sum): a row's results do not
  // depend on the thread that takes it.
#pragma omp parallel for schedule(guided) num_threads(nthr)
  for (int g = 1; g <= nrow; ++g) {
    RowCapture& cap = w.cap[std::size_t(g)];
    cap.clear();
    std::array<double, 3>& out = w.force[std::size_t(g)];
    out.fill(0.0);
    CaptureScope scope(cap);
    guarded_row(cap, [&] {
      Pile2dScratch& s = *w.scratch[std::size_t(omp_get_thread_num())];
      Vec3 r;
      int st = 0;
      PILEF2D(m, g, r, Uc, st, s);
      cap.status = st;
      if (st == 0)
        for (int i = 0; i < 3; ++i) out[std::size_t(i)] = r(i + 1);
    });
  }
  for (int g = 1; g <= nrow; ++g)
    for (int i = 1; i <= 3; ++i) F(i) += w.force[std::size_t(g)][std::size_t(i - 1)];
  // The rows' lines in row order, then their status, state and warning counts.
  for (int g = 1; g <= nrow; ++g) replay(m, w.cap[std::size_t(g)]);
  const int st = combine_status(w.cap, 1, nrow);
  if (status == 0) status = st;
  const int is = combine_istate(w.cap, 1, nrow);
  if (is == 1 || (is == 4 && m.ISTATE != 1)) m.ISTATE = is;
  if (m.IOPASS == 0)
    m.TPAR += platform::wall_seconds() - t0;
  else
    m.TPRT += platform::wall_seconds() - t0;
}

void ROWMAGS2D(const Model& m, Vec3& A) {
  A.fill(0.0);
  if (!m.FV2DWORK) return;
  const Fvec2dWork& w = *m.FV2DWORK;
  for (int g = 1; g <= m.NROW && std::size_t(g) < w.force.size(); ++g)
    for (int i = 1; i <= 3; ++i) A(i) += std::fabs(w.force[std::size_t(g)][std::size_t(i - 1)]);
}

}  // namespace torva
