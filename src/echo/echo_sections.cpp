// The cross-section echo of Table E: one block per cross section of the input, with the
// material and reinforcement data of a nonlinear section or the geometry and moduli of an
// elastic one (top and bottom values for a tapered section). Print only.
#include <string>

#include "echo/echo.h"
#include "input/units.h"
#include "io/writers.h"

namespace torva {

namespace {

enum Kind { LENGTH, AREA, STRESS, FORCE };

// Elastic geometry items by shape: (name, SPROPI column of the top value).
struct Geo { const char* name; int col; };
constexpr Geo general[] = {{"EQUIVALENT DIAMETER", 1}};
constexpr Geo circular[] = {{"EXTERNAL DIAMETER", 1}, {"INTERNAL DIAMETER", 2}};
constexpr Geo rectangular[] = {{"EQUIVALENT DIAMETER", 1}, {"EXTERNAL WIDTH", 3},
                               {"EXTERNAL DEPTH", 4},      {"INTERNAL WIDTH", 5},
                               {"INTERNAL DEPTH", 6}};
constexpr Geo flanged_shape[] = {{"EQUIVALENT DIAMETER", 1}, {"EXTERNAL WIDTH", 3},
                                 {"EXTERNAL DEPTH", 4},      {"FLANGE THICKNESS", 7},
                                 {"WEB THICKNESS", 8}};

class SectionEcho {
 public:
  SectionEcho(Model& m, int k) : m_(m), f_(m.ECHO), k_(k) {}

  void print() {
    f_.nl().X(5).A(" CROSS SECTION       : ").I(k_, 5).nl();
    f_.X(5).A(" SECTION NAME        : ").A(m_.SNAME(k_).view().substr(0, 32), 32).nl();
    if (m_.INONLIN(k_) != 0) {
      f_.nl().X(5).A(" TYPE                : ").A(" NONLINEAR").nl();
      nonlinear();
    } else {
      f_.nl().X(5).A(" TYPE                : ").A(" ELASTIC").nl();
      if (m_.ITAPERI(k_) > 0)
        elastic_tapered();
      else
        elastic();
    }
  }

 private:
  Model& m_;
  TextFile& f_;
  int k_;

  double nl(int c) const { return m_.NLVAL(k_, c); }
  double sp(int c) const { return m_.SPROPI(k_, c); }
  int ni(int c) const { return m_.NLINT(k_, c); }

  void type_line(std::string_view text) { f_.X(5).A(" CROSS SECTION TYPE  :").A(text).nl(); }
  void name(std::string_view n) {
    std::string s(n);
    s.resize(20, ' ');
    f_.X(5).A(" ").A(s).A(" : ");
  }
  void stress_label() {
    f_.A(m_.UFOR3.view(), 3).A(m_.USLASH.view(), 1).A(m_.ULEN2.view(), 2);
    f_.A(m_.UPOW.view(), 2).A(m_.USQ.view(), 1);
  }
  void item(std::string_view n, Kind kind, double v) {
    name(n);
    switch (kind) {
      case LENGTH:
        WRTREAL(f_, 13, 5, TOMM(m_, v));
        f_.A(" ").A(m_.USML2.view(), 2).nl();
        break;
      case AREA:
        WRTREAL(f_, 13, 5, TOMM2(m_, v));
        f_.A(" ").A(m_.USML2.view(), 2).A(m_.UPOW.view(), 2).A(m_.USQ.view(), 1).nl();
        break;
      case STRESS:
        WRTREAL(f_, 13, 5, v);
        f_.A(" ");
        stress_label();
        f_.nl();
        break;
      case FORCE:
        WRTREAL(f_, 13, 5, v);
        f_.A(" ").A(m_.UFOR3.view(), 3).nl();
        break;
    }
  }
  void count(std::string_view n, int v) {
    name(n);
    WRTINT(f_, 13, v);
    ENDLINE(f_);
  }

