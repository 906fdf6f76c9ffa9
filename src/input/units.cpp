#include "input/units.h"

#include <string>

namespace torva {

namespace {
bool si(const Model& m) { return m.IUNITS == 2; }
}  // namespace

// Each conversion applies its factors one after the other (two divisions by 12, not one by
// 144), each step rounded as it is taken: the converted values, and the reports printed from
// them, depend on that order, so every conversion keeps it.
double TOIN(const Model& m, double x) { return si(m) ? x : x * 12.0; }
double TOPSI(const Model& m, double x) { return si(m) ? x : x / 12.0 / 12.0; }
double TOPCI(const Model& m, double x) { return si(m) ? x : x / 12.0 / 12.0 / 12.0; }
double TOM(const Model& m, double x) { return si(m) ? x / 1000.0 : x; }
double TOM2(const Model& m, double x) { return si(m) ? x / 1000.0 / 1000.0 : x; }
double TOM4(const Model& m, double x) {
  return si(m) ? x / 1000.0 / 1000.0 / 1000.0 / 1000.0 : x;
}
double TOFT(const Model& m, double x) { return si(m) ? x : x / 12.0; }
double TOPSF(const Model& m, double x) { return si(m) ? x : x * 12.0 * 12.0; }
double TOPCF(const Model& m, double x) { return si(m) ? x : x * 12.0 * 12.0 * 12.0; }
double TOMM(const Model& m, double x) { return si(m) ? x * 1000.0 : x; }
double TOMM2(const Model& m, double x) { return si(m) ? x * 1000.0 * 1000.0 : x; }
double TOMM4(const Model& m, double x) {
  return si(m) ? x * 1000.0 * 1000.0 * 1000.0 * 1000.0 : x;
}

void SETUNITLAB(Model& m, int code) {
  if (code < 0) {
    m.ULEN3 = "  M"; m.UFOR4 = "  KN"; m.ULEN2 = " M"; m.UFOR3 = " KN"; m.USTRS = " KPA ";
    m.UDEP3 = "  M"; m.USML3 = " MM"; m.UDEP2 = " M"; m.USML2 = "MM";
  } else if (code > 0) {
    m.ULEN3 = " IN"; m.UFOR4 = " LBS"; m.ULEN2 = "IN"; m.UFOR3 = "LBS"; m.USTRS = " PSI ";
    m.UDEP3 = " FT"; m.USML3 = " IN"; m.UDEP2 = "FT"; m.USML2 = "IN";
  } else {
    m.ULEN3 = "  L"; m.UFOR4 = "   F"; m.ULEN2 = " L"; m.UFOR3 = "  F"; m.USTRS = "F/L^2";
    m.UDEP3 = "  L"; m.USML3 = "  L"; m.UDEP2 = " L"; m.USML2 = " L";
  }
  m.USLASH = "/"; m.UDASH = "-"; m.UPOW = "**"; m.USQ = "2"; m.UCUBE = "3"; m.UFOUR = "4";
  m.URAD = "RAD"; m.UDEG = "DEG"; m.UCARET = "^"; m.UBLANK = " "; m.USTAR = "*";
}

namespace {

// A units line padded with blanks to 10 characters.
std::string pad10(std::string s) {
  s.resize(10, ' ');
  return s;
}

}  // namespace

void SETCOLLAB(Model& m, int dim) {
  const std::string len2(m.ULEN2.view()), for3(m.UFOR3.view()), dash(m.UDASH.view()),
      slash(m.USLASH.view()), pow(m.UPOW.view()), sq(m.USQ.view());
  const std::string u_disp = pad10("    " + len2);
  const std::string u_mom = pad10("  " + for3 + dash + len2);
  const std::string u_force = pad10("    " + for3);
  const std::string u_react = pad10("  " + for3 + slash + len2);
  const std::string u_stress = pad10(" " + for3 + slash + len2 + pow + sq);
  const std::string u_rig = pad10(" " + for3 + dash + len2 + pow + sq);
  const std::string blank(10, ' ');

  struct Col {
    const char* l1;
    const char* l2;
    const std::string* u;
  };
  if (dim == 3) {
    const Col cols[NNODEQ] = {
        {"  DISPL.  ", "   x-DIR  ", &u_disp},  {"  DISPL.  ", "   y-DIR  ", &u_disp},
        {"  DISPL.  ", "   z-DIR  ", &u_disp},  {"  DISPL.  ", "  y-z-DIR ", &u_disp},
        {"  DISPL.  ", "   X-DIR  ", &u_disp},  {"  DISPL.  ", "   Y-DIR  ", &u_disp},
        {"  DISPL.  ", "   Z-DIR  ", &u_disp},  {"  DISPL.  ", "  Y-Z-DIR ", &u_disp},
        {"  MOMENT  ", "   z-DIR  ", &u_mom},   {"  MOMENT  ", "   y-DIR  ", &u_mom},
        {"  MOMENT  ", "  y-z-DIR ", &u_mom},   {"   SHEAR  ", "   y-DIR  ", &u_force},
        {"   SHEAR  ", "   z-DIR  ", &u_force}, {"   SHEAR  ", "  y-z-DIR ", &u_force},
        {"SOIL REACT", "   y-DIR  ", &u_react}, {"SOIL REACT", "   z-DIR  ", &u_react},
        {"SOIL REACT", "  y-z-DIR ", &u_react}, {" AXIAL F. ", "   x-DIR  ", &u_force},
        {"   TOTAL  ", "  STRESS  ", &u_stress}, {"FLEX. RIG.", "   z-DIR  ", &u_rig},
        {"FLEX. RIG.", "   y-DIR  ", &u_rig},   {"DIST. LOAD", "   y-DIR  ", &u_react},
        {"DIST. LOAD", "   z-DIR  ", &u_react}, {" DEM./CAP.", "  MOMENT  ", &blank},
        {" DEM./CAP.", "   SHEAR  ", &blank}};
    for (int i = 0; i < NNODEQ; ++i) {
      m.CLAB1[i] = cols[i].l1;
      m.CLAB2[i] = cols[i].l2;
      m.CLAB3[i] = *cols[i].u;
    }
  } else {
    for (int i = 0; i < NNODEQ; ++i) {
      m.CLAB1[i] = blank;
      m.CLAB2[i] = blank;
      m.CLAB3[i] = blank;
    }
    const struct {
      int col;
      Col c;
    } cols2[] = {{1, {"  DISPL.  ", "   x-DIR  ", &u_disp}},  {2, {"  DISPL.  ", "   y-DIR  ", &u_disp}},
                 {5, {"  DISPL.  ", "   X-DIR  ", &u_disp}},  {6, {"  DISPL.  ", "   Y-DIR  ", &u_disp}},
                 {9, {"  BENDING ", "  MOMENT  ", &u_mom}},   {12, {"   SHEAR  ", "   FORCE  ", &u_force}},
                 {15, {"   SOIL   ", " REACTION ", &u_react}}, {18, {"   AXIAL  ", "   FORCE  ", &u_force}},
                 {19, {"   TOTAL  ", "  STRESS  ", &u_stress}}, {20, {" FLEXURAL ", " RIGIDITY ", &u_rig}},
                 {22, {"DISTRIBUT.", "   LOAD   ", &u_react}}, {24, {" DEM./CAP.", "  MOMENT  ", &blank}},
                 {25, {" DEM./CAP.", "   SHEAR  ", &blank}}};
    for (const auto& e : cols2) {
      m.CLAB1[e.col - 1] = e.c.l1;
      m.CLAB2[e.col - 1] = e.c.l2;
      m.CLAB3[e.col - 1] = *e.c.u;
    }
  }
  m.CAPX = "     x    ";
  m.CAPBLANK = blank;
  m.CAPXUNIT = "    " + std::string(m.UDEP2.view()) + "    ";
  m.CAPRULE = "**********";
  m.CAPPILE = " PILE ";
  m.CAPBLANK6 = "      ";
  m.CAPXLEN = " x(" + len2 + ")";
  m.CAPRULE6 = "******";
}

}  // namespace torva
