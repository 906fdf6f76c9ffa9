// Tables J1, J2 and K of the input echo.
//
// J1 and J2 print the modification factors along depth and the soil movement as read.
// Table K settles the group reduction factors: the user's factors (option 2), or factors
// estimated for the pile layout (options 1 and 3) with the direction of loading taken from
// load case 1 or from the defined movement. In 3-D the factors of the two directions are
// printed separately and then combined into the factors in use, weighted by the share of
// each direction in the load (or movement).
#include "echo/echo_jk.h"

#include <cmath>
#include <string>

#include "input/units.h"
#include "io/writers.h"
#include "soil_py/redfac.h"

namespace torva {

namespace {

void empty_lines(TextFile& f, int n) {
  for (int i = 0; i < n; ++i) f.nl();
}

std::string_view sign_text(bool negative) { return negative ? "(-)" : "(+)"; }

// Diameter of the first section of row 1's pile property; 0 when row 1 has none.
double row1_diameter(const Model& m) {
  const int t = m.PTYPE(1);
  return (m.NROW >= 1 && t >= 1 && t <= MAXPTYPE) ? m.SDIAM(t, 1) : 0.0;
}

void diameter_line(Model& m, bool converted) {
  TextFile& f = m.ECHO;
  f.nl();
  f.X(7).A("PILE DIAMETER = ");
  if (converted)
    f.F(TOMM(m, row1_diameter(m)), 10, 3).X(1).A(m.USML3.view()).nl();
  else
    f.F(row1_diameter(m), 10, 3).X(1).A(m.ULEN3.view()).nl();
}

// One factor table. dir: 0 in 2-D, 'Y' or 'Z' in 3-D; direction: the line under the
// title, empty for none.
void factor_table(Model& m, char dir, std::string_view direction,
                  const Arr1<double, MAXROWP>& pf, const Arr1<double, MAXROWP>& yf) {
  TextFile& f = m.ECHO;
  f.nl();
  f.X(7).A("REDUCTION FACTORS FOR CLOSELY-SPACED PILE GROUPS");
  if (dir == 'Y') f.X(1).A("ALONG Y-DIRECTION");
  if (dir == 'Z') f.X(1).A("ALONG Z-DIRECTION");
  f.nl();
  if (!direction.empty()) f.X(7).A(direction).nl();
  f.X(7).X(33).nl();
  f.X(7).A("     GROUP NO     P-FACTOR     Y-FACTOR        ").nl();
  f.nl();
  for (int g = 1; g <= m.NROW; ++g) {
    f.X(12).I(g, 5).X(5);
    WRTREAL(f, 12, 4, pf(g));
    WRTBLANK(f, 1);
    WRTREAL(f, 12, 4, yf(g));
    ENDLINE(f);
  }
}

void heading_k(Model& m) {
  empty_lines(m.ECHO, 3);
  m.ECHO.X(5).A("* TABLE K *   REDUCTION FACTORS        ").nl();
}

// In-use factors of a 3-D model from the two directions, weighted by wy and wz.
void combine_directions(Model& m, double wy, double wz) {
  const double r = std::sqrt(wy * wy + wz * wz);
  const double cy = wy / r, cz = wz / r;
  for (int g = 1; g <= m.NROW; ++g) {
    m.PMULT(g) = std::hypot(cy * m.PMULTY(g), cz * m.PMULTZ(g));
    m.YMULT(g) = std::hypot(cy * m.YMULTY(g), cz * m.YMULTZ(g));
  }
}

void table_k_3d(Model& m, const Vec6& R, int& status) {
  const int opt = m.IREDFAC;
  if (opt == 2) {
    heading_k(m);
    factor_table(m, 'Y', {}, m.PMULTY, m.YMULTY);
    factor_table(m, 'Z', {}, m.PMULTZ, m.YMULTZ);
    return;
  }
  if (opt != 1 && opt != 3) return;
  // Signs of the loading direction along Y and Z.
  const bool neg_y = opt == 1 ? R(2) < 0.0 : m.REDMOVY < 0.0;
  const bool neg_z = opt == 1 ? R(3) < 0.0 : m.REDMOVZ < 0.0;
  REDFACY(m, neg_y ? -1.0 : 1.0, status);
  if (status != 0) return;
  REDFACZ(m, neg_z ? -1.0 : 1.0, status);
  if (status != 0) return;
  heading_k(m);
  std::string line_y, line_z;
  if (opt == 1) {
    if (m.IAVGDIA == 1) {
      m.ECHO.nl();
      m.ECHO.X(7).A("AVERAGE DIAMETER IS USED TO GET RATIO S/B").nl();
    } else {
      diameter_line(m, true);
    }
    line_y = std::string("ESTIMATED ASSUMING MOVEMENT IN") + " THE DIRECTION OF Y-FORCE " +
             std::string(sign_text(neg_y));
    line_z = std::string("ESTIMATED ASSUMING MOVEMENT IN") + " THE DIRECTION OF Z-FORCE " +
             std::string(sign_text(neg_z));
  } else {
    if (m.IAVGDIA == 0) diameter_line(m, false);
    line_y = std::string("ESTIMATED BASED ON DEFINED MOVEMENT IN") + " THE Y-DIRECTION OF " +
             std::string(sign_text(neg_y));
    line_z = std::string("ESTIMATED BASED ON DEFINED MOVEMENT IN") + " THE Z-DIRECTION OF " +
             std::string(sign_text(neg_z));
  }
  factor_table(m, 'Y', line_y, m.PMULT, m.YMULT);
  factor_table(m, 'Z', line_z, m.PMULTZ, m.YMULTZ);
  for (int g = 1; g <= m.NROW; ++g) {
    m.PMULTY(g) = m.PMULT(g);
    m.YMULTY(g) = m.YMULT(g);
  }
  // Weights: the horizontal load (or movement) along each direction; for a load case
  // without horizontal force the moments that turn about the other axis; else equal.
  double wy, wz;
  if (opt == 1) {
    wy = std::abs(R(2));
    wz = std::abs(R(3));
    if (wy == 0.0 && wz == 0.0) {
      wy = std::abs(R(6));
      wz = std::abs(R(5));
    }
  } else {
    wy = std::abs(m.REDMOVY);
    wz = std::abs(m.REDMOVZ);
  }
  if (wy == 0.0 && wz == 0.0) wy = wz = 1.0;
  combine_directions(m, wy, wz);
}

void table_k_2d(Model& m, const Vec6& R, int& status) {
  const int opt = m.IREDFAC;
  if (opt == 0) return;
  std::string line;
  if (opt == 1 || opt == 3) {
    const bool neg = opt == 1 ? R(2) < 0.0 : m.REDMOVY < 0.0;
    REDFACY(m, neg ? -1.0 : 1.0, status);
    if (status != 0) return;
    line = opt == 1 ? std::string("ESTIMATED ASSUMING MOVEMENT IN") +
                          " THE DIRECTION OF Y-FORCE " + std::string(sign_text(neg))
                    : std::string("ESTIMATED BASED ON DEFINED MOVEMENT IN") +
                          " THE Y-DIRECTION OF " + std::string(sign_text(neg));
  }
  heading_k(m);
  if ((opt == 1 || opt == 3) && m.IAVGDIA == 0) diameter_line(m, true);
  factor_table(m, 0, line, m.PMULT, m.YMULT);
}

}  // namespace

void ECHOJ1(Model& m) {
  if (m.IPYMOD != 1) return;
  TextFile& f = m.ECHO;
  empty_lines(f, 3);
  f.X(5).A("* TABLE J1 *  REDUCTION FACTORS ALONG DEPTH  ").nl();
  if (m.NPYMOD < 1) return;
  f.nl();
  f.X(7).A("NUM OF SETS :").I(m.NPYMOD, 3).nl();
  for (int j = 1; j <= m.NPYMOD; ++j) {
    f.nl();
    f.X(8).A("  SET").I(j, 3).X(10).A("NUM OF POINTS").I(m.NPTMOD(j), 3).nl();
    f.nl();
    f.X(12).A("     DEPTH,").A(m.UDEP2.view()).X(10).A("P-FACTOR   ").X(10).A("Y-FACTOR   ").nl();
    for (int k = 1; k <= m.NPTMOD(j); ++k) {
      f.X(11);
      WRTREAL(f, 12, 5, TOFT(m, m.PMDEP(j, k)));
      WRTBLANK(f, 9);
      WRTREAL(f, 12, 5, m.PMPF(j, k));
      WRTBLANK(f, 9);
      WRTREAL(f, 12, 5, m.PMYF(j, k));
      ENDLINE(f);
    }
  }
}

void ECHOJ2(Model& m) {
  if (m.ISMOVE != 1) return;
  TextFile& f = m.ECHO;
  const bool three = m.NDIM != 2;
  empty_lines(f, 3);
  f.X(5).A("* TABLE J2 *  SOIL MOVEMENT DATA       ").nl();
  f.X(12).A("POINT").X(9).A("DEPTH").X(13).A("MOVE Y-DIR");
  if (three) f.X(13).A("MOVE Z-DIR");
  f.nl();
  f.X(12).A("     ").X(11).A(m.UDEP2.view()).X(18).A(m.ULEN2.view());
  if (three) f.X(18).A(m.ULEN2.view());
  f.nl();
  for (int k = 1; k <= m.NSMPT && k <= MAXSMPT; ++k) {
    f.X(10).I(k, 5).X(11);
    WRTREAL(f, 12, 5, TOFT(m, m.SMDEP(k)));
    WRTBLANK(f, 9);
    WRTREAL(f, 12, 5, m.SMY(k));
    if (three) {
      WRTBLANK(f, 9);
      WRTREAL(f, 12, 5, m.SMZ(k));
    }
    ENDLINE(f);
  }
}

void ECHOK(Model& m, const Vec6& R, int& status) {
  if (m.NDIM == 2)
    table_k_2d(m, R, status);
  else
    table_k_3d(m, R, status);
}

void ECHOJK(Model& m, int& status) {
  ECHOJ1(m);
  ECHOJ2(m);
  Vec6 R;
  R.fill(0.0);
  if (m.IREDFAC != 0 && m.NLC >= 1) LOADORIG(m, 1, R);
  ECHOK(m, R, status);
}

}  // namespace torva