  void steel_strengths() {
    item("ES STEEL", STRESS, nl(13));
    item("FY STEEL", STRESS, nl(14));
  }
  void flanged(bool equivalent_from_props) {
    if (equivalent_from_props) item("EQUIVALENT DIAMETER", LENGTH, sp(1));
    item("EXTERNAL WIDTH", LENGTH, nl(1));
    item("EXTERNAL DEPTH", LENGTH, nl(2));
    item("FLANGE THICKNESS", LENGTH, nl(7));
    item("WEB THICKNESS", LENGTH, nl(6));
  }
  void pipe() {
    item("DIAMETER STEEL", LENGTH, nl(10));
    item("THICKNESS STEEL", LENGTH, nl(11));
  }
  void aisc_name() {
    f_.nl().X(5).A(" AISC SECTION NAME   : ").A(m_.SNAME3(k_).view().substr(0, 32), 32).nl();
  }
  // Pipe shapes have codes above 11.
  void aisc_steel() {
    if (ni(4) > 11)
      pipe();
    else
      flanged(false);
  }
  void concrete(bool casing_and_steel) {
    item("CONCRETE FC", STRESS, nl(12));
    if (casing_and_steel) {
      if (nl(8) > 0.0 && nl(9) > 0.0) {
        item("DIAMETER CASING", LENGTH, nl(8));
        item("THICKNESS CASING", LENGTH, nl(9));
        item("ES CASING", STRESS, nl(13));
        item("FY CASING", STRESS, nl(14));
      }
      const int opt = ni(2);
      if (opt == 1) pipe();
      if (opt == 2) flanged(false);
      if (opt == 3) {
        aisc_name();
        aisc_steel();
      }
      if (opt > 0) steel_strengths();
    }
    if (ni(10) >= 1) {
      count("NUMBER REBARS", ni(10));
      item("DIAMETER REINF.", LENGTH, nl(18));
      item("AREA REINFORCEMENT", AREA, nl(17));
      item("ES REINFORCEMENT", STRESS, nl(20));
      item("FY REINFORCEMENT", STRESS, nl(21));
    }
    item("EQ. YOUNG MODULUS", STRESS, sp(17));
  }
  void prestressed() {
    item("CONCRETE FC", STRESS, nl(12));
    if (ni(22) >= 1) {
      count("NUMBER STRANDS", ni(22));
      item("DIAMETER STRAND", LENGTH, nl(26));
      item("AREA STRAND", AREA, nl(27));
      item("FU STRAND", STRESS, nl(29));
      item("INITIAL PRESS. FORCE", FORCE, nl(30));
    }
    item("EQ. YOUNG MODULUS", STRESS, sp(17));
  }

  void nonlinear() {
    switch (ni(1)) {
      case 1:
        type_line(" RECTANGULAR CONCRETE PILE  ");
        item("EQUIVALENT DIAMETER", LENGTH, sp(1));
        item("EXTERNAL WIDTH", LENGTH, nl(1));
        item("EXTERNAL DEPTH", LENGTH, nl(2));
        concrete(false);
        break;
      case 2:
        type_line(" ROUND CONCRETE SHAFT       ");
        item("EXTERNAL DIAMETER", LENGTH, nl(3));
        concrete(false);
        break;
      case 3:
        type_line(" ROUND CONC. SHAFT, CASING (AND STEEL SECTION)");
        item("CONCRETE DIAMETER", LENGTH, nl(3));
        concrete(true);
        break;
      case 4:
        type_line(" ROUND PRESTRESSED PILE     ");
        item("EXTERNAL DIAMETER", LENGTH, nl(3));
        item("VOID DIAMETER", LENGTH, nl(4));
        prestressed();
        break;
      case 5:
        type_line(" SQUARE PRESTRESSED PILE    ");
        item("EQUIVALENT DIAMETER", LENGTH, sp(1));
        item("EXTERNAL WIDTH", LENGTH, nl(1));
        item("CORNER CHAMFER", LENGTH, nl(5));
        item("VOID DIAMETER", LENGTH, nl(4));
        prestressed();
        break;
      case 6:
        type_line(" OCTOGONAL PRESTRESSED PILE ");
        item("EQUIVALENT DIAMETER", LENGTH, sp(1));
        item("EXTERNAL WIDTH", LENGTH, nl(1));
        item("VOID DIAMETER", LENGTH, nl(4));
        prestressed();
        break;
      case 7:
        type_line(" STEEL PIPE PILE            ");
        pipe();
        steel_strengths();
        break;
      case 8:
        type_line(ni(3) != 0 ? " STEEL H SECTION PILE       " : " STEEL I SECTION PILE       ");
        flanged(true);
        steel_strengths();
        break;
      case 9:
        type_line(" STEEL AISC SECTION PILE    ");
        aisc_name();
        if (ni(30) == 0) item("EQUIVALENT DIAMETER", LENGTH, sp(1));
        aisc_steel();
        steel_strengths();
        break;
      case 10:
        type_line(" USER DEFINED EI            ");
        item("EQUIVALENT DIAMETER", LENGTH, sp(1));
        // The modulus matters only while bending is elastic: without a z-plane set.
        if (ni(28) == 0) item("YOUNG MODULUS", STRESS, sp(17));
        break;
      default:
        type_line(" UNKNOWN TYPE");
        break;
    }
  }


