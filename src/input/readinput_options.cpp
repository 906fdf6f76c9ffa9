// Input sections 11 to 21: requested p-y curves, user curves, moment-curvature data, p-y
// modification factors along depth, soil movement and the plot-pass lists.
#include "input/readinput_parts.h"

namespace torva {

namespace {

void read_pyout(Model& m, FreeReader& rd) {
  if (!read_title(m, rd, "REQUESTED P-Y CURVES")) return;
  rd.rec().i(m.NPYOUT, "NPYOUT");
  if (!within(rd, m.NPYOUT, "NPYOUT", 0, MAXPYOUT)) return;
  for (int i = 1; i <= m.NPYOUT && rd.ok(); ++i) {
    rd.rec().i(m.POPILE(i), Fid("POPILE", i)).r(m.PODEP(i), Fid("PODEP", i));
    rd.rec().i(m.PONPT(i), Fid("PONPT", i));
    if (!within(rd, m.PONPT(i), Fid("PONPT", i), 0, MAXPOPT)) return;
    if (m.PONPT(i) > 0) {
      rd.rec();
      for (int p = 1; p <= m.PONPT(i); ++p) rd.r(m.POY(i, p), Fid("POY", i, p));
    }
  }
}

void read_pyuser(Model& m, FreeReader& rd) {
  if (!read_title(m, rd, "USER P-Y CURVES")) return;
  rd.rec().i(m.NSETPY, "NSETPY");
  if (!within(rd, m.NSETPY, "NSETPY", 0, MAXPYSET)) return;
  for (int s = 1; s <= m.NSETPY && rd.ok(); ++s) {
    rd.rec().i(m.PYSETI(s), Fid("PYSETI", s)).i(m.NCRVI(s), Fid("NCRVI", s));
    if (!within(rd, m.NCRVI(s), Fid("NCRVI", s), 0, MAXPYCRV)) return;
    // The curves of a set are searched down the pile, the points of a curve by deflection.
    // Two curves at one depth make a step in the profile, except the first two: above the
    // first curve the curves are extended along the line through curves 1 and 2, which
    // needs two depths.
    for (int j = 1; j <= m.NCRVI(s) && rd.ok(); ++j) {
      rd.rec().r(m.PYDEPI(s, j), Fid("PYDEPI", s, j));
      if (j > 1 && !ascending(rd, m.PYDEPI(s, j), m.PYDEPI(s, j - 1), Fid("PYDEPI", s, j),
                              j == 2 ? "FIRST TWO CURVE DEPTHS OF A SET" : "CURVE DEPTHS OF A SET",
                              j == 2))
        return;
      rd.rec().i(m.NPTI(s, j), Fid("NPTI", s, j));
      if (!within(rd, m.NPTI(s, j), Fid("NPTI", s, j), 0, MAXPYPT)) return;
      for (int q = 1; q <= m.NPTI(s, j) && rd.ok(); ++q) {
        rd.rec()
            .r(m.PYPI(s, j, q), Fid("PYPI", s, j, q))
            .r(m.PYYI(s, j, q), Fid("PYYI", s, j, q));
        if (q > 1 && !ascending(rd, m.PYYI(s, j, q), m.PYYI(s, j, q - 1), Fid("PYYI", s, j, q),
                                "DEFLECTIONS OF A CURVE"))
          return;
      }
    }
  }
}

// A list of pile-group rows, one per record (sections 13 and 14).
void read_row_list(FreeReader& rd, int& n, Arr1<int, MAXROW>& list, const char* count,
                   const char* name, int limit) {
  rd.rec().i(n, count);
  if (!within(rd, n, count, 0, limit)) return;
  for (int i = 1; i <= n && rd.ok(); ++i) rd.rec().i(list(i), Fid(name, i));
}

// User load-settlement or torque-rotation curves (sections 15 and 16). The curves are
// searched by movement (rotation) and interpolated over the step between two points: the
// points come in strictly ascending order of it. `what` names the movement.
void read_user_curves(FreeReader& rd, int& n, Arr1<int, MAXUSRC>& id, Arr1<int, MAXUSRC>& npt,
                      Arr2<double, MAXUSRC, MAXUSRPT>& v1, Arr2<double, MAXUSRC, MAXUSRPT>& v2,
                      const char* const names[5], const char* what) {
  rd.rec().i(n, names[0]);
  if (!within(rd, n, names[0], 0, MAXUSRC)) return;
  for (int c = 1; c <= n && rd.ok(); ++c) {
    rd.rec().i(id(c), Fid(names[1], c)).i(npt(c), Fid(names[2], c));
    if (!within(rd, npt(c), Fid(names[2], c), 0, MAXUSRPT)) return;
    for (int i = 1; i <= npt(c) && rd.ok(); ++i) {
      rd.rec().r(v1(c, i), Fid(names[3], c, i)).r(v2(c, i), Fid(names[4], c, i));
      if (i > 1 && !ascending(rd, v2(c, i), v2(c, i - 1), Fid(names[4], c, i), what, true))
        return;
    }
  }
}

void read_mphi_user(Model& m, FreeReader& rd) {
  if (!read_title(m, rd, "USER MOMENT-CURVATURE SETS")) return;
  rd.rec().i(m.NMPSETI, "NMPSETI");
  if (!within(rd, m.NMPSETI, "NMPSETI", 0, MAXMPSET)) return;
  for (int s = 1; s <= m.NMPSETI && rd.ok(); ++s) {
    rd.rec().i(m.MPSETI(s), Fid("MPSETI", s)).i(m.NCRVMI(s), Fid("NCRVMI", s));
    if (!within(rd, m.NCRVMI(s), Fid("NCRVMI", s), 0, MAXMPCRV)) return;
    // The curves of a set are searched by axial load, the points of a curve by curvature.
    for (int k = 1; k <= m.NCRVMI(s) && rd.ok(); ++k) {
      rd.rec().r(m.AXLI(s, k), Fid("AXLI", s, k));
      if (k > 1 && !ascending(rd, m.AXLI(s, k), m.AXLI(s, k - 1), Fid("AXLI", s, k),
                              "AXIAL LOADS OF A SET"))
        return;
      // Two integers, both into the point count: the second one stands.
      rd.rec().i(m.NPTMI(s, k), Fid("NPTMI", s, k)).i(m.NPTMI(s, k), Fid("NPTMI", s, k));
      if (!within(rd, m.NPTMI(s, k), Fid("NPTMI", s, k), 0, MAXMPPT)) return;
      for (int p = 1; p <= m.NPTMI(s, k) && rd.ok(); ++p) {
        rd.rec()
            .r(m.MOMI(s, k, p), Fid("MOMI", s, k, p))
            .r(m.PHII(s, k, p), Fid("PHII", s, k, p));
        if (p > 1 && !ascending(rd, m.PHII(s, k, p), m.PHII(s, k, p - 1), Fid("PHII", s, k, p),
                                "CURVATURES OF A CURVE"))
          return;
      }
    }
  }
}

// The curves of one entry of the nonlinear sections' moment-curvature data, one axis.
void read_mphi_entry(FreeReader& rd, MPHIGEN& g, int i, const char* axis) {
  rd.rec().i(g.ISECG(i), Fid("ISECG", i)).i(g.NCRVG(i), Fid("NCRVG", i));
  if (!within(rd, g.NCRVG(i), Fid("NCRVG", i), 0, MAXMPCRV)) return;
  for (int k = 1; k <= g.NCRVG(i) && rd.ok(); ++k) {
    rd.rec().r(g.AXLG(i, k), Fid("AXLG", i, k));
    if (k > 1 && !ascending(rd, g.AXLG(i, k), g.AXLG(i, k - 1), Fid("AXLG", i, k),
                            "AXIAL LOADS OF A SET"))
      return;
    rd.rec().r(g.MOMG(i, k, 0), Fid(axis, i, k));
    int unused = 0;
    rd.rec().i(unused, Fid(axis, i, k)).i(g.NPTG(i, k), Fid("NPTG", i, k));
    if (!within(rd, g.NPTG(i, k), Fid("NPTG", i, k), 0, MAXMPPT)) return;
    for (int p = 1; p <= g.NPTG(i, k) && rd.ok(); ++p) {
      rd.rec().r(g.MOMG(i, k, p), Fid("MOMG", i, k, p)).r(g.PHIG(i, k, p), Fid("PHIG", i, k, p));
      if (p > 1 && !ascending(rd, g.PHIG(i, k, p), g.PHIG(i, k, p - 1), Fid("PHIG", i, k, p),
                              "CURVATURES OF A CURVE"))
        return;
    }
  }
}

void read_mphi_sections(Model& m, FreeReader& rd) {
  if (!read_title(m, rd, "MOMENT-CURVATURE CURVES OF THE NONLINEAR CROSS SECTIONS")) return;
  MPHIGEN& g1 = m.MPHIGEN1;
  MPHIGEN& g2 = m.MPHIGEN2;
  rd.rec().i(g1.NMPG, "NMPG");
  g2.NMPG = 0;
  if (!within(rd, g1.NMPG, "NMPG", 0, MAXMPG)) return;
  for (int i = 1; i <= g1.NMPG && rd.ok(); ++i) {
    read_mphi_entry(rd, g1, i, "first-axis curve item");
    g2.ISECG(i) = 0;
    g2.NCRVG(i) = 0;
    if (m.NDIM == 3 && rd.ok()) read_mphi_entry(rd, g2, i, "second-axis curve item");
  }
}

void read_pymod(Model& m, FreeReader& rd) {
  if (!read_title(m, rd, "P-Y MODIFICATION FACTORS ALONG DEPTH")) return;
  rd.rec().i(m.NPYMOD, "NPYMOD");
  if (!within(rd, m.NPYMOD, "NPYMOD", 0, MAXPMSET)) return;
  for (int s = 1; s <= m.NPYMOD && rd.ok(); ++s) {
    rd.rec().i(m.IDPYMOD(s), Fid("IDPYMOD", s)).i(m.NPTMOD(s), Fid("NPTMOD", s));
    if (!within(rd, m.NPTMOD(s), Fid("NPTMOD", s), 0, MAXPMPT)) return;
    for (int p = 1; p <= m.NPTMOD(s) && rd.ok(); ++p) {
      rd.rec()
          .r(m.PMDEP(s, p), Fid("PMDEP", s, p), true)
          .r(m.PMPF(s, p), Fid("PMPF", s, p), true)
          .r(m.PMYF(s, p), Fid("PMYF", s, p), true);
      if (p > 1 && !ascending(rd, m.PMDEP(s, p), m.PMDEP(s, p - 1), Fid("PMDEP", s, p),
                              "DEPTHS OF A SET"))
        return;
    }
  }
}

void read_smove(Model& m, FreeReader& rd) {
  if (!read_title(m, rd, "SOIL MOVEMENT")) return;
  rd.rec().i(m.NSMPT, "NSMPT");
  if (!within(rd, m.NSMPT, "NSMPT", 0, MAXSMPT)) return;
  for (int i = 1; i <= m.NSMPT && rd.ok(); ++i) {
    rd.rec()
        .r(m.SMDEP(i), Fid("SMDEP", i), true)
        .r(m.SMY(i), Fid("SMY", i))
        .r(m.SMZ(i), Fid("SMZ", i));
    if (i > 1 && !ascending(rd, m.SMDEP(i), m.SMDEP(i - 1), Fid("SMDEP", i), "MOVEMENT DEPTHS"))
      return;
  }
  for (int i = 1; i <= m.NSMPT; ++i) {
    m.SMY0(i) = m.SMY(i);
    m.SMZ0(i) = m.SMZ(i);
  }
}

// Most plot segments along one pile: far more than any graph can show.
constexpr int kMaxPlotSeg = 10000;

void read_plot_lists(Model& m, FreeReader& rd) {
  if (!read_title(m, rd, "PLOT-PASS LISTS")) return;
  rd.rec().i(m.NPLTPT, "NPLTPT").i(m.IPLTY, "IPLTY").i(m.IPLTY2, "IPLTY2");
  // Every pile is divided into this many plot segments: at least one.
  if (!within(rd, m.NPLTPT, "NPLTPT", 1, kMaxPlotSeg)) return;
  if (m.IPLTY == 1) {
    rd.rec().i(m.NPLTY, "NPLTY");
    if (!within(rd, m.NPLTY, "NPLTY", 0, MAXPOPT)) return;
    for (int i = 1; i <= m.NPLTY && rd.ok(); ++i) rd.rec().r(m.PLTY(i), Fid("PLTY", i));
  }
  if (m.IPLTY2 == 1 && rd.ok()) {
    rd.rec().i(m.NPLTY2, "NPLTY2");
    if (!within(rd, m.NPLTY2, "NPLTY2", 0, MAXPOPT)) return;
    for (int i = 1; i <= m.NPLTY2 && rd.ok(); ++i) rd.rec().r(m.PLTY2(i), Fid("PLTY2", i));
  }
}

}  // namespace

void read_options(Model& m, FreeReader& rd) {
  const char* const kLs[5] = {"NLSI", "LSIDI", "NPTLSI", "LSLI", "LSDI"};
  const char* const kTr[5] = {"NTRI", "TRIDI", "NPTTRI", "TRTI", "TRRI"};
  if (m.IPYOUT == 1) read_pyout(m, rd);
  if (m.IPYUSER == 1 && rd.ok()) read_pyuser(m, rd);
  if (rd.ok() && read_title(m, rd, "ROWS WITH GENERATED LOAD-SETTLEMENT CURVES"))
    read_row_list(rd, m.NLSGEN, m.LSGEN, "NLSGEN", "LSGEN", MAXROW);
  // The generated torque-rotation curves are kept in a table of 50 curves.
  if (m.NDIM == 3 && rd.ok() &&
      read_title(m, rd, "ROWS WITH GENERATED TORQUE-ROTATION CURVES"))
    read_row_list(rd, m.NTRGEN, m.TRGEN, "NTRGEN", "TRGEN", MAXTRGEN);
  if (m.IUSRLS == 1 && rd.ok() && read_title(m, rd, "USER LOAD-SETTLEMENT CURVES"))
    read_user_curves(rd, m.NLSI, m.LSIDI, m.NPTLSI, m.LSLI, m.LSDI, kLs,
                     "MOVEMENTS OF A CURVE");
  if (m.ITRUSER == 1 && rd.ok() && read_title(m, rd, "USER TORQUE-ROTATION CURVES"))
    read_user_curves(rd, m.NTRI, m.TRIDI, m.NPTTRI, m.TRTI, m.TRRI, kTr,
                     "ROTATIONS OF A CURVE");
  if (m.NMPHI > 0 && rd.ok()) read_mphi_user(m, rd);
  if (m.NSECIN > 0 && rd.ok()) read_mphi_sections(m, rd);
  if (m.IPYMOD == 1 && rd.ok()) read_pymod(m, rd);
  m.NSMPT = 0;
  if (m.ISMOVE == 1 && rd.ok()) read_smove(m, rd);
  if (m.IPLTPASS == 1 && rd.ok()) read_plot_lists(m, rd);
}

}  // namespace torva
