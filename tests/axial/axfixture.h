// A single pile in a layered soil profile, for the load-transfer tests.
#pragma once

#include <memory>

#include "model/model.h"

namespace torva::testing {

struct PileSoil {
  double len = 600.0, diam = 24.0, area = 452.39, emod = 4.0e6, gj = 1.0e12;
  int nseg = 20, kind = 1;
  double headDep = 0.0, freeLen = 0.0;
  // Layers: bottom depth and soil code of each; the profile values are uniform.
  int nlayer = 1;
  double lbot[4] = {1200.0, 0, 0, 0};
  int code[4] = {1, 1, 1, 1};
  double gam = 0.04, coh = 10.0, phi = 0.0, e50 = 0.01, side = 5.0, tip = 0.0;
};

inline std::unique_ptr<Model> make_pile(const PileSoil& p, int units = 1) {
  auto mp = new_model();
  Model& m = *mp;
  m.IUNITS = units;
  m.NDIM = 3;
  m.NROW = 1;
  m.HEADDEP(1) = p.headDep;
  m.CORX(1) = p.headDep;
  m.FREELEN(1) = p.freeLen;
  m.PTYPE(1) = 1;
  m.PILELEN(1) = p.len;
  m.NSEG(1) = p.nseg;
  m.NSECT(1) = 1;
  m.PILEKIND(1) = p.kind;
  m.SFROM(1, 1) = 0.0;
  m.STO(1, 1) = p.len;
  m.SDIAM(1, 1) = m.SDIAMB(1, 1) = p.diam;
  m.SAREA(1, 1) = m.SAREAB(1, 1) = p.area;
  m.SEMOD(1, 1) = m.SEMODB(1, 1) = p.emod;
  m.SGJ(1, 1) = m.SGJB(1, 1) = p.gj;
  m.NLAYER = p.nlayer;
  double top = p.headDep + p.freeLen;
  for (int L = 1; L <= p.nlayer; ++L) {
    m.LTOP(L) = top;
    m.LBOT(L) = p.lbot[L - 1];
    m.LTYPE(L) = p.code[L - 1];
    for (int k : {2 * L - 1, 2 * L}) {
      m.SPDEP(k) = m.SPDEPG(k) = k % 2 ? top : p.lbot[L - 1];
      m.SPGAM(k) = p.gam;
      m.SPC(k) = p.coh;
      m.SPPHI(k) = p.phi;
      m.SPE50(k) = p.e50;
      m.SPSIDE(k) = p.side;
      m.SPTIP(k) = p.tip;
    }
    top = p.lbot[L - 1];
  }
  m.NSPX = m.NSPXG = 2 * p.nlayer;
  m.TOLCRV = double(1e-6f);
  return mp;
}

}  // namespace torva::testing