  void elastic() {
    const int shape = m_.ISHAPEI(k_);
    auto items = [&](const Geo* g, int n) {
      for (int i = 0; i < n; ++i) item(g[i].name, LENGTH, sp(g[i].col));
    };
    switch (shape) {
      case 0: type_line(" GENERAL SECTION  "); items(general, 1); break;
      case 1: type_line(" CIRCULAR PIPE    "); items(circular, 2); break;
      case 2: type_line(" RECTANGULAR PIPE "); items(rectangular, 5); break;
      case 3: type_line(" I SECTION        "); items(flanged_shape, 5); break;
      case 4: type_line(" H SECTION        "); items(flanged_shape, 5); break;
      case 5: {
        const int fam = m_.IAISCFAM(k_);
        type_line(fam == 0    ? " AISC SECTION (W) "
                  : fam == 1  ? " AISC SECTION (M) "
                  : fam == 2  ? " AISC SECTION (S) "
                  : fam == 3  ? " AISC SECTION (HP)"
                  : fam == 11 ? " AISC SECTION (HSS) "
                  : fam == 12 ? " AISC SECTION (PIPE)"
                              : " AISC SECTION       ");
        f_.nl().X(5).A(" AISC SECTION NAME   : ").A(m_.SNAME2(k_).view().substr(0, 32), 32).nl();
        item(m_.IEXTDIA(k_) != 0 ? "EXTERNAL DIAMETER" : "EQUIVALENT DIAMETER", LENGTH, sp(1));
        if (fam >= 12) {
          item("INTERNAL DIAMETER", LENGTH, sp(2));
          item("THICKNESS", LENGTH, sp(37));
        } else {
          items(flanged_shape + 1, 4);
        }
        break;
      }
      default: break;
    }
    item("YOUNG MODULUS", STRESS, sp(17));
    if (m_.NDIM == 3 && shape != 0) item("SHEAR MODULUS", STRESS, sp(9));
  }

  void two(std::string_view n, double top, double bottom, bool stress) {
    name(n);
    if (stress) {
      WRTREAL(f_, 13, 5, top);
      WRTBLANK(f_, 1);
      stress_label();
      WRTREAL(f_, 13, 5, bottom);
      f_.A(" ");
      stress_label();
    } else {
      WRTREAL(f_, 13, 5, TOMM(m_, top));
      WRTBLANK(f_, 1);
      WRTA2(f_, m_.USML2.view());
      WRTBLANK(f_, 7);
      WRTREAL(f_, 13, 5, TOMM(m_, bottom));
      f_.A(" ").A(m_.USML2.view(), 2);
    }
    f_.nl();
  }

  void elastic_tapered() {
    const int shape = m_.ISHAPEI(k_);
    static const char* texts[] = {" GENERAL SECTION  ", " CIRCULAR PIPE    ",
                                  " RECTANGULAR PIPE ", " I SECTION        "};
    type_line(shape >= 0 && shape <= 3 ? texts[shape] : " H SECTION        ");
    f_.X(5).A(" TAPERED SECTION       ").A("         TOP                  BOTTOM").nl();
    const Geo* g = shape == 0 ? general : shape == 1 ? circular : shape == 2 ? rectangular
                                                                            : flanged_shape;
    const int n = shape == 0 ? 1 : shape == 1 ? 2 : 5;
    for (int i = 0; i < n; ++i) two(g[i].name, sp(g[i].col), sp(g[i].col + 18), false);
    two("YOUNG MODULUS", sp(17), sp(35), true);
    if (m_.NDIM == 3 && shape != 0) two("SHEAR MODULUS", sp(9), sp(27), true);
  }
};

}  // namespace

void ECHOSECTIONS(Model& m) {
  m.ECHO.nl().X(5).A("* PILE CROSS SECTIONS *").nl();
  for (int k = 1; k <= m.NSECIN; ++k) SectionEcho(m, k).print();
}

}  // namespace torva
