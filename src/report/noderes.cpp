#include "report/noderes.h"

#include <cmath>
#include <string>

#include "input/units.h"
#include "io/writers.h"
#include "report/ptables.h"

namespace torva {

namespace {

constexpr int kSecondPlane[] = {3, 4, 7, 8, 10, 11, 13, 14, 16, 17, 21, 23};
constexpr int kAxial[] = {1, 5, 6, 7, 8, 18};

// Clears the quantities a model or an analysis does not produce: the second lateral plane
// of a 2-D model, the axial quantities when the axial distribution along the pile is not
// computed, and the demand-to-capacity ratios outside the combinations.
void clear_absent(PrintFlags& F, int ndim, bool no_axial, int icomb) {
  if (ndim == 2)
    for (int q : kSecondPlane) F(q) = 0;
  if (no_axial)
    for (int q : kAxial) F(q) = 0;
  if (icomb == 0) F(24) = F(25) = 0;
}

}  // namespace

void PRTSEL(const Model& m, int envflag, int axind, int iaxvar, int ndim, PrintFlags& F) {
  F.fill(0);
  const bool comb = m.ICOMB != 0;
  if (envflag == 0) {
    // Selections of the case or combination being analysed, as read with its controls.
    const int c = m.ICASE;
    if (comb && 1 <= c && c <= MAXCOMB) {
      for (int q = 1; q <= NNODEQ; ++q) F(q) = m.CBINT(c, 15 + q);
    } else if (!comb && 1 <= c && c <= MAXLC) {
      for (int q = 1; q <= NNODEQ; ++q) F(q) = m.CASINT(c, 25 + q);
    }
  } else {
    for (int q = 1; q <= NNODEQ; ++q) F(q) = comb ? m.IPRCB(q) : m.IPRLC(q);
  }
  clear_absent(F, ndim, axind > 0 || iaxvar == 0, m.ICOMB);
}

void WRHEAD(const Model& m, TextFile& out, int dest, const PrintFlags& F) {
  ENDLINE(out);
  constexpr const char* kRule = "**********";
  for (int l = 1; l <= 4; ++l) {
    if (dest == HD_REPORT) {
      WRTBLANK(out, 2);
      const Chars<10>* cap[] = {&m.CAPX, &m.CAPBLANK, &m.CAPXUNIT, &m.CAPRULE};
      WRTA10(out, cap[l - 1]->view());
    } else {
      WRTBLANK(out, 3);
      const Chars<6>* cap[] = {&m.CAPPILE, &m.CAPBLANK6, &m.CAPBLANK6, &m.CAPRULE6};
      WRTA6(out, cap[l - 1]->view());
    }
    for (int q = 1; q <= NNODEQ; ++q) {
      if (F(q) <= 0) continue;
      switch (l) {
        case 1: WRTA10(out, m.CLAB1[q - 1].view()); break;
        case 2: WRTA10(out, m.CLAB2[q - 1].view()); break;
        case 3: WRTA10(out, m.CLAB3[q - 1].view()); break;
        default: WRTA10(out, kRule); break;
      }
    }
    ENDLINE(out);
  }
}

void WRNODES(const Model& m, TextFile& out, const PrintFlags& F, int last, int step,
             double seglen, const NodeBuf& B) {
  if (last < 4) return;
  // A step of 0 or less never reaches the next node again, so only the head prints.
  const int d = std::min(last - 4, step);
  int next = 4;
  std::string buf;
  for (int i = 4; i <= last; ++i) {
    if (i != next) continue;
    next = i + d;
    buf.clear();
    int col = 1;
    BUFBLANK(buf, 1, col);
    BUFREAL(buf, 12, 4, TOFT(m, (i - 4) * seglen), col);
    for (int q = 1; q <= NNODEQ; ++q)
      if (F(q) > 0) BUFREAL(buf, 12, 4, B(i, q), col);
    out.line(std::string_view(buf).substr(0, std::size_t(col - 1)));
  }
}

void WRPLOT(TextFile& out, int last, int lsno, int iaxvar, int icomb, int ndim, double seglen,
            const NodeBuf& B) {
  PrintFlags F;
  F.fill(1);
  clear_absent(F, ndim, lsno > 0 || iaxvar == 0, icomb);
  out.I(NNODEQ, 10);
  for (int q = 1; q <= NNODEQ; ++q) out.I(F(q), 5);
  out.nl();
  for (int k = 0; k <= last - 4; ++k) {
    out.X(6).PG(k * seglen, 16, 8);
    for (int q = 1; q <= NNODEQ; ++q) {
      if (F(q) != 1) continue;
      const double v = B(k + 4, q);
      out.PG(std::fabs(v) < 1e-50 ? 0.0 : v, 16, 8);
    }
    out.nl();
  }
}

void PILEMM(const Model& m, TextFile& out, int g, int last, double seglen, const NodeBuf& B) {
  Extremes mn{}, mx{}, dmn{}, dmx{};
  for (int q = 1; q <= NNODEQ; ++q) {
    mn[q - 1] = mx[q - 1] = B(4, q);
    dmn[q - 1] = dmx[q - 1] = 0.0;
    for (int k = 1; k <= last - 4; ++k) {
      // Strict comparisons: of equal values the shallower node stands.
      const double v = B(k + 4, q);
      if (v < mn[q - 1]) {
        mn[q - 1] = v;
        dmn[q - 1] = k * seglen;
      }
      if (v > mx[q - 1]) {
        mx[q - 1] = v;
        dmx[q - 1] = k * seglen;
      }
    }
  }
  for (int q = 0; q < NNODEQ; ++q) {
    dmn[q] = TOFT(m, dmn[q]);
    dmx[q] = TOFT(m, dmx[q]);
  }
  const std::string caption = "x(" + std::string(m.UDEP2.view()) + ")";
  write_extreme_record(out, g, mn);
  write_depth_record(out, caption, dmn);
  write_extreme_record(out, g, mx);
  write_depth_record(out, caption, dmx);
}

}  // namespace torva
