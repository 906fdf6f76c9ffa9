#include "input/inputcheck.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <string>

#include "input/readinput_parts.h"
#include "input/units.h"
#include "io/platform.h"
#include "model/layer_nodes.h"
#include "model/messages.h"

namespace torva {

namespace {

constexpr int kMaxMessages = 20;  // invalid values reported before the rest are only counted
constexpr int kUserPyCriterion = 5;   // the soil criterion of the user p-y curves
constexpr int kElasticSubgrade = 12;  // the soil criterion p = k D y

std::string upper(std::string s) {
  for (char& c : s) c = char(std::toupper(static_cast<unsigned char>(c)));
  return s;
}

std::string range_text(int lo, int hi) {
  if (lo == hi) return std::to_string(lo);
  return std::to_string(lo) + " TO " + std::to_string(hi);
}

struct Checker {
  Model& m;
  const FreeReader& rd;
  int refused = 0;

  void refuse(const Fid& f, std::string found, std::string allowed) {
    if (++refused <= kMaxMessages) report_input_error(m, rd.make_invalid(f, found, allowed));
  }
  // A value that is allowed but very likely a slip: one line on the run log, kept with the
  // reader's warnings (counted after the reading and listed in the results report).
  void warn(const Fid& f, const std::string& text) {
    const int line = rd.where(f).line;  // 0: a table not read from a file
    std::string w = "     ** WARNING ** " +
                    (line > 0 ? "LINE " + std::to_string(line) + ", " : std::string()) +
                    "FIELD " + f.str() + ": " + text;
    m.RUNLOG.line(w);
    m.INWARN.push_back(std::move(w));
  }
  // An integer in lo..hi; `what` names what the value refers to.
  void range(int v, const Fid& f, int lo, int hi, const std::string& what) {
    if (v < lo || v > hi) {
      if (hi < lo)
        refuse(f, std::to_string(v), "NONE: " + what + " (NONE GIVEN)");
      else
        refuse(f, std::to_string(v), range_text(lo, hi) + " (" + what + ")");
    }
  }
  void above_zero(double v, const Fid& f) {
    if (!(v > 0.0)) refuse(f, real_text(v), "A VALUE GREATER THAN 0");
  }
  void not_negative(double v, const Fid& f) {
    if (!(v >= 0.0)) refuse(f, real_text(v), "A VALUE OF 0 OR MORE");
  }
  // An iteration limit of the pile or the cap solutions. Below 1 a limit would not limit:
  // the cap analysis never tests its first iteration and would still make two, then report
  // the limit as given.
  void iterations(int v, const Fid& f) {
    if (v < 1) refuse(f, std::to_string(v), "AT LEAST 1 ITERATION");
  }
};

void check_rows(Checker& ck) {
  Model& m = ck.m;
  const bool three = m.NDIM == 3;
  const int nrow = three ? m.NROW3 : m.NROW2;
  if (nrow < 1) ck.refuse(three ? "NROW3" : "NROW2", std::to_string(nrow), "1 TO 2500 ROWS");
  // The row's multipliers are read unless the factors are estimated (options 1 and 3);
  // the Z-direction pair only in 3-D with user factors (option 2), where they are combined
  // with the Y-direction pair.
  const bool factors_used = m.IREDFAC == 0 || m.IREDFAC == 2;
  const bool z_factors_used = three && m.IREDFAC == 2;
  // The row's user p-y set is read with user p-y curves on, and by every layer whose
  // criterion interpolates between user curves.
  bool pyset_read = m.IPYUSER == 1;
  for (int L = 1; L <= std::min(m.NLAYIN, MAXLAYIN); ++L)
    pyset_read = pyset_read || m.LSOILI(L) == kUserPyCriterion;
  for (int g = 1; g <= nrow; ++g) {
    auto ival = [&](int k) { return three ? m.ROWI3(g, k) : m.ROWI2(g, k); };
    auto ifid = [&](int k) {
      // Field names by column; a column beyond the 2-D list exists only in 3-D.
      const char* name = three ? kRowI3[k] : (k < 8 ? kRowI2[k] : "");
      return Fid(name, g);
    };
    const int kptype = 3, kpyset = 4, klsno = 5;
    const int kpmod = three ? 7 : 6, klsg = three ? 9 : 7;
    ck.range(ival(kptype), ifid(kptype), 1, m.NPROPIN, "PILE PROPERTIES GIVEN");
    if (pyset_read) {
      // A negative set keeps the generated curves and takes user set -s in the layers of
      // the user-curve criterion.
      const int s = ival(kpyset);
      if (s < -m.NSETPY || s > m.NSETPY)
        ck.refuse(ifid(kpyset), std::to_string(s),
                  m.NSETPY < 1 ? "0 (NO USER P-Y SETS GIVEN)"
                               : range_text(-m.NSETPY, m.NSETPY) +
                                     " (USER P-Y SETS GIVEN; A NEGATIVE SET: GENERATED CURVES, "
                                     "THE SET IN THE LAYERS OF USER P-Y CURVES)");
    }
    if (ival(klsno) != 0)
      ck.range(ival(klsno), ifid(klsno), 1, m.NLSI, "USER LOAD-SETTLEMENT CURVES GIVEN");
    else
      ck.range(ival(klsg), ifid(klsg), 1, m.NLSGEN, "GENERATED LOAD-SETTLEMENT CURVES LISTED");
    if (three) {
      if (m.ROWI3(g, 6) != 0)
        ck.range(m.ROWI3(g, 6), Fid(kRowI3[6], g), 1, m.NTRI, "USER TORQUE-ROTATION CURVES GIVEN");
      else
        ck.range(m.ROWI3(g, 10), Fid(kRowI3[10], g), 1, m.NTRGEN,
                 "GENERATED TORQUE-ROTATION CURVES LISTED");
    }
    if (m.IPYMOD == 1) {
      const int s = ival(kpmod);
      ck.range(s, ifid(kpmod), 0, m.NPYMOD, "SETS OF MODIFICATION FACTORS GIVEN");
      if (s >= 1 && s <= m.NPYMOD && m.NPTMOD(s) < 1)
        ck.refuse(Fid("NPTMOD", s), std::to_string(m.NPTMOD(s)),
                  "1 TO 50 POINTS (THE SET IS USED BY A ROW)");
    }
    if (factors_used) {
      if (three) {
        ck.above_zero(m.ROWR3(g, 3), Fid(kRowR3[3], g));
        ck.above_zero(m.ROWR3(g, 4), Fid(kRowR3[4], g));
        if (z_factors_used) {
          ck.above_zero(m.ROWR3(g, 5), Fid(kRowR3[5], g));
          ck.above_zero(m.ROWR3(g, 6), Fid(kRowR3[6], g));
        }
      } else {
        ck.above_zero(m.ROWR2(g, 3), Fid(kRowR2[3], g));
        ck.above_zero(m.ROWR2(g, 4), Fid(kRowR2[4], g));
      }
    }
  }
  for (int i = 1; i <= m.NLSGEN; ++i)
    ck.range(m.LSGEN(i), Fid("LSGEN", i), 1, nrow, "PILE-GROUP ROWS");
  if (three)
    for (int i = 1; i <= m.NTRGEN; ++i)
      ck.range(m.TRGEN(i), Fid("TRGEN", i), 1, nrow, "PILE-GROUP ROWS");
  if (m.IPYOUT == 1)
    for (int i = 1; i <= m.NPYOUT; ++i)
      ck.range(m.POPILE(i), Fid("POPILE", i), 1, nrow, "PILE-GROUP ROWS");
}

// The values of a row that the pile solutions take as they stand: the piles of a 2-D row,
// the factor on the axial resistance, the direction of the pile axis, the head springs and
// the connection codes.
void check_row_values(Checker& ck) {
  Model& m = ck.m;
  const bool three = m.NDIM == 3;
  const int nrow = three ? m.NROW3 : m.NROW2;
  for (int g = 1; g <= nrow; ++g) {
    auto rval = [&](int k) { return three ? m.ROWR3(g, k) : m.ROWR2(g, k); };
    auto rfid = [&](int k) { return Fid(three ? kRowR3[k] : kRowR2[k], g); };
    if (!three && m.ROWI2(g, 2) < 1)
      ck.refuse(Fid(kRowI2[2], g), std::to_string(m.ROWI2(g, 2)), "1 OR MORE PILES IN THE ROW");
    // The axial head force of every pile of the row is multiplied by the factor.
    const int kax = three ? 7 : 5;
    if (rval(kax) < 0.0)
      ck.refuse(rfid(kax), real_text(rval(kax)),
                "0 OR MORE (FACTOR ON THE AXIAL RESISTANCE; 1.0 THE FULL RESISTANCE)");
    else if (rval(kax) == 0.0)
      ck.warn(rfid(kax), "0 REMOVES THE AXIAL RESISTANCE OF THE ROW'S PILES (1.0 KEEPS IT IN FULL)");
    // The pile axis points into the ground: (cos ALPHA, sin ALPHA) in 2-D,
    // (sin BETA, cos ALPHA cos BETA, sin ALPHA cos BETA) in 3-D.
    if (three) {
      const double beta = m.ROWR3(g, 12);
      if (!(beta > 0.0 && beta < 180.0))
        ck.refuse(Fid(kRowR3[12], g), real_text(beta),
                  "ABOVE 0 AND BELOW 180 DEGREES (THE PILE AXIS POINTS DOWNWARD; 90 IS VERTICAL)");
    } else {
      const double alpha = m.ROWR2(g, 8);
      if (!(alpha > -90.0 && alpha < 90.0))
        ck.refuse(Fid(kRowR2[8], g), real_text(alpha),
                  "ABOVE -90 AND BELOW 90 DEGREES (THE PILE AXIS POINTS DOWNWARD; 0 IS VERTICAL)");
    }
    // Codes 1 and 2 pin and fix the head; every other code holds it by its rotational
    // spring (a spring of 0 is a pin), which cannot be negative.
    for (int plane = 1; plane <= (three ? 2 : 1); ++plane) {
      const int code = three ? m.ROWI3(g, plane) : m.ROWI2(g, 1);
      const Fid cfid(three ? kRowI3[plane] : kRowI2[1], g);
      const int ks = plane;  // SPZ for CONNECTY, SPY for CONNECTZ
      if (code == 1 || code == 2) continue;
      if (rval(ks) < 0.0)
        ck.refuse(rfid(ks), real_text(rval(ks)),
                  std::string("0 OR MORE (HEAD ROTATIONAL SPRING OF CONNECTION ") +
                      std::to_string(code) + "; 0 IS A PIN)");
      if (code != 3)
        ck.warn(cfid, std::to_string(code) +
                          " IS NOT A CONNECTION CODE (1 PINNED, 2 FIXED, 3 ROTATIONAL SPRING): THE "
                          "PILE SOLUTIONS TAKE IT AS 3, A ROTATIONAL SPRING " +
                          (plane == 1 ? "SPZ = " : "SPY = ") + real_text(rval(ks)) +
                          (rval(ks) == 0.0 ? " (A PIN)" : ""));
    }
  }
}

// A depth as read, with its unit, for messages.
std::string depth_text(const Model& m, double v) {
  std::string u(m.UDEP2.view());
  while (!u.empty() && u.front() == ' ') u.erase(u.begin());
  return real_text(v) + " " + u;
}

// The vertical coordinates of the n + 1 nodes of row g on its property t (internal units), as
// the pile node layout forms them: from the head down by the increment, projected on the
// vertical when the battered piles' depths are adjusted.
void node_depths(const Model& m, int g, int t, double* dn) {
  const bool three = m.NDIM == 3;
  const int n = m.NSEGI(t);
  constexpr double kPi = 3.141592653589793;
  const double batter =
      three ? kPi / 2.0 - m.ROWR3(g, 12) * kPi / 180.0 : m.ROWR2(g, 8) * kPi / 180.0;
  const double h = TOIN(m, m.PLENI(t)) / n;
  const double hv = m.IBATTER == 1 ? h * std::cos(batter) : h;
  dn[0] = TOIN(m, three ? m.ROWR3(g, 8) : m.ROWR2(g, 6));
  for (int k = 1; k <= n; ++k) dn[k] = dn[k - 1] + hv;
}

// User p-y curves must reach every node that reads them. A row on user curves (IPYUSER 1 and
// a set above 0) reads its set at the head's X plus the distance along the pile, down to the
// tip; a row on generated curves reads its user set (the negative of PYSETG) in every layer
// of the user-curve criterion that its nodes cross. A set of one curve serves every depth;
// a longer set ends at its last curve. The analysis would otherwise stop on it far from
// the input ("P-Y CURVES DO NOT EXTEND THE LENGTH OF THE PILE").
void check_py_reach(Checker& ck) {
  Model& m = ck.m;
  const bool three = m.NDIM == 3;
  const int nrow = std::min(three ? m.NROW3 : m.NROW2, MAXROW);
  const int nl = std::min(m.NLAYIN, MAXLAYIN);
  const double tol = m.TOLDEP;
  // A set reaches down to X (internal units): a set of one curve reaches every depth.
  auto reaches = [&](int s, double x) {
    return m.NCRVI(s) == 1 || (m.NCRVI(s) > 1 && TOIN(m, m.PYDEPI(s, m.NCRVI(s))) >= x - tol);
  };
  auto found = [&](int set, int s) {
    return std::to_string(set) + " (USER P-Y SET " + std::to_string(s) + ", " +
           (m.NCRVI(s) < 1 ? std::string("WITHOUT CURVES")
                           : "ITS LAST CURVE AT X = " + depth_text(m, m.PYDEPI(s, m.NCRVI(s)))) +
           ")";
  };
  for (int g = 1; g <= nrow; ++g) {
    const int set = three ? m.ROWI3(g, 4) : m.ROWI2(g, 4);
    const Fid fid(three ? kRowI3[4] : kRowI2[4], g);
    if (set < -m.NSETPY || set > m.NSETPY) continue;  // refused with the references
    const int s = set < 0 ? -set : set;
    const int t = three ? m.ROWI3(g, 3) : m.ROWI2(g, 3);
    if (t < 1 || t > m.NPROPIN || m.NSEGI(t) < 1 || m.NSEGI(t) > MAXSEG) continue;  // refused
    const int n = m.NSEGI(t), nodes = n + 1;
    if (m.IPYUSER == 1 && set > 0) {
      const double tip = TOIN(m, three ? m.ROWR3(g, 8) : m.ROWR2(g, 6)) + n * (TOIN(m, m.PLENI(t)) / n);
      if (tip < 0.0) continue;  // every node above the curves
      if (!reaches(s, tip))
        ck.refuse(fid, found(set, s),
                  "A SET WHOSE CURVES REACH THE PILE TIP OF THE ROW AT X = " +
                      depth_text(m, TOFT(m, tip)));
      continue;
    }
    // The layers the nodes take, as the pile node layout assigns them; a pile below the
    // deepest layer is refused by the analysis.
    double dn[MAXSEG + 1];
    node_depths(m, g, t, dn);
    if (nl < 1 || dn[nodes - 1] > TOIN(m, m.LBOTI(nl))) continue;
    static_assert(MAXLAYIN <= MAXLAYER);
    int first[MAXLAYIN + 1] = {}, last[MAXLAYIN + 1] = {};
    layer_nodes(
        nodes, nl, [&](int k) { return dn[k - 1]; }, [&](int L) { return TOIN(m, m.LTOPI(L)); },
        [&](int L) { return TOIN(m, m.LBOTI(L)); },
        [&](int L, int f, int l) {
          first[L] = f;
          last[L] = l;
        });
    for (int L = 1; L <= nl; ++L) {
      if (m.LSOILI(L) != kUserPyCriterion || first[L] == 0) continue;
      if (first[L] == nodes && last[L] == nodes) continue;  // the tip alone: not evaluated
      const double top = TOFT(m, dn[first[L] - 1]), bottom = TOFT(m, dn[last[L] - 1]);
      const std::string crossing = "THE PILE OF THE ROW CROSSES LAYER " + std::to_string(L) +
                                   " (USER P-Y CURVES) FROM X = " + depth_text(m, top) +
                                   " TO " + depth_text(m, bottom);
      if (s == 0)
        ck.refuse(fid, "0", m.NSETPY < 1 ? "A USER P-Y SET, NONE GIVEN: " + crossing
                                         : "A USER P-Y SET, " + range_text(-m.NSETPY, m.NSETPY) +
                                               " BUT NOT 0: " + crossing);
      else if (!reaches(s, dn[last[L] - 1]))
        ck.refuse(fid, found(set, s),
                  "A SET WHOSE CURVES REACH X = " + depth_text(m, bottom) + ": " + crossing);
    }
  }
}

void check_properties(Checker& ck) {
  Model& m = ck.m;
  for (int t = 1; t <= m.NPROPIN; ++t) {
    ck.range(m.NSEGI(t), Fid("NSEGI", t), 1, MAXSEG, "PILE INCREMENTS");
    ck.range(m.NSECTI(t), Fid("NSECTI", t), 1, MAXSECT, "SECTIONS OF A PILE PROPERTY");
    ck.above_zero(m.PLENI(t), Fid("PLENI", t));
    for (int s = 1; s <= m.NSECTI(t); ++s) {
      ck.range(m.ISECI(t, s), Fid("ISECI", t, s), 1, m.NSECIN, "CROSS SECTIONS GIVEN");
      if (!(m.STOI(t, s) > m.SFROMI(t, s)))
        ck.refuse(Fid("STOI", t, s), real_text(m.STOI(t, s)),
                  "A DEPTH BELOW THE SECTION TOP " + real_text(m.SFROMI(t, s)));
      // The section lookups search the sections from the head down; a depth between two
      // sections would belong to neither (the lookups of the bending stiffness and of the
      // stresses would take different sections there).
      if (s > 1 && m.SFROMI(t, s) < m.STOI(t, s - 1))
        ck.refuse(Fid("SFROMI", t, s), real_text(m.SFROMI(t, s)),
                  "AT OR BELOW THE BOTTOM OF THE SECTION ABOVE " + real_text(m.STOI(t, s - 1)) +
                      " (SECTIONS FROM THE HEAD DOWN)");
      else if (s > 1 && m.SFROMI(t, s) > m.STOI(t, s - 1))
        ck.refuse(Fid("SFROMI", t, s), real_text(m.SFROMI(t, s)),
                  real_text(m.STOI(t, s - 1)) + ", THE BOTTOM OF SECTION " + std::to_string(s - 1) +
                      " (SECTIONS " + std::to_string(s - 1) + " AND " + std::to_string(s) +
                      " LEAVE A GAP)");
    }
  }
  // A section of type 10 takes its bending stiffness from the user sets it names, one per
  // bending axis, when moment-curvature sets are in use; set 0 bends that axis elastically.
  if (m.NMPHI > 0)
    for (int k = 1; k <= m.NSECIN; ++k) {
      if (m.INONLIN(k) == 0 || m.NLINT(k, 1) != kUserEI) continue;
      for (int c = 28; c <= (m.NDIM == 3 ? 29 : 28); ++c)
        ck.range(m.NLINT(k, c), Fid("NLINT", k, c), 0, m.NMPSETI,
                 "USER MOMENT-CURVATURE SETS GIVEN, 0 ELASTIC");
    }
  // Moment-curvature sets: the user sets and one set per bending axis of every nonlinear
  // cross section that takes generated curves share one table (a section of type 10, user
  // bending stiffness, refers to user sets instead).
  int generated = 0;
  for (int k = 1; k <= m.NSECIN; ++k)
    if (takes_generated_mphi(m, k)) generated += m.NDIM == 3 ? 2 : 1;
  const int user = m.NMPHI > 0 ? m.NMPSETI : 0;
  if (user + generated > MAXMPSET)
    ck.refuse("NMPSETI", std::to_string(user) + " USER SETS AND " + std::to_string(generated) +
                             " SETS OF THE NONLINEAR CROSS SECTIONS",
              "AT MOST 150 MOMENT-CURVATURE SETS IN ALL");
}

// A negative diameter, moment of inertia, torsional stiffness or Young's modulus of a cross
// section (at its top, and at its bottom when it is tapered).
void check_sections(Checker& ck) {
  Model& m = ck.m;
  auto name = [](int c) {
    switch (c % 18) {
      case 1: return "DIAMETER";
      case 11: return "MOMENT OF INERTIA IZ";
      case 12: return "MOMENT OF INERTIA IY";
      case 14: return "TORSIONAL STIFFNESS GJ";
      default: return "YOUNG'S MODULUS";
    }
  };
  // The cross sections that pile properties use need a Young's modulus; the diameter of a
  // section that gives none is taken from the last section of its pile, which needs one.
  bool used[MAXSECIN + 1] = {}, last[MAXSECIN + 1] = {};
  for (int t = 1; t <= m.NPROPIN; ++t)
    for (int s = 1; s <= std::min(m.NSECTI(t), MAXSECT); ++s) {
      const int k = m.ISECI(t, s);
      if (k < 1 || k > m.NSECIN) continue;
      used[k] = true;
      last[k] = last[k] || s == m.NSECTI(t);
    }
  for (int k = 1; k <= m.NSECIN; ++k) {
    const bool tapered = m.INONLIN(k) == 0 && m.ITAPERI(k) > 0;
    for (int c : {1, 11, 12, 14, 17, 19, 29, 30, 32, 35}) {
      if (c > 18 && !tapered) continue;
      if (c % 18 == 12 && m.NDIM != 3) continue;  // a 2-D model bends about z only
      const double v = m.SPROPI(k, c);
      const std::string at = c > 18 ? " AT THE BOTTOM" : "";
      // A moment of inertia of 0 is not given: the section takes that of a solid circle of
      // its diameter.
      const std::string zero = c % 18 == 11 || c % 18 == 12 ? "; 0 THAT OF A SOLID CIRCLE" : "";
      if (v < 0.0)
        ck.refuse(Fid("SPROPI", k, c), real_text(v),
                  std::string("0 OR MORE (") + name(c) + at + zero + ")");
      else if (v == 0.0 && used[k] && c % 18 == 17)
        ck.refuse(Fid("SPROPI", k, c), real_text(v),
                  std::string("A VALUE GREATER THAN 0 (") + name(c) + at +
                      " OF A SECTION THAT A PILE PROPERTY USES)");
      else if (v == 0.0 && last[k] && c == 1)
        ck.refuse(Fid("SPROPI", k, c), real_text(v),
                  "A VALUE GREATER THAN 0 (DIAMETER OF THE LAST SECTION OF A PILE PROPERTY)");
    }
  }
}

// The torsional rigidity of the sections that a generated torque-rotation curve marches
// through. In 3-D with soil layers, the echo generates a curve for every row of the list
// when any row takes one; the march divides by GJ along the row's pile, top and bottom of
// each section (a section that is not tapered has one value).
void check_torsion(Checker& ck) {
  Model& m = ck.m;
  if (m.NDIM != 3 || m.NLAYIN < 1) return;
  bool generated = false;
  for (int g = 1; g <= m.NROW3; ++g) generated = generated || m.ROWI3(g, 6) == 0;
  if (!generated) return;
  bool checked[MAXSECIN + 1] = {};
  for (int i = 1; i <= std::min(m.NTRGEN, MAXTRGEN); ++i) {
    const int g = m.TRGEN(i);
    if (g < 1 || g > m.NROW3) continue;
    const int t = m.ROWI3(g, 3);
    if (t < 1 || t > m.NPROPIN) continue;
    for (int s = 1; s <= std::min(m.NSECTI(t), MAXSECT); ++s) {
      const int k = m.ISECI(t, s);
      if (k < 1 || k > m.NSECIN || checked[k]) continue;
      checked[k] = true;
      const bool tapered = m.INONLIN(k) == 0 && m.ITAPERI(k) > 0;
      for (int c : {14, 32}) {
        const double v = m.SPROPI(k, c);
        // A negative value is refused with the other section values.
        if ((c == 32 && !tapered) || v < 0.0 || v > kMinGJ) continue;
        ck.refuse(Fid("SPROPI", k, c), real_text(v),
                  "A VALUE GREATER THAN " + real_text(kMinGJ) + " (TORSIONAL STIFFNESS GJ" +
                      (c == 32 ? " AT THE BOTTOM" : "") + " OF A SECTION OF PILE ROW " +
                      std::to_string(g) + ", WHOSE TORQUE-ROTATION CURVE IS GENERATED)");
      }
    }
  }
}

// The criteria whose p-y curves take their resistance from the effective unit weight, by
// code (1 to 14), with the names the reports give them.
constexpr const char* kWeighed[15] = {
    "",         "SOFT CLAY", "STIFF CLAY WITH FREE WATER", "STIFF CLAY WITHOUT FREE WATER",
    "SAND",     nullptr,     "VUGGY LIMESTONE",            "SILT",
    "API SAND", nullptr,     "STIFF CLAY WITHOUT FREE WATER, WITH INITIAL K",
    nullptr,    nullptr,     "SOFT CLAY WITH USER-DEFINED J", "MODIFIED SOFT CLAY WITH INITIAL K"};

// A unit weight of 0 at the top or the bottom of a layer whose criterion takes its
// resistance from it (given as 0, or not given: a layer of one row of values has 0 at its
// bottom). A sand then resists nothing. One warning a layer, at the first such value.
void warn_unit_weight(Checker& ck, int L) {
  Model& m = ck.m;
  const int code = m.LSOILI(L);
  if (code < 1 || code > 14 || !kWeighed[code]) return;
  auto given = [&](int r) { return r <= m.NROWL(L) && m.NPROPL(L) >= 1; };
  const bool zero[2] = {!given(1) || m.SOILP(L, 1, 1) == 0.0, !given(2) || m.SOILP(L, 2, 1) == 0.0};
  if (!zero[0] && !zero[1]) return;
  const int r = zero[0] ? 1 : 2;
  std::string text = "EFFECTIVE UNIT WEIGHT 0 AT THE ";
  text += zero[0] && zero[1] ? "TOP AND THE BOTTOM" : (r == 1 ? "TOP" : "BOTTOM");
  text += " OF LAYER " + std::to_string(L) + " (" + kWeighed[code] +
          "), WHOSE P-Y CURVES TAKE THEIR RESISTANCE FROM IT";
  if (given(r))
    ck.warn(Fid("SOILP", L, r, 1), text);
  else if (r > m.NROWL(L))
    ck.warn(Fid("NROWL", L), std::to_string(m.NROWL(L)) + " ROW(S) OF VALUES GIVEN: " + text);
  else
    ck.warn(Fid("NPROPL", L), std::to_string(m.NPROPL(L)) + " VALUES A ROW GIVEN: " + text);
}

void check_soil(Checker& ck) {
  Model& m = ck.m;
  // No layers is a valid model whose curves all come from the input; what needs the soil
  // is refused before the analyses.
  ck.range(m.NLAYIN, "NLAYIN", 0, MAXLAYIN, "SOIL LAYERS");
  for (int L = 1; L <= m.NLAYIN; ++L) {
    ck.range(m.LSOILI(L), Fid("LSOILI", L), 1, 14, "SOIL CRITERIA");
    if (!(m.LBOTI(L) > m.LTOPI(L)))
      ck.refuse(Fid("LBOTI", L), real_text(m.LBOTI(L)),
                "A DEPTH BELOW THE LAYER TOP " + real_text(m.LTOPI(L)));
    if (L > 1 && m.LTOPI(L) < m.LBOTI(L - 1))
      ck.refuse(Fid("LTOPI", L), real_text(m.LTOPI(L)),
                "AT OR BELOW THE BOTTOM OF THE LAYER ABOVE " + real_text(m.LBOTI(L - 1)));
    // No row leaves the layer's values at zero; one row, its bottom values.
    ck.range(m.NROWL(L), Fid("NROWL", L), 0, 2, "PROFILE ROWS OF A LAYER: TOP, BOTTOM");
    // The effective unit weight and the friction angle of every row given (tan 90 degrees
    // has no value), and the modulus of an elastic subgrade, which takes no default: the
    // other criteria take one for a modulus of 0 or less.
    for (int r = 1; r <= std::min(m.NROWL(L), 2); ++r)
      for (int j : {1, 3, 4}) {
        if (j > m.NPROPL(L)) continue;
        const double v = m.SOILP(L, r, j);
        if (j == 1 && v < 0.0)
          ck.refuse(Fid("SOILP", L, r, j), real_text(v), "0 OR MORE (EFFECTIVE UNIT WEIGHT)");
        if (j == 3 && !(v >= 0.0 && v < 90.0))
          ck.refuse(Fid("SOILP", L, r, j), real_text(v),
                    "0 OR MORE AND BELOW 90 (FRICTION ANGLE, DEGREES)");
        if (j == 4 && v < 0.0 && m.LSOILI(L) == kElasticSubgrade)
          ck.refuse(Fid("SOILP", L, r, j), real_text(v),
                    "0 OR MORE (MODULUS K OF THE ELASTIC SUBGRADE; 0 GIVES NO RESISTANCE)");
      }
    warn_unit_weight(ck, L);
  }
}

// The values after the NL levels of a stiffness estimation by load levels or towards target
// deflections (option 11 or more, more than 12 values); the analysis takes the whole part of
// each code. The switch is 0 (load levels) or 1 (target deflections); a target deflection
// names a degree of freedom of the model, and its iteration limit (the tenth value after the
// levels) is at least 2: a point's first iteration runs at factor 0 and a second one is needed
// to load the foundation at all.
void check_estimation(Checker& ck, int c) {
  const Model& m = ck.m;
  const int nv = m.CASINT(c, 17);
  if (m.CASINT(c, 9) < 11 || nv <= 12 || nv > MAXNV) return;
  const int nl = nv - 12;
  const double mode = m.STFDAT(c, nl + 1), dof = m.STFDAT(c, nl + 2);
  const double limit = m.STFDAT(c, nl + 10);
  if (!(mode > -1.0 && mode < 2.0))
    ck.refuse(Fid("STFDAT", c, nl + 1), real_text(mode),
              "0 (LOAD LEVELS) OR 1 (TARGET DEFLECTION)");
  if (!(mode >= 1.0 && mode < 2.0)) return;
  const bool named = m.NDIM == 2 ? (dof >= 1.0 && dof < 4.0) || (dof >= 6.0 && dof < 7.0)
                                 : dof >= 1.0 && dof < 7.0;
  if (!named)
    ck.refuse(Fid("STFDAT", c, nl + 2), real_text(dof),
              m.NDIM == 2 ? "1, 2, 3 OR 6 (TARGET DEGREE OF FREEDOM)"
                          : "1 TO 6 (TARGET DEGREE OF FREEDOM)");
  if (!(limit >= 2.0))
    ck.refuse(Fid("STFDAT", c, nl + 10), real_text(limit),
              "2 OR MORE ITERATIONS OF A TARGET-DEFLECTION POINT");
}

void check_loads(Checker& ck) {
  Model& m = ck.m;
  const int nrow = m.NDIM == 3 ? m.NROW3 : m.NROW2;
  for (int c = 1; c <= m.NLC; ++c) {
    // The distributed loads of every case, also of one that is not analysed: a combination
    // of the case assembles them at the nodes of the rows they name.
    for (int n = 1; n <= m.CASINT(c, 16); ++n) {
      // The axes code needs no check: 0 is the pile's local axes and every other code the
      // global axes, in the load assembly and in the echo alike.
      ck.range(m.DLINT(c, n, 3), Fid("DLINT", c, n, 3), 1, nrow, "PILE-GROUP ROWS");
      ck.range(m.DLINT(c, n, 4), Fid("DLINT", c, n, 4), 0, nrow, "PILE-GROUP ROWS, 0 ONE ROW");
      // Every row step has a meaning: the walk loads the smaller of the first and the last
      // row, then steps from it (0 to the larger one, a negative step down to row 1), so a
      // line always loads a row.
      ck.range(m.DLINT(c, n, 6), Fid("DLINT", c, n, 6), 0, m.NDC, "LOAD-VERSUS-DEPTH CURVES");
      if (m.NDIM == 3)
        ck.range(m.DLINT(c, n, 7), Fid("DLINT", c, n, 7), 0, m.NDC, "LOAD-VERSUS-DEPTH CURVES");
    }
    if (m.CASINT(c, 22) == 1) continue;  // not analysed
    // A pile solution closes when two shapes differ by less than the tolerance at every node.
    ck.above_zero(m.CASREAL(c, 2), Fid("TOLPILE", c));
    ck.above_zero(m.CASREAL(c, 3), Fid("FACINC", c));
    ck.above_zero(m.CASREAL(c, 4), Fid("FACMIN", c));
    if (m.CASINT(c, 4) == 0 && m.CASINT(c, 5) < 1)
      ck.refuse(Fid("CASINT", c, 5), std::to_string(m.CASINT(c, 5)),
                "AT LEAST 1 CYCLE FOR CYCLIC LOADING");
    ck.iterations(m.CASINT(c, 6), Fid("MAXITFND", c));
    ck.iterations(m.CASINT(c, 7), Fid("MAXITLLP", c));
    check_estimation(ck, c);
  }
  for (int c = 1; c <= m.NCOMB; ++c) {
    for (int n = 1; n <= m.CBINT(c, 8); ++n)
      ck.range(m.MEMCASE(c, n), Fid("MEMCASE", c, n), 1, m.NLC, "LOAD CASES GIVEN");
    if (m.CBINT(c, 13) == 1) continue;  // not analysed
    ck.above_zero(m.CBREAL(c, 2), Fid("CBREAL", c, 2));
    ck.above_zero(m.CBREAL(c, 3), Fid("CBREAL", c, 3));
    ck.above_zero(m.CBREAL(c, 4), Fid("CBREAL", c, 4));
    if (m.CBINT(c, 4) == 0 && m.CBINT(c, 5) < 1)
      ck.refuse(Fid("CBINT", c, 5), std::to_string(m.CBINT(c, 5)),
                "AT LEAST 1 CYCLE FOR CYCLIC LOADING");
    ck.iterations(m.CBINT(c, 6), Fid("CBINT", c, 6));
    ck.iterations(m.CBINT(c, 7), Fid("CBINT", c, 7));
  }
}

// The pseudo-pile of an embedded cap on soil springs: its segment count divides the cap
// thickness, and its nodes (one more than the segments) and the node after the last, which
// the p-y evaluation reads, must fit in a pile's node table.
void check_cap(Checker& ck) {
  Model& m = ck.m;
  if (m.ICAPOPT > 1 && m.ICAPSPR == 1)
    ck.range(m.NCAPINC, "NCAPINC", 1, MAXNODE - 2, "SEGMENTS OF THE CAP SPRINGS");
  // The cap model for the plate program (3-D only): a mesh it can hold.
  if (m.NDIM == 3 && m.IFEOPT == 2) {
    ck.range(m.FENX, "FENX", 1, MAXFEDIV, "ELEMENTS ALONG THE CAP LENGTH IN THE PLATE MODEL");
    ck.range(m.FENY, "FENY", 1, MAXFEDIV, "ELEMENTS ALONG THE CAP WIDTH IN THE PLATE MODEL");
  }
}

void check_factors(Checker& ck) {
  Model& m = ck.m;
  if (m.IPYMOD != 1) return;
  for (int s = 1; s <= m.NPYMOD; ++s)
    for (int p = 1; p <= m.NPTMOD(s); ++p) {
      ck.not_negative(m.PMPF(s, p), Fid("PMPF", s, p));
      ck.above_zero(m.PMYF(s, p), Fid("PMYF", s, p));
    }
}

// Group reduction factors estimated from the layout (IREDFAC 1 or 3) list every individual
// pile: at most MAXPILES in all, and the piles of a 2-D row need a spacing to stand apart.
void check_group(Checker& ck) {
  Model& m = ck.m;
  if (m.NDIM == 3 || (m.IREDFAC != 1 && m.IREDFAC != 3)) return;
  long long piles = 0;
  for (int g = 1; g <= m.NROW2; ++g) {
    const int n = m.ROWI2(g, 2);
    if (n > 0) piles += n;
    if (n >= 2 && !(m.ROWR2(g, 2) > 0.0))
      ck.refuse(Fid(kRowR2[2], g), real_text(m.ROWR2(g, 2)),
                "A VALUE GREATER THAN 0 (THE ROW HAS " + std::to_string(n) + " PILES)");
  }
  if (piles > MAXPILES)
    ck.refuse(Fid(kRowI2[2], m.NROW2), std::to_string(piles) + " PILES IN ALL ROWS",
              "AT MOST " + std::to_string(MAXPILES) + " FOR THE REDUCTION FACTORS");
}

}  // namespace

void report_input_error(Model& m, const ReadError& e) {
  const std::string file = platform::split_path(m.fname(R_INPUT)).name +
                           platform::split_path(m.fname(R_INPUT)).ext;
  report_read_error(m, e, "INPUT DATA FILE: " + file);
}

void report_read_error(Model& m, const ReadError& e, const std::string& file) {
  const unsigned to = TO_REPORT | TO_RUNLOG;
  emit(m, to, "");
  for (const std::string& l : read_error_lines(e, file)) emit(m, to, l);
}

std::vector<std::string> read_error_lines(const ReadError& e, const std::string& file) {
  std::vector<std::string> out;
  out.push_back(e.kind == ReadFail::invalid ? "     **** INVALID INPUT ****"
                                            : "     **** INPUT ERROR ****");
  out.push_back("     " + file);
  std::string where = "     LINE " + std::to_string(e.line);
  if (e.kind == ReadFail::end_of_file) where += " (THE FILE ENDS THERE)";
  // A record that runs over several lines: where it began, which is where a value that is
  // missing from it should have stood.
  if (e.record_line > 0 && e.record_line != e.line)
    where += ", IN THE RECORD THAT BEGINS ON LINE " + std::to_string(e.record_line);
  out.push_back(e.section.empty() ? where : where + ", SECTION: " + e.section);
  if (e.kind == ReadFail::end_of_file)
    out.push_back("     FIELD " + e.field + ": NOT FOUND, THE RECORD NEEDS A FURTHER LINE");
  else if (e.kind == ReadFail::unreadable)
    out.push_back("     FIELD " + e.field + ": FOUND " + e.found + ", EXPECTED " +
                  upper(e.expected));
  else
    out.push_back("     FIELD " + e.field + ": FOUND " + e.found + ", ALLOWED " +
                  upper(e.expected));
  return out;
}

void INPUTCHECK(Model& m, const FreeReader& rd, int& status) {
  Checker ck{m, rd};
  check_rows(ck);
  check_row_values(ck);
  check_py_reach(ck);
  check_properties(ck);
  check_sections(ck);
  check_torsion(ck);
  check_soil(ck);
  check_loads(ck);
  check_factors(ck);
  check_group(ck);
  check_cap(ck);
  if (ck.refused > kMaxMessages)
    emit(m, TO_REPORT | TO_RUNLOG,
         "     " + std::to_string(ck.refused - kMaxMessages) + " FURTHER INVALID VALUES");
  if (ck.refused > 0) status = ST_INPUTCHECK;
}

bool takes_generated_mphi(const Model& m, int k) {
  return m.INONLIN(k) != 0 && m.NLINT(k, 1) != kUserEI;
}

}  // namespace torva
