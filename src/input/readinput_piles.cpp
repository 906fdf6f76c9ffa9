// Input sections 7 to 10: pile-group rows, pile properties, cross sections, soil layers.
#include "input/readinput_parts.h"

namespace torva {

// Column names of the pile-group rows as read, by the field the echo fills from them.
const char* const kRowI3[11] = {"",     "CONNECTY", "CONNECTZ", "PTYPE", "PYSETG", "LSNO",
                                "TRNO", "PMODTAB",  "ICOL8",    "LSGNO", "TRGNO"};
const char* const kRowR3[15] = {"",       "SPZ",  "SPY",  "PMULTY", "YMULTY",
                                "PMULTZ", "YMULTZ", "AXFAC", "CORX", "CORY",
                                "CORZ",   "ALPHA", "BETA",  "THETA", "FREELEN"};
const char* const kRowI2[8] = {"", "CONNECTY", "NPILE", "PTYPE", "PYSETG", "LSNO", "PMODTAB",
                               "LSGNO"};
const char* const kRowR2[10] = {"",     "SPZ",  "SPACING", "PMULT", "YMULT",
                                "AXFAC", "CORX", "CORY",    "ALPHA", "FREELEN"};

namespace {

void read_rows(Model& m, FreeReader& rd) {
  if (!read_title(m, rd, "PILE-GROUP ROWS")) return;
  if (m.NDIM == 3) {
    rd.rec().i(m.NROW3, "NROW3");
    if (!within(rd, m.NROW3, "NROW3", 0, MAXROW)) return;
    for (int g = 1; g <= m.NROW3 && rd.ok(); ++g) {
      rd.rec();
      for (int k = 1; k <= 10; ++k) rd.i(m.ROWI3(g, k), Fid(kRowI3[k], g));
      rd.rec();
      for (int k = 1; k <= 7; ++k) rd.r(m.ROWR3(g, k), Fid(kRowR3[k], g), true);
      rd.rec();
      for (int k = 8; k <= 14; ++k) rd.r(m.ROWR3(g, k), Fid(kRowR3[k], g), true);
    }
  } else if (m.NDIM == 2) {
    rd.rec().i(m.NROW2, "NROW2");
    if (!within(rd, m.NROW2, "NROW2", 0, MAXROW)) return;
    for (int g = 1; g <= m.NROW2 && rd.ok(); ++g) {
      rd.rec();
      for (int k = 1; k <= 7; ++k) rd.i(m.ROWI2(g, k), Fid(kRowI2[k], g));
      rd.rec();
      for (int k = 1; k <= 5; ++k) rd.r(m.ROWR2(g, k), Fid(kRowR2[k], g), true);
      rd.rec();
      for (int k = 6; k <= 9; ++k) rd.r(m.ROWR2(g, k), Fid(kRowR2[k], g), true);
    }
  }
}

void read_properties(Model& m, FreeReader& rd) {
  if (!read_title(m, rd, "PILE PROPERTIES")) return;
  rd.rec().i(m.NPROPIN, "NPROPIN");
  if (!within(rd, m.NPROPIN, "NPROPIN", 0, MAXPIN)) return;
  for (int t = 1; t <= m.NPROPIN && rd.ok(); ++t) {
    rd.rec().i(m.IPNOI(t), Fid("property number", t)).i(m.NSECTI(t), Fid("NSECTI", t));
    if (!within(rd, m.NSECTI(t), Fid("NSECTI", t), 0, MAXSECT)) return;
    rd.rec()
        .i(m.NSEGI(t), Fid("NSEGI", t))
        .r(m.PLENI(t), Fid("PLENI", t), true)
        .i(m.PKINDI(t), Fid("PKINDI", t));
    for (int s = 1; s <= m.NSECTI(t) && rd.ok(); ++s)
      rd.rec()
          .r(m.SFROMI(t, s), Fid("SFROMI", t, s), true)
          .r(m.STOI(t, s), Fid("STOI", t, s), true)
          .i(m.ISECI(t, s), Fid("ISECI", t, s));
  }
}

void read_elastic(Model& m, FreeReader& rd, int k) {
  rd.rec();
  for (int j = 1; j <= 8; ++j) rd.r(m.SPROPI(k, j), Fid("SPROPI", k, j), true);
  rd.rec();
  for (int j = 9; j <= 18; ++j) rd.r(m.SPROPI(k, j), Fid("SPROPI", k, j), true);
  rd.i(m.ITAPERI(k), Fid("ITAPERI", k));
  if (m.ITAPERI(k) > 0) {
    rd.rec();
    for (int j = 19; j <= 26; ++j) rd.r(m.SPROPI(k, j), Fid("SPROPI", k, j), true);
    rd.rec();
    for (int j = 27; j <= 36; ++j) rd.r(m.SPROPI(k, j), Fid("SPROPI", k, j), true);
  } else {
    for (int j = 1; j <= 18; ++j) m.SPROPI(k, 18 + j) = m.SPROPI(k, j);
  }
  rd.rec()
      .i(m.IAISCFAM(k), Fid("IAISCFAM", k))
      .i(m.ISPARE1(k), Fid("section item", k, 2))
      .r(m.SPROPI(k, 37), Fid("SPROPI", k, 37))
      .i(m.IEXTDIA(k), Fid("IEXTDIA", k))
      .i(m.ISPARE2(k), Fid("section item", k, 5));
  rd.rec().t(m.SNAME2(k), Fid("SNAME2", k));
}

// A list of points of a nonlinear section: `count` records of `per` values each.
bool read_points(FreeReader& rd, int& count, const Fid& fc, int per, double* x, double* y,
                 const char* name, int k) {
  if (!within(rd, count, fc, -2147483647, MAXNLPT)) return false;
  for (int p = 1; p <= count && rd.ok(); ++p) {
    rd.rec().r(x[p - 1], Fid(name, k, 1, p));
    if (per == 2) rd.r(y[p - 1], Fid(name, k, 2, p));
  }
  return rd.ok();
}

void read_nonlinear(Model& m, FreeReader& rd, int k) {
  static constexpr int kCols[8] = {1, 10, 11, 12, 14, 15, 16, 17};
  rd.rec();
  for (int j : kCols) rd.r(m.SPROPI(k, j), Fid("SPROPI", k, j), true);
  for (int j : kCols) m.SPROPI(k, 18 + j) = m.SPROPI(k, j);
  rd.rec().i(m.NLINT(k, 1), Fid("NLINT", k, 1));
  for (int j = 1; j <= 10; ++j) rd.r(m.NLVAL(k, j), Fid("NLVAL", k, j));
  rd.rec();
  for (int j = 11; j <= 16; ++j) rd.r(m.NLVAL(k, j), Fid("NLVAL", k, j));
  for (int j = 2; j <= 5; ++j) rd.i(m.NLINT(k, j), Fid("NLINT", k, j));
  rd.rec().t(m.SNAME3(k), Fid("SNAME3", k));
  rd.rec();
  for (int j = 6; j <= 10; ++j) rd.i(m.NLINT(k, j), Fid("NLINT", k, j));
  for (int j = 17; j <= 21; ++j) rd.r(m.NLVAL(k, j), Fid("NLVAL", k, j));
  rd.i(m.NLINT(k, 11), Fid("NLINT", k, 11));
  rd.rec();
  for (int j = 12; j <= 17; ++j) rd.i(m.NLINT(k, j), Fid("NLINT", k, j));
  for (int j = 22; j <= 25; ++j) rd.r(m.NLVAL(k, j), Fid("NLVAL", k, j));
  double x[MAXNLPT], y[MAXNLPT];
  if (!rd.ok()) return;
  int& n1 = m.NLINT(k, 10);
  if (!read_points(rd, n1, Fid("NLINT", k, 10), 2, x, y, "NLPT1", k)) return;
  for (int p = 1; p <= n1; ++p) m.NLPT1(k, 1, p) = x[p - 1], m.NLPT1(k, 2, p) = y[p - 1];
  rd.rec();
  for (int j = 18; j <= 22; ++j) rd.i(m.NLINT(k, j), Fid("NLINT", k, j));
  for (int j = 26; j <= 30; ++j) rd.r(m.NLVAL(k, j), Fid("NLVAL", k, j));
  if (!rd.ok()) return;
  int& n2 = m.NLINT(k, 22);
  if (!read_points(rd, n2, Fid("NLINT", k, 22), 2, x, y, "NLPT2", k)) return;
  for (int p = 1; p <= n2; ++p) m.NLPT2(k, 1, p) = x[p - 1], m.NLPT2(k, 2, p) = y[p - 1];
  rd.rec();
  for (int j = 23; j <= 25; ++j) rd.i(m.NLINT(k, j), Fid("NLINT", k, j));
  for (int j = 31; j <= 32; ++j) rd.r(m.NLVAL(k, j), Fid("NLVAL", k, j));
  if (!rd.ok()) return;
  int& n3 = m.NLINT(k, 23);
  if (!within(rd, n3, Fid("NLINT", k, 23), -2147483647, MAXNLPT)) return;
  for (int p = 1; p <= n3 && rd.ok(); ++p) rd.rec().r(m.NLLST(k, p), Fid("NLLST", k, p));
  rd.rec();
  for (int j = 26; j <= 33; ++j) rd.i(m.NLINT(k, j), Fid("NLINT", k, j));
  for (int j = 33; j <= 35; ++j) rd.r(m.NLVAL(k, j), Fid("NLVAL", k, j));
}

void read_sections(Model& m, FreeReader& rd) {
  if (!read_title(m, rd, "CROSS SECTIONS")) return;
  rd.rec().i(m.NSECIN, "NSECIN");
  if (!within(rd, m.NSECIN, "NSECIN", 0, MAXSECIN)) return;
  // The tables of a fresh run are zero: nothing of an earlier section is left to clear.
  for (int k = 1; k <= m.NSECIN && rd.ok(); ++k) {
    int unused = 0;
    rd.rec()
        .i(m.ISECNOI(k), Fid("section number", k))
        .i(unused, Fid("section item", k, 1))
        .i(m.ISHAPEI(k), Fid("ISHAPEI", k))
        .i(m.INONLIN(k), Fid("INONLIN", k));
    rd.rec().t(m.SNAME(k), Fid("SNAME", k));
    if (!rd.ok()) return;
    if (m.INONLIN(k) == 0)
      read_elastic(m, rd, k);
    else
      read_nonlinear(m, rd, k);
  }
}

void read_soil(Model& m, FreeReader& rd) {
  if (!read_title(m, rd, "SOIL LAYERS")) return;
  rd.rec().i(m.NLAYIN, "NLAYIN");
  if (!within(rd, m.NLAYIN, "NLAYIN", 0, MAXLAYIN)) return;
  for (int L = 1; L <= m.NLAYIN && rd.ok(); ++L) {
    rd.rec().i(m.LNOI(L), Fid("layer number", L)).i(m.LSOILI(L), Fid("LSOILI", L));
    rd.rec().r(m.LTOPI(L), Fid("LTOPI", L), true).r(m.LBOTI(L), Fid("LBOTI", L), true);
    rd.rec().i(m.NROWL(L), Fid("NROWL", L)).i(m.NPROPL(L), Fid("NPROPL", L));
    if (!within(rd, m.NROWL(L), Fid("NROWL", L), 0, 2)) return;
    if (!within(rd, m.NPROPL(L), Fid("NPROPL", L), -2147483647, 10)) return;
    for (int r = 1; r <= m.NROWL(L) && rd.ok(); ++r) {
      rd.rec();  // a row takes its line even when it has no values
      for (int j = 1; j <= m.NPROPL(L); ++j) rd.r(m.SOILP(L, r, j), Fid("SOILP", L, r, j), true);
    }
  }
}

}  // namespace

void read_piles(Model& m, FreeReader& rd) {
  read_rows(m, rd);
  if (rd.ok()) read_properties(m, rd);
  if (rd.ok()) read_sections(m, rd);
  if (rd.ok()) read_soil(m, rd);
}

}  // namespace torva
