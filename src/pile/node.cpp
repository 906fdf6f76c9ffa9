#include "pile/node.h"

#include <cmath>
#include <string>

#include "io/fmt.h"
#include "model/layer_nodes.h"
#include "model/messages.h"
#include "soil/nosoil.h"

namespace torva {

namespace {

enum class Layout { ok, deep, nosoil };

// The layout shared by the 3-D and 2-D models; `head` is the head's vertical coordinate.
// Fails when a node lies below the deepest layer, or when the row's p-y curves come from
// the soil and there is no soil layer.
Layout layout(Model& m, int g, double head) {
  const int t = m.PTYPE(g);
  const int n = m.NSEG(t);
  const int nl = m.NLAYER;
  for (int L = 1; L <= nl; ++L) {
    m.NODE1(g, L) = 0;
    m.NODE2(g, L) = 0;
  }
  const double h = m.PILELEN(t) / n;
  const double hv = m.IBATTER == 1 ? h * std::cos(m.BATTER(g)) : h;
  // Node depths as running sums (held in registers, stored as they go).
  double dn = head, da = head;
  m.DEPN(g, 1) = head;
  m.DEPAX(g, 1) = head;

  if (m.IPYUSER == 1 && m.PYSETG(g) > 0) {  // user p-y curves: depths only
    for (int k = 2; k <= n + 1; ++k) {
      m.DEPN(g, k) = dn += hv;
      m.DEPAX(g, k) = da += h;
    }
    return Layout::ok;
  }
  if (nl < 1) {
    NOSOILMSG(m, g, NEED_PY);
    return Layout::nosoil;
  }

  const double bottom = m.LBOT(nl);
  for (int k = 1; k <= n + 1; ++k) {
    if (k >= 2) {
      m.DEPN(g, k) = dn += hv;
      m.DEPAX(g, k) = da += h;
    }
    if (dn > bottom) {
      PILEDEEPMSG(m, m.PILELEN(t));
      return Layout::deep;
    }
  }
  layer_nodes(
      n + 1, nl, [&](int k) { return m.DEPN(g, k); }, [&](int L) { return m.LTOP(L); },
      [&](int L) { return m.LBOT(L); },
      [&](int L, int first, int last) {
        m.NODE1(g, L) = first;
        m.NODE2(g, L) = last;
      });
  return Layout::ok;
}

}  // namespace

void PILEDEEPMSG(Model& m, double len) {
  std::string l3 = "     THE PILE LENGTH, ";
  put_E(l3, len, 10, 2);
  l3 += "(";
  l3 += m.ULEN3.view();
  l3 += "), EXTENDS BELOW THE";
  const std::string lines[6] = {"", "", "", "     **** FATAL ERROR ****", l3,
                                "     BOTTOM OF THE DEEPEST LAYER."};
  for (unsigned dest : {unsigned(TO_REPORT), unsigned(TO_RUNLOG)})
    for (const auto& l : lines) emit(m, dest, l);
}

void NODE(Model& m, int g, int& status) {
  status = 0;
  const Layout r = layout(m, g, m.CORX(g));
  if (r != Layout::ok) status = r == Layout::deep ? ST_PILEDEEP : ST_NOSOIL;
}

void NODE2D(Model& m, int g, int& status) {
  const Layout r = layout(m, g, m.HEADDEP(g));
  if (r != Layout::ok) status = r == Layout::deep ? ST_PILEDEEP2D : ST_NOSOIL;
}

}  // namespace torva
