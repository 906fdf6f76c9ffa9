// CONVINPUT: the one-time conversion of the as-read input tables to internal units
// (pounds and inches for US customary and generic input, kilonewtons and metres for SI).
// Only lengths, section dimensions, areas, second moments of area, unit weights and
// stresses given in engineering units are converted; forces, moments, moduli, curve
// ordinates and displacements are already in internal units.
#include "input/readinput.h"
#include "input/units.h"

namespace torva {

void CONVINPUT(Model& m) {
  const bool three = m.NDIM == 3;

  // Pile cap.
  m.CAPLEN = TOIN(m, m.CAPLEN);
  m.CAPWID = TOIN(m, m.CAPWID);
  m.CAPTHK = TOIN(m, m.CAPTHK);
  m.CAPDEQ = TOIN(m, m.CAPDEQ);

  // Points of application of the concentrated loads and points of definition of the
  // prescribed displacements.
  for (int c = 1; c <= m.NLC; ++c) {
    for (int n = 1; n <= m.CASINT(c, 15); ++n)
      for (int k = 7; k <= (three ? 9 : 8); ++k) m.LOAD(c, n, k) = TOIN(m, m.LOAD(c, n, k));
    if (m.IDISP(c) == 1)
      for (int k = 13; k <= (three ? 15 : 14); ++k) m.SPVAL(c, k) = TOIN(m, m.SPVAL(c, k));
  }

  // Depths of the load-versus-depth curves.
  for (int i = 1; i <= m.NDC; ++i)
    for (int p = 1; p <= m.NPDC(i); ++p) m.DCDEP(i, p) = TOIN(m, m.DCDEP(i, p));

  // Pile-group rows: head coordinates, free length (and the spacing of a 2-D row).
  m.NROW = three ? m.NROW3 : m.NROW2;
  for (int g = 1; g <= m.NROW; ++g) {
    if (three) {
      for (int k : {8, 9, 10, 14}) m.ROWR3(g, k) = TOIN(m, m.ROWR3(g, k));
    } else {
      for (int k : {2, 6, 7, 9}) m.ROWR2(g, k) = TOIN(m, m.ROWR2(g, k));
    }
  }

  // Pile properties: length and the depths of the sections.
  for (int t = 1; t <= m.NPROPIN; ++t) {
    m.PLENI(t) = TOIN(m, m.PLENI(t));
    for (int s = 1; s <= m.NSECTI(t); ++s) {
      m.SFROMI(t, s) = TOIN(m, m.SFROMI(t, s));
      m.STOI(t, s) = TOIN(m, m.STOI(t, s));
    }
  }

  // Cross sections, top (columns 1 to 18) and bottom (19 to 36) values.
  for (int k = 1; k <= m.NSECIN; ++k) {
    for (int b : {0, 18}) {
      for (int j = 1; j <= 8; ++j) m.SPROPI(k, b + j) = TOM(m, m.SPROPI(k, b + j));
      m.SPROPI(k, b + 10) = TOM2(m, m.SPROPI(k, b + 10));
      m.SPROPI(k, b + 11) = TOM4(m, m.SPROPI(k, b + 11));
      if (three) m.SPROPI(k, b + 12) = TOM4(m, m.SPROPI(k, b + 12));
    }
    // Nonlinear-section data: dimensions, areas and the coordinates of the point lists.
    for (int j : {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 18, 19, 23, 24, 26, 28})
      m.NLVAL(k, j) = TOM(m, m.NLVAL(k, j));
    for (int j : {17, 22, 27}) m.NLVAL(k, j) = TOM2(m, m.NLVAL(k, j));
    // The points as read (the rest of the lists stay zero).
    for (int p = 1; p <= m.NLINT(k, 10); ++p)
      for (int xy = 1; xy <= 2; ++xy) m.NLPT1(k, xy, p) = TOM(m, m.NLPT1(k, xy, p));
    for (int p = 1; p <= m.NLINT(k, 22); ++p)
      for (int xy = 1; xy <= 2; ++xy) m.NLPT2(k, xy, p) = TOM(m, m.NLPT2(k, xy, p));
  }

  // Soil layers: depths, unit weight, strength, side friction and tip resistance. The
  // strength of vuggy limestone and weak rock is given in the internal stress unit.
  for (int L = 1; L <= m.NLAYIN; ++L) {
    m.LTOPI(L) = TOIN(m, m.LTOPI(L));
    m.LBOTI(L) = TOIN(m, m.LBOTI(L));
    const bool rock = m.LSOILI(L) == 6 || m.LSOILI(L) == 9;
    for (int r = 1; r <= 2; ++r) {
      m.SOILP(L, r, 1) = TOPCI(m, m.SOILP(L, r, 1));
      if (!rock) m.SOILP(L, r, 2) = TOPSI(m, m.SOILP(L, r, 2));
      m.SOILP(L, r, 8) = TOPSI(m, m.SOILP(L, r, 8));
      m.SOILP(L, r, 9) = TOPSI(m, m.SOILP(L, r, 9));
    }
  }

  // Depths of the requested p-y curves.
  if (m.IPYOUT == 1)
    for (int i = 1; i <= m.NPYOUT; ++i) m.PODEP(i) = TOIN(m, m.PODEP(i));

  // User p-y curves: the depth of every curve of every set.
  if (m.IPYUSER == 1) {
    m.NPYSET = m.NSETPY;
    for (int s = 1; s <= m.NSETPY; ++s)
      for (int j = 1; j <= m.NCRVI(s); ++j) m.PYDEPI(s, j) = TOIN(m, m.PYDEPI(s, j));
  }

  // p-y modification factors along depth: every set with its own number of points.
  if (m.IPYMOD == 1)
    for (int s = 1; s <= m.NPYMOD; ++s)
      for (int p = 1; p <= m.NPTMOD(s); ++p) m.PMDEP(s, p) = TOIN(m, m.PMDEP(s, p));

  // Free-field soil movement.
  for (int i = 1; i <= m.NSMPT; ++i) m.SMDEP(i) = TOIN(m, m.SMDEP(i));
}

}  // namespace torva
